target_sources(vorna_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/RoiStatistics.cpp)
