# The plot model: view, outlines, axis, cursor, keyboard, mouse and navigation rules.
target_sources(vorna_display PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CPlot.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CPlotInput.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CPlotNavigation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotAxis.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotDisplaySink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotKeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotOutline.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotRaster.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotScene.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectraListPlotPort.cpp
)
