#include "appcore/DppLiveTarget.h"

#include <algorithm>

#include "dpp/DppBootFlags.h"
#include "dpp/DppConfigText.h"
#include "dpp/DppDevice.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

DppLiveTarget::DppLiveTarget(CSpectraList& list, std::function<void()> redraw)
    : m_list(list), m_redraw(std::move(redraw)) {}

int DppLiveTarget::GainIndexForChannels(int channels) {
    for (int gain = 0; gain <= 6; ++gain)
        if (CSpectrum::ChannelsForGain(gain) == channels)
            return gain;
    return -1;
}

void DppLiveTarget::ReplaceCounts(std::span<const uint32_t> counts, int channels, double total) {
    const int gain = GainIndexForChannels(channels);
    CSpectrum* live = m_list.At(0);
    if (!live || gain < 0)
        return;
    SpectrumEnvironment& env = m_list.Environment();
    bool resized = false;
    {
        auto s = live->Lock();
        if (s->m_nGain != gain || static_cast<int>(s->m_pData.size()) != channels) {
            resized = true;
            s->m_nGain = gain;
            s->m_nChannels = channels;
            if (!s->AllocateData(channels, env.prompt))
                return;
        }
        const size_t n = std::min(counts.size(), static_cast<size_t>(channels));
        std::copy(counts.begin(), counts.begin() + static_cast<long>(n), s->m_pData.begin());
        std::fill(s->m_pData.begin() + static_cast<long>(n), s->m_pData.end(), 0.0);
        s->m_bValid = 1;
    }
    live->UpdateTotals(env, m_list.GetActivePosition());
    // The device's own sum covers every channel, also those beyond the last valid one.
    live->Lock()->m_dTotalCounts = total;
    // A new channel count changes what the navigation fields show for the same view.
    if (resized && env.display && m_list.GetActivePosition() == 0)
        env.display->SpectrumActivated(*live);
    live->RequestDisplayUpdate(env);
}

void DppLiveTarget::SetTimes(double realTime, double liveTime, const std::string& startTime) {
    if (CSpectrum* live = m_list.At(0)) {
        auto s = live->Lock();
        s->m_dRealTime = realTime;
        s->m_dLiveTime = liveTime;
        s->SetStartTime(startTime);
    }
}

void DppLiveTarget::ClearData() {
    CSpectrum* live = m_list.At(0);
    if (!live)
        return;
    {
        auto s = live->Lock();
        std::fill(s->m_pData.begin(), s->m_pData.end(), 0.0);
        s->m_dRealTime = 0;
        s->m_dLiveTime = 0;
    }
    live->UpdateTotals(m_list.Environment(), m_list.GetActivePosition());
    live->Lock()->m_dTotalCounts = 0.0;
    Redraw();
}

void DppLiveTarget::Redraw() {
    if (m_redraw)
        m_redraw();
}

bool DppDeviceBlocks::Known() const {
    return m_connected() || m_device.status.serialNumber != 0;
}

std::string DppDeviceBlocks::ConfigurationBlock() const {
    return Known() ? ConfigurationText(m_device.config, m_device.status) : std::string();
}

std::string DppDeviceBlocks::StatusBlock() const {
    return Known() ? m_device.status.StatusBlockText() : std::string();
}

std::string DppDeviceBlocks::BootFlagsBlock() const {
    return Known() ? BootFlagsText(m_device.status.bootFlags) : std::string();
}

int DppDeviceBlocks::SerialNumber() const {
    return Known() ? static_cast<int>(m_device.status.serialNumber) : 0;
}

} // namespace vorna
