vorna_add_bench(vorna_plot_bench SOURCES PlotBench.cpp LIBS vorna_display)
if(VORNA_BUILD_GUI)
    vorna_add_bench(vorna_plot_paint_bench SOURCES PlotPaintBench.cpp QtBenchMain.cpp LIBS vorna_display_ui)
endif()
