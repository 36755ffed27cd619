# The acquisition setup dialog on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_executable(kestrel_ui_tests kestrel_ui/CAcqDlgTest.cpp)
set_target_properties(kestrel_ui_tests PROPERTIES AUTOMOC ON)
target_link_libraries(kestrel_ui_tests PRIVATE vorna_kestrel_ui Qt6::Test)
vorna_warnings(kestrel_ui_tests)
add_test(NAME kestrel_ui_tests COMMAND kestrel_ui_tests)
set_tests_properties(kestrel_ui_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 60)

# Pictures of the dialog in both acquisition modes, for looking at the layout without a display.
add_executable(kestrel_ui_snapshot kestrel_ui/CAcqDlgSnapshot.cpp)
target_link_libraries(kestrel_ui_snapshot PRIVATE vorna_kestrel_ui)
vorna_warnings(kestrel_ui_snapshot)
