vorna_add_test(vorna_appcore_tests
    SOURCES appcore/CommandTableTest.cpp appcore/TimeQueueTest.cpp appcore/UpdateThreadTest.cpp
            appcore/ShellTextsTest.cpp appcore/ProgramStateTest.cpp appcore/ListTableTest.cpp
            appcore/SpectrumPropertiesTest.cpp appcore/DppLiveTest.cpp
            appcore/FpCommandTest.cpp
    LIBS vorna_appcore)
