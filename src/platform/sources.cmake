# Qt backends (QSettings profile store).
target_sources(vorna_platform_qt PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/QSettingsProfileStore.cpp
)
