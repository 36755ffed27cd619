vorna_add_bench(vorna_dpp_read_bench SOURCES DppReadBench.cpp LIBS vorna_dpp)
vorna_add_bench(vorna_dpp_live_cycle_bench SOURCES DppLiveCycleBench.cpp
    LIBS vorna_appcore vorna_display)
