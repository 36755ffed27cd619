#include "analysis/CalibrationEditor.h"

#include <cmath>

#include "common/NumberText.h"

namespace vorna {

namespace {

constexpr const char* kInvalidChannel = "Invalid channel!";
constexpr const char* kInvalidValue = "Invalid value!";
constexpr const char* kDuplicate = "Calibration point for this channel\nhas been already defined!";
constexpr const char* kNoSelection = "There is no channel selected!";
constexpr const char* kFitFailed = "Calibration failed!";

} // namespace

bool ParseNumberField(const std::string& text, double& value) {
    size_t consumed = 0;
    auto parsed = ScanDoublePrefix(text, consumed);
    if (!parsed || consumed != text.size() || !std::isfinite(*parsed))
        return false;
    value = *parsed;
    return true;
}

CalibrationEditor::CalibrationEditor(const CCalibrate& calibration, int channels, int equationType)
    : m_copy(calibration), m_channels(channels), m_equation(equationType),
      m_equationEnabled(calibration.GetCount() >= 2) {
    ForceLinearWhenFew();
}

void CalibrationEditor::ForceLinearWhenFew() {
    if (m_copy.GetCount() < 2) {
        m_equation = static_cast<int>(CalibEquation::Linear);
        m_equationEnabled = false;
    }
}

std::vector<std::string> CalibrationEditor::Refit() {
    std::vector<std::string> messages;
    std::string failure;
    if (!m_copy.Fit(m_equation, &failure)) {
        messages.push_back(failure);
        messages.push_back(kFitFailed);
    }
    return messages;
}

std::vector<std::string> CalibrationEditor::Add(const std::string& channelText,
                                                const std::string& valueText) {
    double channel = 0.0, value = 0.0;
    if (!ParseNumberField(channelText, channel) || channel < 0 || channel > m_channels - 1)
        return {kInvalidChannel};
    if (!ParseNumberField(valueText, value) || value < -1e100 || value > 1e100)
        return {kInvalidValue};
    auto& points = m_copy.Points();
    size_t at = 0;
    for (; at < points.size(); ++at) {
        if (points[at].channel == channel)
            return {kDuplicate};
    }
    at = 0;
    while (at < points.size() && points[at].channel <= channel)
        ++at;
    points.insert(points.begin() + static_cast<std::ptrdiff_t>(at), {channel, value});
    m_selected = static_cast<int>(at);
    if (m_copy.GetCount() > 2)
        m_equationEnabled = true;
    return Refit();
}

std::vector<std::string> CalibrationEditor::Remove() {
    auto& points = m_copy.Points();
    if (m_selected < 0 || m_selected >= static_cast<int>(points.size()))
        return {kNoSelection};
    points.erase(points.begin() + m_selected);
    m_selected = -1;
    ForceLinearWhenFew();
    return Refit();
}

std::vector<std::string> CalibrationEditor::RemoveAll() {
    m_copy.Points().clear();
    m_selected = -1;
    ForceLinearWhenFew();
    return Refit();
}

std::vector<std::string> CalibrationEditor::Replace(const std::string& channelText,
                                                    const std::string& valueText) {
    // Replace is Remove then Add: without a selection Remove only complains, and Add still
    // takes the fields' point.
    if (m_selected < 0 || m_selected >= m_copy.GetCount()) {
        std::vector<std::string> messages{kNoSelection};
        std::vector<std::string> added = Add(channelText, valueText);
        messages.insert(messages.end(), added.begin(), added.end());
        return messages;
    }
    // Check the fields before removing, so a typing error never loses the selected point.
    double channel = 0.0, value = 0.0;
    if (!ParseNumberField(channelText, channel) || channel < 0 || channel > m_channels - 1)
        return {kInvalidChannel};
    if (!ParseNumberField(valueText, value) || value < -1e100 || value > 1e100)
        return {kInvalidValue};
    std::vector<std::string> messages = Remove();
    std::vector<std::string> added = Add(channelText, valueText);
    messages.insert(messages.end(), added.begin(), added.end());
    return messages;
}

std::pair<std::string, std::string> CalibrationEditor::SelectRow(int row) {
    if (row < 0 || row >= m_copy.GetCount())
        return {};
    m_selected = row;
    const CCalibrateEntry& p = m_copy.Points()[static_cast<size_t>(row)];
    return {Format("%g", p.channel), Format("%g", p.value)};
}

std::vector<std::string> CalibrationEditor::SetEquation(int equationType) {
    if (!m_equationEnabled)
        return {};
    m_equation = equationType;
    return Refit();
}

std::vector<std::string> CalibrationEditor::Rows() const {
    std::vector<std::string> rows;
    for (const CCalibrateEntry& p : m_copy.Points()) {
        if (m_copy.IsCalibrated()) {
            double deviation = m_copy.ChannelToValue(p.channel, true) - p.value;
            if (std::fabs(deviation) < 1e-8 * std::fabs(p.value))
                deviation = 0.0;
            rows.push_back(Format("%g\t%g\t%g", p.channel, p.value, deviation));
        } else {
            rows.push_back(Format("%g\t%g", p.channel, p.value));
        }
    }
    return rows;
}

std::string CalibrationEditor::CoefficientText() const {
    bool quadratic = m_equation == static_cast<int>(CalibEquation::Quadratic);
    if (!m_copy.IsCalibrated())
        return quadratic ? "A =        B =        C =" : "A =        B =";
    if (quadratic)
        return Format("A=%g  B=%g  C=%g", m_copy.A(), m_copy.B(), m_copy.C());
    return Format("A=%g  B=%g ", m_copy.A(), m_copy.B());
}

CCalibrate CalibrationEditor::Accept(const std::string& units) const {
    CCalibrate result = m_copy;
    result.SetLabel(units);
    return result;
}

} // namespace vorna
