# Widget tests of the program: offscreen, one QApplication per binary, modal dialogs answered
# from timers.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)

# What every widget test shares: the modal dialog driver and the program fixture.
add_library(vorna_app_test_support STATIC app/ModalDriver.cpp app/ModalDriver.h
    app/TestProgram.cpp app/TestProgram.h)
set_target_properties(vorna_app_test_support PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_app_test_support PUBLIC vorna_app Qt6::Test)
target_include_directories(vorna_app_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR}/app)
target_compile_definitions(vorna_app_test_support PUBLIC
    VORNA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
vorna_warnings(vorna_app_test_support)

# vorna_widget_test(name SIMULATE value TIMEOUT seconds SOURCES files...)
function(vorna_widget_test name)
    cmake_parse_arguments(W "" "SIMULATE;TIMEOUT" "SOURCES" ${ARGN})
    if(NOT W_TIMEOUT)
        set(W_TIMEOUT 120)
    endif()
    add_executable(${name} ${W_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE vorna_app_test_support)
    vorna_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VORNA_SIMULATE=${W_SIMULATE}"
        TIMEOUT ${W_TIMEOUT})
endfunction()

vorna_widget_test(vorna_app_tests SOURCES app/AppShellTest.cpp)
# The program driving the simulated KestrelA in real time.
vorna_widget_test(vorna_app_kestrel_tests SIMULATE kestrela TIMEOUT 300
    SOURCES app/KestrelWiringTest.cpp)
# The preferences sheet and what the program does when it closes.
vorna_widget_test(vorna_prefs_tests SOURCES app/PreferencesTest.cpp)
# The program driving simulated DPPs on the simulated USB bus in real time.
vorna_widget_test(vorna_app_dpp_tests SIMULATE plover SOURCES app/DppWiringTest.cpp)
# The whole program against simulated devices: what the user sees and what is saved.
vorna_widget_test(vorna_app_trust_tests TIMEOUT 400 SOURCES app/DeviceTrustTest.cpp)
# The whole program while its simulated devices fail: pulled cables, silence, bad checksums.
vorna_widget_test(vorna_app_fault_tests TIMEOUT 600 SOURCES app/DeviceFaultTest.cpp)
# Printing to PDF (read back with poppler's pdftotext), copies and window captures.
vorna_widget_test(vorna_output_window_tests SOURCES output/OutputWindowsTest.cpp)
# Details of the shell: pane looks, view commands, context captions, keyboard map, About box.
vorna_widget_test(vorna_app_details_tests SOURCES app/ShellDetailsTest.cpp)
# The DPP property sheet, tuning and oscilloscope against simulated DPPs in real time.
vorna_widget_test(vorna_app_dppsetup_tests SIMULATE plover TIMEOUT 240 SOURCES app/DppSetupTest.cpp)

# The companion interface on a private session bus of its own.
find_package(Qt6 REQUIRED COMPONENTS DBus)
find_program(DBUS_RUN_SESSION dbus-run-session REQUIRED)
add_executable(vorna_companion_tests app/CompanionBusTest.cpp)
set_target_properties(vorna_companion_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vorna_companion_tests PRIVATE vorna_app_test_support Qt6::DBus)
vorna_warnings(vorna_companion_tests)
add_test(NAME vorna_companion_tests
         COMMAND ${DBUS_RUN_SESSION} -- $<TARGET_FILE:vorna_companion_tests>)
set_tests_properties(vorna_companion_tests PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VORNA_SIMULATE=" TIMEOUT 180)
# The README's companion script, with vorna-fp, against the real program.
add_test(NAME vorna_companion_script
         COMMAND ${DBUS_RUN_SESSION} -- ${CMAKE_CURRENT_SOURCE_DIR}/app/companion-script.sh
                 $<TARGET_FILE:vorna> $<TARGET_FILE:vorna-fp>
                 ${PROJECT_SOURCE_DIR}/examples/companion-demo.sh
                 ${PROJECT_SOURCE_DIR}/examples/fe55.mca)
set_tests_properties(vorna_companion_script PROPERTIES TIMEOUT 120)
# The programs on simulated devices in real time: one at a time, so their timing holds on a busy
# two-core machine.
set_tests_properties(vorna_app_kestrel_tests vorna_app_dpp_tests vorna_app_trust_tests
    vorna_app_fault_tests vorna_app_dppsetup_tests PROPERTIES RESOURCE_LOCK realtime_devices)
