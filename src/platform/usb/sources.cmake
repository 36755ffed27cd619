# libusb-1.0 backend of the UsbDriver port.
target_sources(vorna_platform_usb PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/LibUsbDriver.cpp
)
