# Simulated DPPs behind the UsbDriver port.
target_sources(vorna_sim_dpp PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SimDpp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimDppBus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimDppBusFactory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimDppModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimDppSource.cpp
)
