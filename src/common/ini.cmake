target_sources(vorna_common PRIVATE ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp)
