target_sources(vorna_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CCalibrate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CRoi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Smoothing.cpp
)
# Each piece of analysis work lists its own sources.
include(${CMAKE_CURRENT_LIST_DIR}/stats.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/expr.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/library.cmake)
