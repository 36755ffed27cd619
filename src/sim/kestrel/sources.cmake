# Simulated Kestrel and KestrelA behind the SerialLine port.
target_sources(vorna_sim_kestrel PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/KestrelDeviceModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelSimFactory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelSimulator.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KestrelSourceModel.cpp
)
