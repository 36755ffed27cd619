# Core library of the plot (no Qt), and its Qt widgets when the GUI is built.
add_library(vorna_display STATIC)
include(${CMAKE_CURRENT_LIST_DIR}/sources.cmake)
target_link_libraries(vorna_display PUBLIC vorna_analysis)
vorna_warnings(vorna_display)

if(VORNA_BUILD_GUI)
    include(${CMAKE_CURRENT_LIST_DIR}/ui/sources.cmake)
endif()
