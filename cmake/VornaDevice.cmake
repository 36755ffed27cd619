# DPP device link on top of the DPP records, its simulators and its libusb backend. None of
# these use Qt.

include(${PROJECT_SOURCE_DIR}/src/dpp/device.cmake)

add_library(vorna_sim_dpp STATIC)
include(${PROJECT_SOURCE_DIR}/src/sim/dpp/sources.cmake)
target_link_libraries(vorna_sim_dpp PUBLIC vorna_dpp vorna_sim_setting)
vorna_warnings(vorna_sim_dpp)

find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBUSB REQUIRED IMPORTED_TARGET libusb-1.0)
add_library(vorna_platform_usb STATIC)
include(${PROJECT_SOURCE_DIR}/src/platform/usb/sources.cmake)
target_link_libraries(vorna_platform_usb PUBLIC vorna_dpp PkgConfig::LIBUSB)
vorna_warnings(vorna_platform_usb)
