vorna_add_bench(vorna_stats_bench SOURCES StatsBench.cpp LIBS vorna_core)
