# The ROI, report and library windows.
vorna_widget_test(vorna_roi_window_tests SOURCES roi/RoiWindowsTest.cpp)
