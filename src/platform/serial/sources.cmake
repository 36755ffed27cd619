# POSIX termios backend of the SerialLine port.
target_sources(vorna_platform_serial PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TermiosSerialLine.cpp
)
