# Qt widgets of the plot pane and the navigation pane.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_library(vorna_display_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/NavigationPane.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NavigationPane.h
    ${CMAKE_CURRENT_LIST_DIR}/OutlinePainter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OutlinePainter.h
    ${CMAKE_CURRENT_LIST_DIR}/PlotCanvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotCanvas.h
    ${CMAKE_CURRENT_LIST_DIR}/PlotWidget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotWidget.h
    ${CMAKE_CURRENT_LIST_DIR}/QtPlotSupport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtRepeatScheduler.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtRepeatScheduler.h
    ${CMAKE_CURRENT_LIST_DIR}/ZoomArrowButton.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ZoomArrowButton.h
)
set_target_properties(vorna_display_ui PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_display_ui PUBLIC vorna_display Qt6::Widgets)
# "slots" names a member of the spectrum environment.
target_compile_definitions(vorna_display_ui PUBLIC QT_NO_KEYWORDS)
vorna_warnings(vorna_display_ui)
