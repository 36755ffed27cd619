# Start-up of the program's window, offscreen, beside showing a bare main window.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
vorna_add_bench(vorna_app_bench SOURCES AppStartupBench.cpp QtBenchMain.cpp LIBS vorna_app)
