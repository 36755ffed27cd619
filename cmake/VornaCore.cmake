# Core libraries: standard C++ only, no Qt. Every folder lists its own sources in a
# fragment so that the lists stay next to the code they describe.

add_library(vorna_common STATIC)
include(${PROJECT_SOURCE_DIR}/src/common/sources.cmake)
target_include_directories(vorna_common PUBLIC ${PROJECT_SOURCE_DIR}/src)
vorna_warnings(vorna_common)

# The spectrum record with its ROI and calibration tables; analysis works on it from above and
# reaches back only through the recompute callable the list's owner puts in the environment.
add_library(vorna_spectrum STATIC)
include(${PROJECT_SOURCE_DIR}/src/spectrum/sources.cmake)
target_link_libraries(vorna_spectrum PUBLIC vorna_common)
vorna_warnings(vorna_spectrum)

add_library(vorna_analysis STATIC)
include(${PROJECT_SOURCE_DIR}/src/analysis/sources.cmake)
target_link_libraries(vorna_analysis PUBLIC vorna_spectrum)
vorna_warnings(vorna_analysis)

# Spectrum and analysis together, for tools and tests that use both.
add_library(vorna_core INTERFACE)
target_link_libraries(vorna_core INTERFACE vorna_analysis)

add_library(vorna_settings STATIC)
include(${PROJECT_SOURCE_DIR}/src/settings/sources.cmake)
target_link_libraries(vorna_settings PUBLIC vorna_common)
vorna_warnings(vorna_settings)

add_library(vorna_dpp STATIC)
include(${PROJECT_SOURCE_DIR}/src/dpp/sources.cmake)
target_link_libraries(vorna_dpp PUBLIC vorna_common)
vorna_warnings(vorna_dpp)

# The companion interface's texts, parsers and launcher decisions.
add_library(vorna_external STATIC)
include(${PROJECT_SOURCE_DIR}/src/external/sources.cmake)
target_link_libraries(vorna_external PUBLIC vorna_common)
vorna_warnings(vorna_external)

# A library whose folder holds no source yet still needs one file to build.
foreach(lib vorna_common vorna_spectrum vorna_analysis vorna_settings vorna_dpp)
    get_target_property(_srcs ${lib} SOURCES)
    if(NOT _srcs)
        target_sources(${lib} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
    endif()
endforeach()
