vorna_add_bench(vorna_expr_bench SOURCES ExpressionBench.cpp LIBS vorna_core)
