vorna_add_fuzzer(fuzz_ini LIBS vorna_settings)
