# Qt-side backends of the core ports.
add_library(vorna_platform_qt STATIC)
include(${PROJECT_SOURCE_DIR}/src/platform/sources.cmake)
target_link_libraries(vorna_platform_qt PUBLIC vorna_settings Qt6::Core)
vorna_warnings(vorna_platform_qt)
get_target_property(_srcs vorna_platform_qt SOURCES)
if(NOT _srcs)
    target_sources(vorna_platform_qt PRIVATE ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
endif()
