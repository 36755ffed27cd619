# The Qt-free half of printing, copying and capture: page geometry, list paging, bitmap bytes and
# the texts and decisions of the output commands.
add_library(vorna_output_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/BmpFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ListPrintLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OutputTexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PagePrintLayout.cpp
)
target_include_directories(vorna_output_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(vorna_output_core PUBLIC vorna_common)
vorna_warnings(vorna_output_core)
