#pragma once
// The point-list rules of the Calibrate dialog, on the dialog's own copy of a calibration:
// what each button does to the points, the equation selector and the texts shown.

#include <string>
#include <vector>

#include "spectrum/CCalibrate.h"

namespace vorna {

class CalibrationEditor {
public:
    // `channels` bounds the Channel field; `equationType` is the profile's default equation.
    CalibrationEditor(const CCalibrate& calibration, int channels, int equationType);

    // "&Add" from the Channel and Value field texts. Returns the messages shown (empty when
    // the point was added and fitted).
    std::vector<std::string> Add(const std::string& channelText, const std::string& valueText);
    // "R&emove" of the selected point.
    std::vector<std::string> Remove();
    // "Re&move All".
    std::vector<std::string> RemoveAll();
    // "&Replace": the selected point is replaced by the fields' point; without a selection
    // the point is added after the no-selection message.
    std::vector<std::string> Replace(const std::string& channelText, const std::string& valueText);
    // Selecting a row; returns the Channel and Value field texts it fills in.
    std::pair<std::string, std::string> SelectRow(int row);
    // The equation selector ("Linear" 0, "Quadratic" 1); ignored while it is disabled.
    std::vector<std::string> SetEquation(int equationType);

    // The list rows, "%g\t%g\t%g" (channel, value, deviation) when calibrated, else "%g\t%g".
    std::vector<std::string> Rows() const;
    // The coefficient caption under the list.
    std::string CoefficientText() const;

    int Equation() const { return m_equation; }
    bool EquationEnabled() const { return m_equationEnabled; }
    bool PlotEnabled() const { return m_copy.IsCalibrated(); }
    int Selected() const { return m_selected; }
    const CCalibrate& Calibration() const { return m_copy; }
    // OK: the copy with the Units field as its label, ready to replace the spectrum's.
    CCalibrate Accept(const std::string& units) const;

private:
    std::vector<std::string> Refit();
    void ForceLinearWhenFew();

    CCalibrate m_copy;
    int m_channels;
    int m_equation;
    bool m_equationEnabled;
    int m_selected = -1;
};

// A dialog field is a number when the whole text converts and the value is finite.
bool ParseNumberField(const std::string& text, double& value);

} // namespace vorna
