# The acquisition controller and its upload worker: the Kestrel link meets the spectra list and
# the profile here, so they live in a library of their own above the link.
target_sources(vorna_acq PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AcqSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AcqSetupForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CAcq.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CAcqPreferences.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CAcqSetup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CAcqUpload.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CUploadThread.cpp
)
# The repeated-measurement series writes the data logs.
target_link_libraries(vorna_acq PUBLIC vorna_analysis)
