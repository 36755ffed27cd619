# Widget tests of the spectrum properties dialogs, the notes and the Spectra dialog.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
add_executable(vorna_props_tests props/PropertiesDialogsTest.cpp app/ModalDriver.cpp
    app/ModalDriver.h)
set_target_properties(vorna_props_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_props_tests PRIVATE vorna_app Qt6::Test)
target_include_directories(vorna_props_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/app)
target_compile_definitions(vorna_props_tests PRIVATE
    VORNA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
vorna_warnings(vorna_props_tests)
add_test(NAME vorna_props_tests COMMAND vorna_props_tests)
set_tests_properties(vorna_props_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VORNA_SIMULATE=" TIMEOUT 120)
