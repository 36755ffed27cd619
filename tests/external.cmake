vorna_add_test(vorna_external_tests
    SOURCES external/CompanionTextTest.cpp external/CompanionLauncherTest.cpp
    LIBS vorna_external)
