# Kestrel acquisition: the link (core), its termios backend and its simulator. No Qt in any.

add_library(vorna_kestrel STATIC)
include(${PROJECT_SOURCE_DIR}/src/kestrel/sources.cmake)
target_link_libraries(vorna_kestrel PUBLIC vorna_common)
vorna_warnings(vorna_kestrel)

add_library(vorna_platform_serial STATIC)
include(${PROJECT_SOURCE_DIR}/src/platform/serial/sources.cmake)
target_link_libraries(vorna_platform_serial PUBLIC vorna_kestrel)
vorna_warnings(vorna_platform_serial)

# The one VORNA_SIMULATE parser, for the Kestrel and the DPP simulators (vorna_sim_dpp links it
# too). It only includes the model enums of both, so it links neither.
add_library(vorna_sim_setting STATIC ${PROJECT_SOURCE_DIR}/src/sim/SimulateSetting.cpp)
target_include_directories(vorna_sim_setting PUBLIC ${PROJECT_SOURCE_DIR}/src)
vorna_warnings(vorna_sim_setting)

add_library(vorna_sim_kestrel STATIC)
include(${PROJECT_SOURCE_DIR}/src/sim/kestrel/sources.cmake)
target_link_libraries(vorna_sim_kestrel PUBLIC vorna_kestrel vorna_sim_setting)
vorna_warnings(vorna_sim_kestrel)

add_library(vorna_acq STATIC)
include(${PROJECT_SOURCE_DIR}/src/kestrel/acq.cmake)
target_link_libraries(vorna_acq PUBLIC vorna_kestrel vorna_spectrum vorna_settings)
vorna_warnings(vorna_acq)
