# The application shell's core: command table, menu rules, info-pane and spectra-list texts,
# time queue, update worker and the program-wide state. Standard C++ only.
add_library(vorna_appcore STATIC
    ${CMAKE_CURRENT_LIST_DIR}/CFPCmdInterface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CommandTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CTimeQueue.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CUpdateThread.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppInfoValues.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppLiveTarget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/InfoPaneRows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelProgram.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyboardMap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ListTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MenuState.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PreferencesAftermath.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProgramState.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RepeatMeasurement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectraListRows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectraSlotsEditor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumNotesFields.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumPropertiesEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VersionText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.cpp
)
find_package(Threads REQUIRED)
target_link_libraries(vorna_appcore PUBLIC vorna_core vorna_settings vorna_acq vorna_dpp vorna_external Threads::Threads)
vorna_warnings(vorna_appcore)
