vorna_add_test(vorna_analysis_tests COMMA_LOCALE
    SOURCES analysis/RoiStatisticsTest.cpp analysis/RoiOperationsTest.cpp
            analysis/PeakSearchTest.cpp analysis/CalibrationTest.cpp
            analysis/ReportsTest.cpp
    LIBS vorna_core)
