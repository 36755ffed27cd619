# Spectrum file reader, writer and file operations.
target_sources(vorna_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumWriter.cpp
)
