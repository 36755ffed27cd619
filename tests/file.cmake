vorna_add_test(vorna_file_tests COMMA_LOCALE
    SOURCES file/SpectrumFormatTest.cpp file/SpectrumFileOpsTest.cpp
    LIBS vorna_core)
