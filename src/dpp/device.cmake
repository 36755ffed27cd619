# DPP link: USB port, transport, packet protocol, connection, the main-window commands and
# tuning.
target_sources(vorna_dpp PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DppController.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppProtocol.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppTestUnit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppTuner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppUpdateNotice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppUsbLink.cpp
)
