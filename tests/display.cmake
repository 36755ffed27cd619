vorna_add_test(display_tests
    SOURCES display/PlotGeometryTest.cpp display/PlotModelTest.cpp
    LIBS vorna_display)

if(VORNA_BUILD_GUI)
    include(display_ui.cmake)
endif()
