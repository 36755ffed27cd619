# Widget tests: the real plot and navigation panes on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_executable(display_ui_tests display/PlotWidgetTest.cpp)
set_target_properties(display_ui_tests PROPERTIES AUTOMOC ON)
target_include_directories(display_ui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(display_ui_tests PRIVATE vorna_display_ui Qt6::Test)
vorna_warnings(display_ui_tests)
add_test(NAME display_ui_tests COMMAND display_ui_tests)
set_tests_properties(display_ui_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 120)

# Picture of the panes with spectrum files open, for looking at the drawing without a display.
add_executable(display_snapshot display/PlotSnapshot.cpp)
target_include_directories(display_snapshot PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(display_snapshot PRIVATE vorna_display_ui)
vorna_warnings(display_snapshot)

# The plot's own outline drawing against the toolkit's painter, and column-wise redraws.
add_executable(display_raster_tests display/PlotRasterTest.cpp)
set_target_properties(display_raster_tests PROPERTIES AUTOMOC ON)
target_include_directories(display_raster_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(display_raster_tests PRIVATE vorna_display_ui Qt6::Test)
vorna_warnings(display_raster_tests)
add_test(NAME display_raster_tests COMMAND display_raster_tests)
set_tests_properties(display_raster_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 120)
