# Element library and data logs.
target_sources(vorna_analysis PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ElementLibrary.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataLog.cpp
)
