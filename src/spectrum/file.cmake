# Spectrum file reader, writer and file operations.
