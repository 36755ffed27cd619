#include "display/SpectraListPlotPort.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "analysis/RoiOperations.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

template <typename F> void SpectraListPlotPort::WithActive(F f) {
    if (CSpectrum* s = m_list.GetActive())
        f(RoiContext{*s, m_list.Environment(), true});
}

int SpectraListPlotPort::ActiveGain() const {
    const CSpectrum* s = m_list.GetActive();
    if (!s)
        return 6;
    const auto locked = s->Lock();
    return std::clamp(s->m_nGain, 0, 6);
}

double SpectraListPlotPort::CountAt(int channel) const {
    const CSpectrum* s = m_list.GetActive();
    if (!s)
        return 0.0;
    const auto locked = s->Lock();
    if (channel < 0 || channel >= static_cast<int>(s->m_pData.size()))
        return 0.0;
    return s->m_pData[static_cast<size_t>(channel)];
}

double SpectraListPlotPort::MaxCount(int lo, int hi) const {
    const CSpectrum* s = m_list.GetActive();
    if (!s)
        return 0.0;
    const int active = m_list.GetActivePosition();
    const auto locked = s->Lock();
    const int last = s->LastValidChannel(m_list.Environment().dppDeviceType, active);
    hi = std::min({hi, last, static_cast<int>(s->m_pData.size()) - 1});
    double m = 0.0;
    for (int i = std::max(lo, 0); i <= hi; ++i)
        m = std::max(m, s->m_pData[static_cast<size_t>(i)]); // NaN never wins
    return m;
}

double SpectraListPlotPort::ChannelToValue(int channel) const {
    const CSpectrum* s = m_list.GetActive();
    if (!s)
        return channel;
    const auto locked = s->Lock();
    return s->ChannelToEnergy(channel, CalibrateEnabled());
}

int SpectraListPlotPort::ValueToChannel(double value) const {
    const CSpectrum* s = m_list.GetActive();
    if (!s)
        return std::isnan(value) ? 0 : static_cast<int>(std::clamp(value, 0.0, 16383.0));
    const auto locked = s->Lock();
    return s->EnergyToChannel(value, CalibrateEnabled());
}

std::string SpectraListPlotPort::UnitLabel() const {
    const CSpectrum* s = m_list.GetActive();
    if (!s || !CalibrateEnabled())
        return "Channel";
    const auto locked = s->Lock();
    return s->m_calibrate.Label();
}

int SpectraListPlotPort::RoiCount() const {
    const CSpectrum* s = m_list.GetActive();
    if (!s)
        return 0;
    const auto locked = s->Lock();
    return s->m_roi.GetCount();
}

RoiRange SpectraListPlotPort::Roi(int index) const {
    const CSpectrum* s = m_list.GetActive();
    if (!s)
        return {};
    const auto locked = s->Lock();
    if (index < 0 || index >= s->m_roi.GetCount())
        return {};
    return {s->m_roi[index].start, s->m_roi[index].end};
}

int SpectraListPlotPort::FindRoi(int channel) const {
    const CSpectrum* s = m_list.GetActive();
    if (!s)
        return -1;
    const auto locked = s->Lock();
    return s->m_roi.Find(channel);
}

int SpectraListPlotPort::AddRoi(int start, int end) {
    int index = -1;
    WithActive([&](const RoiContext& ctx) { index = vorna::AddRoi(ctx, start, end); });
    return index;
}

void SpectraListPlotPort::DeleteRoi(int index) {
    WithActive([&](const RoiContext& ctx) { vorna::DeleteRoi(ctx, index); });
}

int SpectraListPlotPort::ModifyRoi(int index, int start, int end) {
    int result = -1;
    WithActive([&](const RoiContext& ctx) { result = vorna::ModifyRoi(ctx, index, start, end); });
    return result;
}

void SpectraListPlotPort::ClearRois() {
    WithActive([](const RoiContext& ctx) { vorna::ClearRois(ctx); });
}

void SpectraListPlotPort::SelectRoiAt(double position) {
    WithActive([&](const RoiContext& ctx) { vorna::SelectRoiAt(ctx, position); });
}

void SpectraListPlotPort::SelectNextRoi() {
    WithActive([](const RoiContext& ctx) { vorna::SelectNextRoi(ctx); });
}

void SpectraListPlotPort::SelectPreviousRoi() {
    WithActive([](const RoiContext& ctx) { vorna::SelectPreviousRoi(ctx); });
}

void SpectraListPlotPort::ResetActiveHeader() {
    CSpectrum* s = m_list.GetActive();
    if (!s)
        return;
    const int position = m_list.GetActivePosition();
    const SpectrumSlot& slot = m_list.Environment().slots.ForPosition(position);
    {
        const auto locked = s->Lock();
        s->m_strTag = slot.tag;
        s->m_strFileName = slot.tag + ".mca";
        s->m_strGeneralNotes.clear();
        s->m_strOtherNotes.clear();
        s->m_strSystemNotes.clear();
    }
    if (DisplaySink* display = m_list.Environment().display) {
        display->RefreshInfoPane();
        display->RefreshSpectraListWindow();
    }
}

bool SpectraListPlotPort::CalibrateEnabled() const {
    return m_list.Environment().settings.calibrateEnable != 0;
}

bool SpectraListPlotPort::ShowRoi() const {
    return m_list.Environment().settings.showRoi != 0;
}

bool SpectraListPlotPort::ShowAllRoi() const {
    return m_list.Environment().settings.showAllRoi != 0;
}

int SpectraListPlotPort::DeviceType() const {
    return m_list.Environment().dppDeviceType;
}

void SpectraListPlotPort::VisitSpectra(
    const std::function<void(const SpectrumDrawView&)>& visit) const {
    const int dppType = m_list.Environment().dppDeviceType;
    const int active = m_list.GetActivePosition();
    std::vector<RoiRange> rois;
    m_list.ForEachLocked([&](const CSpectrum& spectrum, int i) {
        const CSpectrum* s = &spectrum;
        rois.clear();
        for (const CRoiEntry& e : s->m_roi.Entries())
            rois.push_back({e.start, e.end});
        SpectrumDrawView v;
        v.active = i == active;
        v.hidden = s->m_bHidden != 0;
        v.valid = s->m_bValid != 0 && s->HasData();
        v.color = s->m_pPen.color;
        v.lineWidth = s->m_pPen.width;
        v.counts = s->m_pData;
        v.gain = std::clamp(s->m_nGain, 0, 6);
        v.lastValidChannel = s->LastValidChannel(dppType, active);
        v.rois = rois;
        v.selectedRoi = s->m_roi.GetSelected();
        visit(v);
    });
}

bool SpectraListPlotPort::AnyRedrawPending() const {
    bool pending = false;
    m_list.ForEachLocked([&](const CSpectrum& s, int) { pending = pending || s.m_bRedrawPending; });
    return pending;
}

void SpectraListPlotPort::RequestRedrawAll() {
    m_list.RequestDisplayUpdateAll();
}

} // namespace vorna
