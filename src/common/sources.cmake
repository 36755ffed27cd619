target_sources(vorna_common PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Clock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextCodec.cpp
)
# IniFile (private-profile reader) is listed by settings work in ini.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/ini.cmake)
