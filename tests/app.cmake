# Widget tests of the program: offscreen, one QApplication per binary, modal dialogs answered
# from timers.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
add_executable(vorna_app_tests app/AppShellTest.cpp app/ModalDriver.cpp app/ModalDriver.h)
set_target_properties(vorna_app_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_app_tests PRIVATE vorna_app Qt6::Test)
target_include_directories(vorna_app_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(vorna_app_tests PRIVATE VORNA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
vorna_warnings(vorna_app_tests)
add_test(NAME vorna_app_tests COMMAND vorna_app_tests)
set_tests_properties(vorna_app_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VORNA_SIMULATE=" TIMEOUT 120)

# The program driving the simulated KestrelA in real time.
add_executable(vorna_app_kestrel_tests app/KestrelWiringTest.cpp app/ModalDriver.cpp
    app/ModalDriver.h)
set_target_properties(vorna_app_kestrel_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_app_kestrel_tests PRIVATE vorna_app Qt6::Test)
target_include_directories(vorna_app_kestrel_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
vorna_warnings(vorna_app_kestrel_tests)
add_test(NAME vorna_app_kestrel_tests COMMAND vorna_app_kestrel_tests)
set_tests_properties(vorna_app_kestrel_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VORNA_SIMULATE=kestrela" TIMEOUT 300)

# The preferences sheet and what the program does when it closes.
add_executable(vorna_prefs_tests app/PreferencesTest.cpp app/ModalDriver.cpp app/ModalDriver.h)
set_target_properties(vorna_prefs_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_prefs_tests PRIVATE vorna_app Qt6::Test)
target_include_directories(vorna_prefs_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(vorna_prefs_tests PRIVATE VORNA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
vorna_warnings(vorna_prefs_tests)
add_test(NAME vorna_prefs_tests COMMAND vorna_prefs_tests)
set_tests_properties(vorna_prefs_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VORNA_SIMULATE=" TIMEOUT 120)

# The program driving simulated DPPs on the simulated USB bus in real time.
add_executable(vorna_app_dpp_tests app/DppWiringTest.cpp app/ModalDriver.cpp app/ModalDriver.h)
set_target_properties(vorna_app_dpp_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_app_dpp_tests PRIVATE vorna_app Qt6::Test)
target_include_directories(vorna_app_dpp_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
vorna_warnings(vorna_app_dpp_tests)
add_test(NAME vorna_app_dpp_tests COMMAND vorna_app_dpp_tests)
set_tests_properties(vorna_app_dpp_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VORNA_SIMULATE=plover" TIMEOUT 120)
