# Kestrel link: serial port interface, transport with the modem-line handshake, command protocol.
target_sources(vorna_kestrel PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AcqUploadMath.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelDataBlock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelLink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelLinkData.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelLinkRequests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelPort.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelStatusRecord.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SerialDevicePath.cpp
)
