# The ROI, report and library windows: offscreen, modal dialogs answered from timers.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
add_executable(vorna_roi_window_tests roi/RoiWindowsTest.cpp app/ModalDriver.cpp app/ModalDriver.h)
set_target_properties(vorna_roi_window_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_roi_window_tests PRIVATE vorna_app Qt6::Test)
target_include_directories(vorna_roi_window_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/app)
target_compile_definitions(vorna_roi_window_tests PRIVATE
    VORNA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
vorna_warnings(vorna_roi_window_tests)
add_test(NAME vorna_roi_window_tests COMMAND vorna_roi_window_tests)
set_tests_properties(vorna_roi_window_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VORNA_SIMULATE=" TIMEOUT 120)
