# Companion interface and launcher: protocol texts, parsers and decisions (standard C++ only).
target_sources(vorna_external PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CompanionGate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CompanionLauncher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FpMessages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FpText.cpp
)
