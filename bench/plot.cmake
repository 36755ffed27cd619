vorna_add_bench(vorna_plot_bench SOURCES PlotBench.cpp LIBS vorna_display)
