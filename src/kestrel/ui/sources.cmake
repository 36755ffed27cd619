# The Qt dialog of the Kestrel acquisition setup; its rules live in AcqSetupForm (vorna_acq).
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_library(vorna_kestrel_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/CAcqDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CAcqDlg.h
)
set_target_properties(vorna_kestrel_ui PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_kestrel_ui PUBLIC vorna_acq vorna_appcore Qt6::Widgets)
target_include_directories(vorna_kestrel_ui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(vorna_kestrel_ui PUBLIC QT_NO_KEYWORDS)
vorna_warnings(vorna_kestrel_ui)
