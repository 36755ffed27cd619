vorna_add_test(vorna_dpp_tests COMMA_LOCALE
    SOURCES dpp/DppStatusRecordTest.cpp dpp/DppConfigImageTest.cpp dpp/DppModelsTest.cpp
            dpp/DppConfigStringsTest.cpp dpp/DppConfigTextTest.cpp dpp/DppConfigFileTest.cpp
            dpp/DppFieldConversionsTest.cpp
    LIBS vorna_dpp)
