vorna_add_test(vorna_expr_tests COMMA_LOCALE
    SOURCES expr/ExpressionCompileTest.cpp expr/ExpressionEvaluateTest.cpp
            expr/ExpressionDefineTest.cpp
    LIBS vorna_core)
