# ROI statistics and the Gaussian fit, ROI operations, calibration, peak search, reports.
target_sources(vorna_analysis PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AutoCalibration.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CalibrationEditor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CalibrationPlot.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GaussFit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NumberFormat.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PeakSearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PeakSearchSession.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReportCaptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Reports.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RoiDefineEditor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RoiOperations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RoiStatistics.cpp
)
# The peak filter's passes over the channels are plain array loops; let GCC vectorise them even
# where a scalar epilogue is needed.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/PeakSearch.cpp PROPERTIES
    COMPILE_OPTIONS "$<$<CXX_COMPILER_ID:GNU>:-fvect-cost-model=dynamic>")
