// The upload of the channel counts into the live spectrum and the Limited-MCS bins and history.

#include <algorithm>
#include <memory>
#include <numeric>

#include "kestrel/CAcq.h"
#include "settings/CSProfile.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

bool CAcq::QuitRequested() const {
    return m_hooks.quit && m_hooks.quit->load();
}

bool CAcq::Upload() {
    CSpectrum* live = Live();
    if (!live)
        return false;
    std::lock_guard<std::mutex> transfer(m_transferLock);
    const unsigned generation = m_clearGeneration;
    int n = 0;
    {
        auto s = live->Lock();
        n = s->m_nChannels;
        s->m_bValid = 0;
    }
    if (n < 256 || n > 16384)
        return false;
    bool ok = false;
    bool quit = false;
    std::pair<int, int> range{0, n - 1};
    bool superseded = false;
    for (int pass = 0; pass < 2 && !ok && !quit; ++pass) {
        if (pass == 1 && !m_connected)
            break;
        if (m_hooks.timesTimer)
            m_hooks.timesTimer(true);
        ok = TransferPass(n, range, quit);
        if (m_hooks.timesTimer)
            m_hooks.timesTimer(false);
        m_uploadRequested = false;
        // The gain changed under the transfer (the setup dialog, between two chunks): the
        // device no longer has the channels asked for. That is no device failure; the upload
        // the change requested brings the new layout.
        if (!ok && live->Lock()->m_nChannels != n) {
            superseded = true;
            break;
        }
    }
    if (quit || superseded)
        return true; // the half-read buffer goes nowhere
    if (!ok) {
        if (m_connected)
            Message("Failed to upload data from MCA!");
        return false;
    }
    if (!PlaceUpload(*live, n, range, generation))
        return true; // cleared meanwhile: the next upload reads the cleared device
    if (m_state == AcqState::Idle && m_endNoticePending.exchange(false))
        m_sink.Post(MainMessage::AcquisitionEnded);
    return true;
}

std::pair<int, int> CAcq::VisibleChannels(int channels) {
    if (!m_hooks.visibleAbsoluteRange)
        return {0, channels - 1};
    const auto [firstAbs, lastAbs] = m_hooks.visibleAbsoluteRange();
    int shift = 0;
    while ((16384 >> shift) > channels)
        ++shift;
    int first = std::clamp(firstAbs >> shift, 0, channels - 1);
    int last = std::clamp(lastAbs >> shift, first, channels - 1);
    // Through the calibrated unit and back, as the plot labels them; a round trip that lands a
    // channel short must not leave a visible channel out of the transfer.
    if (CSpectrum* live = Live()) {
        auto s = live->Lock();
        const bool calibrated = Settings().calibrateEnable != 0;
        const int a = s->EnergyToChannel(s->ChannelToEnergy(first, calibrated), calibrated);
        const int b = s->EnergyToChannel(s->ChannelToEnergy(last, calibrated), calibrated);
        first = std::clamp(std::min(first, a), 0, channels - 1);
        last = std::clamp(std::max(last, b), first, channels - 1);
    }
    return {first, last};
}

bool CAcq::TransferPass(int channels, std::pair<int, int>& range, bool& quit) {
    auto [first, last] = VisibleChannels(channels);
    if (McsMode() || (first == 0 && last == channels - 1))
        first = 0, last = channels - 1;
    range = {first, last};
    const int chunk = std::min(channels, 1024);
    for (int start = first; start <= last; start += chunk) {
        const int count = std::min(chunk, last - start + 1);
        if (!ReadChunk(start, count, quit))
            return false;
        if (quit)
            return true;
        // The window asks for the times while a long transfer runs; the link is ours between
        // chunks, so the read happens here instead of making the window wait for the link.
        if (m_timesWanted.exchange(false) && ReadTimes())
            RefreshInfoPane();
    }
    return true;
}

bool CAcq::ReadChunk(int start, int count, bool& quit) {
    const std::span<uint32_t> target(m_transfer.data() + start, static_cast<size_t>(count));
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (QuitRequested()) {
            quit = true;
            return true;
        }
        if (m_link.ReadData(target, start, count) == 0)
            return true;
        m_clock.SleepMillis(kRetrySleepMs);
    }
    return false;
}

bool CAcq::PlaceUpload(CSpectrum& live, int channels, std::pair<int, int> range,
                       unsigned clearGeneration) {
    {
        // Lock order: buffer, then spectrum; the list lock is never taken under either.
        std::lock_guard<std::recursive_mutex> upload(m_uploadLock);
        // Counts read before a Delete Data would bring the cleared spectrum back.
        if (clearGeneration != m_clearGeneration)
            return false;
        std::copy(m_transfer.begin() + range.first, m_transfer.begin() + range.second + 1,
                  m_buffer.begin() + range.first);
        const std::span<uint32_t> counts(m_buffer.data(), static_cast<size_t>(channels));
        ZeroTopChannels(counts);
        m_plausibility.Apply(counts, 0);
        auto s = live.Lock();
        if (static_cast<int>(s->m_pData.size()) != channels)
            return true; // the gain changed under the transfer; the next upload brings the new
                         // layout
        if (!McsMode())
            std::copy(counts.begin(), counts.end(), s->m_pData.begin());
        else if (channels <= 256)
            m_mcs.Record(counts, s->m_pData);
        s->m_bValid = 1;
    }
    RecomputeLive();
    return true;
}

void CAcq::RecomputeLive() {
    CSpectrum* live = Live();
    if (!live)
        return;
    SpectrumEnvironment& env = m_spectra.Environment();
    const int active = m_spectra.GetActivePosition();
    live->UpdateTotals(env, active);
    live->RequestDisplayUpdate(env);
    // A derived spectrum may be closed on the UI thread at any moment; the list lock keeps the
    // links and the spectra they name in place while the evaluations are requested.
    auto listGuard = m_spectra.Lock();
    std::vector<CSpectrum*> dependents;
    {
        auto s = live->Lock();
        for (int i = 0; i < s->m_linked.GetCount(); ++i)
            dependents.push_back(s->m_linked[i]);
    }
    for (CSpectrum* dependent : dependents) {
        bool derived = false;
        {
            auto d = dependent->Lock();
            derived = d->m_bDerived && d->m_pProgram;
        }
        if (derived)
            dependent->RequestEvaluation(env);
    }
}

void CAcq::ClearLiveSpectrum() {
    if (McsMode()) {
        EndMcsPass();
        ResetMcs();
    }
    // A zoomed upload refreshes only what is visible; the rest comes from the buffer and must
    // not bring the cleared counts back.
    ForgetPreviousUpload(true);
    if (CSpectrum* live = Live()) {
        {
            auto s = live->Lock();
            std::fill(s->m_pData.begin(), s->m_pData.end(), 0.0);
        }
        live->UpdateTotals(m_spectra.Environment(), m_spectra.GetActivePosition());
        live->Lock()->m_dTotalCounts = 0.0;
    }
    RefreshInfoPane();
}

void CAcq::ForgetPreviousUpload(bool zeroBuffer) {
    std::lock_guard<std::recursive_mutex> upload(m_uploadLock);
    m_plausibility.Invalidate();
    if (zeroBuffer) {
        std::fill(m_buffer.begin(), m_buffer.end(), 0u);
        ++m_clearGeneration;
    }
}

// --- Limited MCS ---

void CAcq::ResetMcs() {
    std::lock_guard<std::recursive_mutex> upload(m_uploadLock);
    m_mcs.ResetHistory();
}

void CAcq::EndMcsPass() {
    std::lock_guard<std::recursive_mutex> upload(m_uploadLock);
    m_mcs.EndPass();
}

std::vector<uint32_t> CAcq::McsHistory() const {
    std::lock_guard<std::recursive_mutex> upload(m_uploadLock);
    return m_mcs.History();
}

void CAcq::FillFromHistory(CSpectrum& target, const std::vector<uint32_t>& history) {
    const int gainIndex = McsResultGainIndex(history.size());
    const int channels = CSpectrum::ChannelsForGain(gainIndex);
    target.m_nGain = gainIndex;
    target.m_nChannels = channels;
    target.AllocateData(channels);
    const size_t n = std::min(history.size(), static_cast<size_t>(channels));
    std::copy_n(history.begin(), n, target.m_pData.begin());
    target.m_dTotalCounts = std::accumulate(target.m_pData.begin(), target.m_pData.end(), 0.0);
    target.m_bValid = 1;
}

bool CAcq::StoreMcsResult() {
    CSpectrum* live = Live();
    if (!live)
        return false;
    const std::vector<uint32_t> history = McsHistory();
    auto result = std::make_unique<CSpectrum>();
    {
        auto s = live->Lock();
        CSpectrum::MakeMcsResultCopy(&*s, result.get(), m_spectra.Environment().spectraDirectory);
    }
    FillFromHistory(*result, history);
    if (!m_spectra.Add(result, false))
        return false;
    if (auto* display = m_spectra.Environment().display)
        display->RedrawPlot();
    m_sink.Post(MainMessage::RefreshSpectraList);
    RefreshInfoPane();
    return true;
}

void CAcq::ShowMcsHistory() {
    CSpectrum* live = Live();
    if (!live)
        return;
    const std::vector<uint32_t> history = McsHistory();
    {
        auto s = live->Lock();
        FillFromHistory(*s, history);
    }
    RecomputeLive();
}

} // namespace vorna
