target_sources(vorna_common PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Clock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataFolders.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowSink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NumberText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PostingPrompt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScratchFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Text.cpp
)
