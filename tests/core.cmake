vorna_add_test(vorna_core_tests COMMA_LOCALE
    SOURCES core/TablesTest.cpp core/SpectrumTest.cpp core/SpectraListTest.cpp core/NumberTextTest.cpp core/SmoothingTest.cpp core/IniFileTest.cpp core/AtomicFileTest.cpp
    LIBS vorna_core)
