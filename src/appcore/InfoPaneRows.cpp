#include "appcore/InfoPaneRows.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "analysis/ElementLibrary.h"
#include "analysis/NumberFormat.h"
#include "analysis/Reports.h"
#include "appcore/DppInfoValues.h"
#include "spectrum/AnalysisSettings.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

std::string Format(const char* format, auto... args) {
    char text[128];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

bool HasDppData(const CSpectrum& s, const InfoPaneInput& in) {
    if (in.listPosition >= 1)
        return s.m_nDppDeviceCode >= 1;
    return in.deviceType > 0;
}

double NotNegative(double v) {
    return v < 0 ? 0.0 : v;
}

void AddRow(std::vector<InfoPaneCell>& cells, int row, std::string label, std::string value = {}) {
    cells.push_back({row, std::move(label), std::move(value)});
}

std::string PresetModeText(const InfoPaneInput& in) {
    switch (in.presetMode) {
    case 0:
        return "Seconds";
    case 1:
        return "Total Counts";
    case 2:
        return "Chn " + std::to_string(in.presetChannel);
    default:
        return "None";
    }
}

std::string PresetLabel(const CSpectrum& s, const InfoPaneInput& in) {
    if (in.presetMode == 1 || in.presetMode == 2)
        return "Preset (cts)";
    return s.m_nLiveMode ? "Preset (L)  " : "Preset (R)  ";
}

std::string ModeText(const CSpectrum& s, const InfoPaneInput& in) {
    if (HasDppData(s, in) && in.listPosition >= 1)
        return s.DppValueText(DppValue::AcquisitionMode);
    if (HasDppData(s, in))
        return in.dppLive ? in.dppLive->mode : std::string();
    return in.acquireMode == 1 ? "MCS    " : "MCA    ";
}

std::string FwhmLabel(const AnalysisSettings& st) {
    return FwhmHeading(st);
}

void AddRoiBlock(std::vector<InfoPaneCell>& cells, int peakRow, const CSpectrum& s,
                 const AnalysisSettings& st, const InfoPaneInput& in) {
    AddRow(cells, peakRow, "Peak Information:");
    const int sel = s.m_roi.GetSelected();
    const bool valid =
        sel >= 0 && sel < s.m_roi.GetCount() && s.m_roi[sel].status != RoiStatus::Invalid;
    const std::string labels[6] = {CentroidLabel(static_cast<int>(st.centroidCalcMethod)),
                                   FwhmLabel(st),
                                   "Net Area",
                                   "Uncertainty",
                                   "Net Rate",
                                   "Gross Area"};
    std::string values[6];
    double centroid = 0, fwhm = 0;
    if (valid) {
        const CRoiEntry& r = s.m_roi[sel];
        const bool use = st.calibrateEnable != 0;
        centroid = s.m_calibrate.ChannelToValue(r.centroid, use);
        fwhm = s.m_calibrate.WidthToValue(r.fwhm, use);
        values[0] = CentroidValueText(centroid);
        if (st.fwhmCalcMethod == FwhmMethod::Percent)
            values[1] = FormatFixed(centroid > 0 ? 100.0 * fwhm / centroid : 0.0, 2);
        else
            values[1] = FormatFixed(NotNegative(fwhm), 4);
        values[2] = FormatFixed(r.netArea, 0);
        values[3] = FormatNumber(r.uncertainty);
        if (s.m_dLiveTime != 0)
            values[4] = FormatNumber(r.netArea / s.m_dLiveTime);
        values[5] = FormatNumber(r.grossArea);
    }
    for (int i = 0; i < 6; ++i)
        AddRow(cells, peakRow + 1 + i, labels[i], values[i]);
    if (valid && in.library && in.library->IsLoaded()) {
        const int line = in.library->Match(centroid, fwhm, st.librarySens);
        if (line >= 0) {
            const ElementLine& l = in.library->Line(line);
            AddRow(cells, peakRow + 7, l.name, FormatNumber(l.energy));
        }
    }
}

void AddTimes(std::vector<InfoPaneCell>& cells, int row, const CSpectrum& s, bool withLive) {
    AddRow(cells, row, withLive ? "Real Time" : "Accum Time",
           FormatFixed(NotNegative(s.m_dRealTime), 2));
    if (withLive)
        AddRow(cells, row + 1, "Live Time", FormatFixed(NotNegative(s.m_dLiveTime), 2));
}

void AddStartAndStatus(std::vector<InfoPaneCell>& cells, int row, const CSpectrum& s,
                       const InfoPaneInput& in) {
    AddRow(cells, row, "Start Time:");
    AddRow(cells, row + 1, s.m_szStartTime);
    AddRow(cells, row + 2, "Status:");
    AddRow(cells, row + 3, AcquisitionStateText(in.deviceState));
}

void KestrelRows(std::vector<InfoPaneCell>& cells, const CSpectrum& s, const InfoPaneInput& in) {
    AddRow(cells, 4, "Group", in.kestrelGroup >= 0 ? std::to_string(in.kestrelGroup & 0x3FF) : "");
    AddRow(cells, 5, "Channels", std::to_string(s.m_nChannels));
    AddRow(cells, 6, "Threshold", std::to_string(s.m_nThreshold));
    AddRow(cells, 7, "Preset Mode", PresetModeText(in));
    AddRow(cells, 8, PresetLabel(s, in), std::to_string(s.m_nPresetTime));
    AddTimes(cells, 9, s, true);
    const double total = NotNegative(s.m_dTotalCounts);
    AddRow(cells, 11, "Total Count", FormatNumber(total));
    AddRow(cells, 12, "Total Rate", s.m_dLiveTime != 0 ? FormatNumber(total / s.m_dLiveTime) : "");
    AddStartAndStatus(cells, 13, s, in);
}

double StoredNumber(const CSpectrum& s, DppValue v) {
    return std::strtod(s.DppValueText(v).c_str(), nullptr);
}

void DppRows(std::vector<InfoPaneCell>& cells, const CSpectrum& s, const InfoPaneInput& in) {
    const bool file = in.listPosition >= 1;
    const DppLiveInfo* live = file ? nullptr : in.dppLive;
    auto pick = [&](DppValue stored, std::string DppLiveInfo::*field) -> std::string {
        if (file)
            return s.DppValueText(stored);
        return live ? live->*field : std::string();
    };
    AddRow(cells, 4, "Channels", std::to_string(s.m_nChannels));
    AddRow(cells, 5, "LLD Thresh", pick(DppValue::SlowThreshold, &DppLiveInfo::lldThreshold));
    AddRow(cells, 6, "Fast Thresh", pick(DppValue::FastThreshold, &DppLiveInfo::fastThreshold));
    AddRow(cells, 7, "Peak Time", pick(DppValue::Rise, &DppLiveInfo::peakTime));
    AddRow(cells, 8, "Gain",
           file
               ? FormatFixed(
                     StoredNumber(s, DppValue::CoarseGain) * StoredNumber(s, DppValue::FineGain), 2)
               : (live ? live->gain : std::string()));
    AddRow(cells, 9, "Gain Delta", live ? live->gainDelta : std::string());
    if (live && !live->presetMode.empty()) {
        AddRow(cells, 10, "Preset Mode", live->presetMode);
        AddRow(cells, 11, PresetLabel(s, in), live->presetValue);
    } else {
        const int presetTenths = s.m_nPresetTime;
        AddRow(cells, 10, "Preset Mode", presetTenths > 0 ? "Seconds" : "None");
        AddRow(cells, 11, PresetLabel(s, in),
               presetTenths > 0 ? Format("%lu", static_cast<unsigned long>(presetTenths / 10))
                                : "0");
    }
    AddTimes(cells, 12, s, false);
    AddRow(cells, 13, "Total Count", FormatNumber(NotNegative(s.m_dTotalCounts)));
    AddRow(cells, 14, "Input Count", pick(DppValue::FastCount, &DppLiveInfo::inputCount));
    AddRow(cells, 15, "Input Rate", live ? live->inputRate : std::string());
    AddRow(cells, 16, "Dead Time", live ? live->deadTime : std::string());
    AddStartAndStatus(cells, 18, s, in);
    AddRow(cells, 32, "Det. Temp", live ? live->detectorTemperature : std::string());
    AddRow(cells, 33, "Board Temp", live ? live->boardTemperature : std::string());
    AddRow(cells, 34, "Det. HV", live ? live->detectorHighVoltage : std::string());
}

} // namespace

const char* AcquisitionStateText(int state) {
    static const char* const texts[] = {"disconnected", "disconnected", "stopped", "acquiring"};
    return state >= 0 && state <= 3 ? texts[state] : texts[0];
}

std::string CentroidLabel(int method) {
    if (method == 0)
        return "Centroid (N)";
    if (method == 2)
        return "Centroid (G)";
    return "Centroid (M)";
}

std::string CentroidValueText(double c) {
    return std::fabs(c) < 10 ? FormatFixed(c, 3) : FormatNumber(c);
}

std::string InfoSourceText(const CSpectrum& s, const InfoPaneInput& in) {
    if (in.listPosition >= 1) {
        if (s.m_nDppDeviceCode >= 1)
            return Format("%s (s/n %7s)", s.DppValueText(DppValue::DeviceType).c_str(),
                          s.DppValueText(DppValue::SerialNumber).c_str()) +
                   std::string(10, ' ');
        return Format("KestrelA (s/n %7i)", s.m_nSerialNumber);
    }
    if (in.deviceType == 0) {
        if (!in.kestrelConnected)
            return "LUMO";
        return in.kestrelIsA ? Format("KestrelA (s/n %7i)", in.kestrelSerial) : "Kestrel";
    }
    if (in.dppName.empty())
        return "LUMO";
    if (in.dppLive && in.dppLive->connected && in.dppLive->serial != 0)
        return in.dppName + Format(" (s/n %7i)", static_cast<int>(in.dppLive->serial));
    return in.dppName;
}

std::vector<InfoPaneCell> InfoPaneCells(const CSpectrum& s, const AnalysisSettings& st,
                                        const InfoPaneInput& in) {
    std::vector<InfoPaneCell> cells;
    AddRow(cells, 0, InfoSourceText(s, in));
    AddRow(cells, 1, "Tag:");
    AddRow(cells, 2, s.m_strTag);
    AddRow(cells, 3, "Mode", ModeText(s, in));
    if (in.deviceType == 0) {
        KestrelRows(cells, s, in);
        AddRoiBlock(cells, kKestrelPeakRow, s, st, in);
    } else {
        DppRows(cells, s, in);
        AddRoiBlock(cells, kDppPeakRow, s, st, in);
    }
    return cells;
}

} // namespace vorna
