# Qt dialogs of the DPP link: device selection at connect, the update notice at startup, and the
# property sheet with its six pages, and the oscilloscope.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_library(vorna_dppui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/CDppSelectDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CDppSelectDlg.h
    ${CMAKE_CURRENT_LIST_DIR}/CDppUpdateNoticeDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CDppUpdateNoticeDlg.h
    ${CMAKE_CURRENT_LIST_DIR}/CDppPropertySheet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CDppPropertySheet.h
    ${CMAKE_CURRENT_LIST_DIR}/COscilloscopeDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/COscilloscopeDlg.h
    ${CMAKE_CURRENT_LIST_DIR}/CPropDppSignalPages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppNumberField.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppNumberField.h
)
set_target_properties(vorna_dppui PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_dppui PUBLIC vorna_dpp Qt6::Widgets)
target_include_directories(vorna_dppui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(vorna_dppui PUBLIC QT_NO_KEYWORDS)
vorna_warnings(vorna_dppui)
