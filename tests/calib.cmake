# The calibration and peak search windows.
vorna_widget_test(vorna_calib_tests SOURCES app/CalibWindowsTest.cpp)
