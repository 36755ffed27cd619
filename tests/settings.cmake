vorna_add_test(vorna_settings_tests COMMA_LOCALE
    SOURCES settings/ProfileTest.cpp settings/ProfileChecksTest.cpp settings/DataFoldersTest.cpp settings/PreferencesModelTest.cpp
            settings/SettingsKeyTest.cpp
            settings/SettingsIniReaderTest.cpp
    LIBS vorna_settings)

if(TARGET vorna_platform_qt)
    # Points HOME and XDG_CONFIG_HOME at a private folder before QSettings first looks at them.
    vorna_add_test(vorna_settings_qt_tests
        SOURCES settings/QSettingsStoreTest.cpp
        LIBS vorna_platform_qt)
endif()
