# Spectrum file reader, writer and file operations.
target_sources(vorna_spectrum PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SpectrumWriter.cpp
)
