# DPP records: status, configuration record and image, strings, files.
