#pragma once
// The Calibration Plot window: the Calibrate dialog's points and the curve fitted through them.

#include <QDialog>

#include "analysis/CalibrationPlot.h"

namespace vorna {

class CalibrationPlotWindow : public QDialog {
    Q_OBJECT
public:
    CalibrationPlotWindow(const CCalibrate& calibration, QWidget* parent);
    const CalibrationPlotData& Data() const { return m_data; }

private:
    CalibrationPlotData m_data;
};

} // namespace vorna
