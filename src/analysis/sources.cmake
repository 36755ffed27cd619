target_sources(vorna_analysis PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Smoothing.cpp
)
# Statistics, expressions and the element library keep their source lists apart so that each
# list stays short enough to check against its folder.
include(${CMAKE_CURRENT_LIST_DIR}/stats.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/expr.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/library.cmake)
