vorna_add_test(vorna_dppdevice_tests COMMA_LOCALE
    SOURCES dppdevice/DppWorld.cpp dppdevice/DppLinkTest.cpp dppdevice/DppConnectTest.cpp
            dppdevice/DppAcquisitionTest.cpp dppdevice/DppSelectionTest.cpp
            dppdevice/SimDppTest.cpp
    LIBS vorna_sim_dpp)

# The libusb backend under umockdev: the preload library stands in for the kernel's USB nodes,
# so the test runs as any user without a device.
pkg_check_modules(UMOCKDEV REQUIRED IMPORTED_TARGET umockdev-1.0)
find_library(UMOCKDEV_PRELOAD NAMES libumockdev-preload.so.0 REQUIRED)
vorna_add_test(vorna_libusb_umockdev_tests
    SOURCES dppdevice/LibUsbUmockdevTest.cpp
    LIBS vorna_platform_usb PkgConfig::UMOCKDEV)
set_tests_properties(vorna_libusb_umockdev_tests PROPERTIES
    ENVIRONMENT "LC_ALL=C.UTF-8;LD_PRELOAD=${UMOCKDEV_PRELOAD};ASAN_OPTIONS=verify_asan_link_order=0")
