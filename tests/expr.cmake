vorna_add_test(vorna_expr_tests COMMA_LOCALE
    SOURCES expr/ExpressionCompileTest.cpp expr/ExpressionEvaluateTest.cpp
            expr/ExpressionDefineTest.cpp
    LIBS vorna_core)

# vorna-cli expr and smooth as a separate process.
find_package(nlohmann_json 3 REQUIRED)
vorna_add_test(vorna_cli_expr_tests COMMA_LOCALE
    SOURCES expr/CliExpressionTest.cpp
    LIBS nlohmann_json::nlohmann_json)
target_compile_definitions(vorna_cli_expr_tests PRIVATE VORNA_CLI_PATH="$<TARGET_FILE:vorna-cli>")
add_dependencies(vorna_cli_expr_tests vorna-cli)
