# Widget tests of the calibration and peak search windows: offscreen, modal dialogs answered from
# timers.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
add_executable(vorna_calib_tests app/CalibWindowsTest.cpp app/ModalDriver.cpp app/ModalDriver.h)
set_target_properties(vorna_calib_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_calib_tests PRIVATE vorna_app Qt6::Test)
target_include_directories(vorna_calib_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(vorna_calib_tests PRIVATE VORNA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
vorna_warnings(vorna_calib_tests)
add_test(NAME vorna_calib_tests COMMAND vorna_calib_tests)
set_tests_properties(vorna_calib_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VORNA_SIMULATE=" TIMEOUT 120)
