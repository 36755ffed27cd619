# Profile store and settings key.
target_sources(vorna_settings PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CSProfile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSProfileChecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MemoryProfileStore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PreferencesFields.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PreferencesModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PreferencesPages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFolders.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfilePosition.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfileSchema.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfileStore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SavedUserProfile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsIniReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsKey.cpp
)
# The profile fills the analysis settings and slot defaults that spectrum code reads.
target_link_libraries(vorna_settings PUBLIC vorna_spectrum)
