vorna_add_fuzzer(fuzz_library LIBS vorna_core)
