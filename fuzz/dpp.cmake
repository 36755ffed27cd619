vorna_add_fuzzer(fuzz_dpp_config_file LIBS vorna_dpp)
vorna_add_fuzzer(fuzz_dpp_status LIBS vorna_dpp)
if(VORNA_BUILD_FUZZ)
    # Coverage feedback from the decoders themselves, not only from the entry points.
    target_compile_options(vorna_dpp PRIVATE -fsanitize=fuzzer-no-link)
endif()
