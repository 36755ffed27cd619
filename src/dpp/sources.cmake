# DPP records: status, configuration record and image, strings, files.
target_sources(vorna_dpp PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DppBootFlags.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppConfigFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppConfigImage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppConfigStrings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppConfigText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppDefaultConfiguration.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppFieldConversions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppMessages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppModels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppSheetState.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppStatusRecord.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppTextParse.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppTypes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DppWirePacket.cpp
)
