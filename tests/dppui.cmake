# The DPP dialogs on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_executable(dppui_tests dppui/DppDialogsTest.cpp)
set_target_properties(dppui_tests PROPERTIES AUTOMOC ON)
target_link_libraries(dppui_tests PRIVATE vorna_dppui Qt6::Test)
vorna_warnings(dppui_tests)
add_test(NAME dppui_tests COMMAND dppui_tests)
set_tests_properties(dppui_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 60)

# Pictures of both dialogs, for looking at the layout without a display.
add_executable(dppui_snapshot dppui/DppDialogsSnapshot.cpp)
target_link_libraries(dppui_snapshot PRIVATE vorna_dppui)
vorna_warnings(dppui_snapshot)
