# Printing, copying and capture.
vorna_add_test(vorna_output_core_tests SOURCES output/OutputCoreTest.cpp LIBS vorna_output_core)
