# Pekto is tested as an outside program uses it: loaded with dlopen, called by both names.
vorna_add_test(pekto_tests SOURCES library/PektoTest.cpp LIBS ${CMAKE_DL_LIBS})
target_compile_definitions(pekto_tests PRIVATE PEKTO_LIBRARY_PATH="$<TARGET_FILE:pekto>")
add_dependencies(pekto_tests pekto)

if(TARGET pekto_dll)
    get_target_property(_pekto_dll pekto_dll PEKTO_DLL_PATH)
    get_target_property(_pekto_objdump pekto_dll PEKTO_OBJDUMP)
    add_test(NAME pekto_dll_exports
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/library/check_pekto_dll.sh
                     ${_pekto_objdump} ${_pekto_dll})
endif()

vorna_add_test(vorna_library_tests COMMA_LOCALE
    SOURCES library/ElementLibraryTest.cpp library/DataLogTest.cpp
    LIBS vorna_core)

# The command-line tool's library and log commands, run as a separate program.
find_package(nlohmann_json 3 REQUIRED)
vorna_add_test(vorna_cli_library_tests SOURCES library/CliLibraryTest.cpp
    LIBS nlohmann_json::nlohmann_json)
target_compile_definitions(vorna_cli_library_tests PRIVATE VORNA_CLI_PATH="$<TARGET_FILE:vorna-cli>")
add_dependencies(vorna_cli_library_tests vorna-cli)
