vorna_add_bench(vorna_dpp_read_bench SOURCES DppReadBench.cpp LIBS vorna_dpp)
