#include "analysis/RoiDefineEditor.h"

#include <algorithm>
#include <cmath>

#include "analysis/CalibrationEditor.h"
#include "analysis/Reports.h"
#include "analysis/RoiStatistics.h"
#include "common/NumberText.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

RoiDefineEditor::RoiDefineEditor(const CSpectrum& spectrum, bool calibrateEnable)
    : m_channels(0), m_calibrateEnable(calibrateEnable) {
    auto s = spectrum.Lock();
    m_copy = s->m_roi;
    m_calibration = s->m_calibrate;
    m_channels = s->m_nChannels;
}

double RoiDefineEditor::ToValue(int channel) const {
    return m_calibration.ChannelToValue(channel, m_calibrateEnable);
}

std::string RoiDefineEditor::ReadFields(const std::string& startText, const std::string& endText,
                                        int& start, int& end) const {
    const double first = ToValue(0), last = ToValue(std::max(m_channels - 1, 0));
    const double low = std::min(first, last), high = std::max(first, last);
    // The same conversion as the spectrum's value to channel, kept on the scale.
    auto toChannel = [&](double v) {
        double c = m_calibration.ValueToChannel(v, m_calibrateEnable);
        if (std::isnan(c) || c < 0)
            return 0;
        return c >= m_channels ? m_channels - 1 : static_cast<int>(c);
    };
    double v = 0.0;
    if (m_channels <= 0 || !ParseNumberField(startText, v) || v < low || v > high)
        return kInvalidStartPosition;
    start = toChannel(v);
    if (!ParseNumberField(endText, v) || v < low || v > high)
        return kInvalidEndPosition;
    end = toChannel(v);
    return {};
}

std::string RoiDefineEditor::Add(const std::string& startText, const std::string& endText) {
    int start = 0, end = 0;
    std::string message = ReadFields(startText, endText, start, end);
    if (!message.empty() || start >= end)
        return message;
    m_selected = m_copy.AddSorted(start, end);
    return {};
}

std::string RoiDefineEditor::Replace(const std::string& startText, const std::string& endText) {
    int start = 0, end = 0;
    std::string message = ReadFields(startText, endText, start, end);
    if (!message.empty() || start >= end || m_selected < 0 || m_selected >= m_copy.GetCount())
        return message;
    m_copy.Delete(m_selected);
    m_selected = m_copy.AddSorted(start, end);
    return {};
}

void RoiDefineEditor::Remove() {
    if (m_selected < 0 || m_selected >= m_copy.GetCount())
        return;
    m_copy.Delete(m_selected);
    m_selected = -1;
}

void RoiDefineEditor::RemoveAll() {
    m_copy.Clear();
    m_selected = -1;
}

std::pair<std::string, std::string> RoiDefineEditor::SelectRow(int row) {
    if (row < 0 || row >= m_copy.GetCount())
        return {};
    m_selected = row;
    const CRoiEntry& roi = m_copy[row];
    return {Format("%g", ToValue(roi.start)), Format("%g", ToValue(roi.end))};
}

std::vector<std::string> RoiDefineEditor::Rows() const {
    std::vector<std::string> rows;
    for (const CRoiEntry& roi : m_copy.Entries())
        rows.push_back(Format("%g\t%g", ToValue(roi.start), ToValue(roi.end)));
    return rows;
}

RoiDetailsReport RoiDefineEditor::Details(const CSpectrum& spectrum,
                                          const AnalysisSettings& settings,
                                          const ElementLibrary* library) {
    std::vector<double> contents;
    CCalibrate calibration;
    {
        auto s = spectrum.Lock();
        contents = s->m_pData;
        calibration = s->m_calibrate;
    }
    RecomputeRoiList(m_copy, contents, settings);
    return MakeRoiReport(MakeReportCaptions(kRoiDetailsTitle, spectrum, library), m_copy,
                         calibration, settings, library);
}

void RoiDefineEditor::Accept(const RoiContext& ctx, const AnalysisSettings& settings) const {
    {
        auto s = ctx.spectrum.Lock();
        const int selected = s->m_roi.GetSelected();
        s->m_roi = m_copy;
        s->m_roi.SetSelected(selected < m_copy.GetCount() ? selected : -1);
    }
    RecomputeAllRoiStatistics(ctx.spectrum, settings);
    if (ctx.env.display) {
        ctx.env.display->RedrawPlot();
        if (ctx.isActive)
            ctx.env.display->RefreshInfoPane();
    }
}

} // namespace vorna
