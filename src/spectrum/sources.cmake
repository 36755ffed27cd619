target_sources(vorna_spectrum PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CCalibrate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CRoi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSpectraArray.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSpectraList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSpectrum.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumSlotDefaults.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/file.cmake)
