# The spectrum properties dialogs, the notes and the Spectra dialog.
vorna_widget_test(vorna_props_tests SOURCES props/PropertiesDialogsTest.cpp)
