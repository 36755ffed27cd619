vorna_add_test(vorna_analysis_tests COMMA_LOCALE
    SOURCES analysis/RoiStatisticsTest.cpp analysis/RoiOperationsTest.cpp
            analysis/PeakSearchTest.cpp analysis/CalibrationTest.cpp
            analysis/ReportsTest.cpp analysis/RoiDefineEditorTest.cpp
            analysis/PeakSearchSessionTest.cpp
    LIBS vorna_core)

# The analysis commands of vorna-cli, run as a separate process.
find_package(nlohmann_json 3 REQUIRED)
vorna_add_test(vorna_cli_analysis_tests COMMA_LOCALE
    SOURCES analysis/CliAnalysisTest.cpp
    LIBS vorna_core nlohmann_json::nlohmann_json)
target_compile_definitions(vorna_cli_analysis_tests PRIVATE
    VORNA_CLI_PATH="$<TARGET_FILE:vorna-cli>")
add_dependencies(vorna_cli_analysis_tests vorna-cli)
