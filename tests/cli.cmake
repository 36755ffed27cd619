# vorna-cli run as a separate process, as scripts use it.
find_package(nlohmann_json 3 REQUIRED)
vorna_add_test(vorna_cli_spectrum_tests COMMA_LOCALE
    SOURCES cli/CliSpectrumTest.cpp
    LIBS nlohmann_json::nlohmann_json)
target_compile_definitions(vorna_cli_spectrum_tests PRIVATE
    VORNA_CLI_PATH="$<TARGET_FILE:vorna-cli>")
add_dependencies(vorna_cli_spectrum_tests vorna-cli)
