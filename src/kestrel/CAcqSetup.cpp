// Clearing the device and the live spectrum, the threshold, and what the setup dialog changes.

#include "kestrel/CAcq.h"
#include "settings/CSProfile.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

// Autoscaling while counts are cleared under a running acquisition would jump the plot to the
// empty spectrum and back; it is held off for the duration of the clear.
class CAcq::AutoscaleHold {
public:
    AutoscaleHold(CAcq& acq, bool hold) : m_acq(acq), m_hold(hold) {
        if (m_hold)
            ++m_acq.m_autoscaleHolds;
    }
    ~AutoscaleHold() {
        if (m_hold)
            --m_acq.m_autoscaleHolds;
    }
    AutoscaleHold(const AutoscaleHold&) = delete;
    AutoscaleHold& operator=(const AutoscaleHold&) = delete;

private:
    CAcq& m_acq;
    bool m_hold;
};

class CAcq::DisplayHold {
public:
    explicit DisplayHold(CAcq& acq) : m_acq(acq) { ++m_acq.m_displayHolds; }
    ~DisplayHold() {
        if (--m_acq.m_displayHolds == 0 && m_acq.m_infoPaneDeferred.exchange(false))
            m_acq.RefreshInfoPane();
    }
    DisplayHold(const DisplayHold&) = delete;
    DisplayHold& operator=(const DisplayHold&) = delete;

private:
    CAcq& m_acq;
};

bool CAcq::ClearRequest(int (KestrelLink::*request)(), const char* failure) {
    if (Retry([&] { return (m_link.*request)(); }) != 0) {
        Message(failure);
        return false;
    }
    return true;
}

bool CAcq::DeleteData() {
    if (!EnsureConnected())
        return false;
    DisplayHold display(*this);
    AutoscaleHold hold(*this, IsAcquiring());
    if (!ClearRequest(&KestrelLink::ClearData, "Failed to clear data!"))
        return false;
    ClearLiveSpectrum();
    return true;
}

bool CAcq::ResetTime() {
    if (!EnsureConnected())
        return false;
    DisplayHold display(*this);
    if (!ClearRequest(&KestrelLink::ClearTime, "Failed to reset time!"))
        return false;
    RefreshStatus();
    return true;
}

bool CAcq::DeleteDataAndResetTime() {
    if (!EnsureConnected())
        return false;
    DisplayHold display(*this);
    AutoscaleHold hold(*this, IsAcquiring());
    if (!ClearRequest(&KestrelLink::ClearAll, "Failed to clear data!"))
        return false;
    RefreshStatus();
    ClearLiveSpectrum();
    return true;
}

bool CAcq::ChangeThreshold(int value) {
    if (!EnsureConnected())
        return false;
    if (Retry([&] { return m_link.SetThreshold(value); }) != 0) {
        Message("Failed to clear data!");
        return false;
    }
    return true;
}

std::optional<AcqSetup> CAcq::SetupValues() {
    if (!EnsureConnected())
        return std::nullopt;
    RefreshStatus();
    {
        std::lock_guard<std::mutex> guard(m_statusLock);
        KestrelStatus s = DecodeStatus(m_status);
        s.controlWord = static_cast<uint16_t>((s.controlWord & kControlThresholdMask) |
                                              (Settings().absolutePeak ? kControlAbsolutePeak : 0));
        m_status = EncodeStatus(s);
    }
    if (!m_statusValid)
        return std::nullopt;
    const KestrelStatus s = Status();
    AcqSetup v;
    v.gainIndex = 6 - s.GainCode();
    v.group = s.group;
    if (CSpectrum* live = Live())
        v.liveMode = live->Lock()->m_nLiveMode;
    v.peakMode = s.AbsolutePeak() ? 0 : 1;
    v.timerType = s.LivePreset() ? 0 : 1;
    v.threshold = s.Threshold();
    const AcqSettings p = Settings();
    v.presetMode = p.presetMode;
    v.acquireMode = p.acquireMode;
    v.channelUsed = p.spChanPosition;
    if (v.presetMode == static_cast<int>(AcqPresetMode::Counts))
        v.preset = static_cast<uint32_t>(p.spTotalCts);
    else if (v.presetMode == static_cast<int>(AcqPresetMode::Channel))
        v.preset = static_cast<uint32_t>(p.spChanCts);
    else
        v.preset = s.preset;
    return v;
}

bool CAcq::ChangeControl(const AcqSetup& before, const AcqSetup& after) {
    if (before.peakMode != after.peakMode)
        m_link.SetPeakModeMirror(after.peakMode == 0);
    KestrelStatus s = Status();
    uint8_t statusByte =
        static_cast<uint8_t>(s.statusByte & ~(kStatusGainMask | kStatusLivePreset));
    statusByte |= static_cast<uint8_t>((6 - after.gainIndex) & kStatusGainMask);
    if (after.timerType == 0)
        statusByte |= kStatusLivePreset;
    const uint16_t control =
        static_cast<uint16_t>((after.threshold & kControlThresholdMask) |
                              (after.peakMode == 0 ? kControlAbsolutePeak : 0));
    if (Retry([&] {
            return m_link.SetControl(statusByte, static_cast<uint8_t>(control & 0xFF),
                                     static_cast<uint8_t>(control >> 8));
        }) != 0) {
        Message("Failed to change MCA status control!");
        return false;
    }
    s.statusByte = statusByte;
    s.controlWord = control;
    SetStatusCopy(EncodeStatus(s));
    ProfileWriteEvent peak;
    peak.absolutePeak = after.peakMode == 0 ? 1 : 0;
    m_settings->Write(peak);
    if (CSpectrum* live = Live()) {
        const int channels = CSpectrum::ChannelsForGain(after.gainIndex);
        bool resized = false;
        {
            auto l = live->Lock();
            l->m_nLiveMode = after.liveMode;
            if (l->m_nChannels != channels) {
                l->m_nGain = after.gainIndex;
                l->m_nChannels = channels;
                l->AllocateData(channels);
                resized = true;
            }
        }
        if (resized)
            ForgetPreviousUpload(true);
    }
    RequestUpload();
    return true;
}

bool CAcq::ApplySetup(const AcqSetup& before, const AcqSetup& after) {
    bool clearAfter = false;
    if (before.gainIndex != after.gainIndex) {
        const PromptAnswer answer = m_prompt.question("Do you want to save MCA data?", true);
        if (answer == PromptAnswer::Cancel)
            return false;
        if (answer == PromptAnswer::Yes) {
            if (!McsMode())
                Upload();
            CSpectrum* live = Live();
            if (live && live->Lock()->m_bValid && m_hooks.saveLiveSpectrumAs)
                m_hooks.saveLiveSpectrumAs(*live);
        } else {
            clearAfter = true;
        }
    }
    if (before.group != after.group) {
        if (Retry([&] { return m_link.SetGroup(after.group); }) != 0) {
            Message("Failed to change group!");
            return false;
        }
        RequestUpload();
    }
    const bool statusChanged =
        before.gainIndex != after.gainIndex || before.timerType != after.timerType;
    if (statusChanged || before.threshold != after.threshold || before.peakMode != after.peakMode)
        if (!ChangeControl(before, after))
            return false;
    if (before.preset != after.preset) {
        const bool software = after.presetMode == static_cast<int>(AcqPresetMode::Counts) ||
                              after.presetMode == static_cast<int>(AcqPresetMode::Channel);
        const int32_t preset = software ? 0 : static_cast<int32_t>(after.preset);
        if (Retry([&] { return m_link.SetPreset(preset); }) != 0) {
            Message("Failed to change preset time!");
            return false;
        }
        KestrelStatus s = Status();
        s.preset = static_cast<uint32_t>(preset);
        SetStatusCopy(EncodeStatus(s));
    }
    RefreshInfoPane();
    if (clearAfter) {
        DeleteDataAndResetTime();
        if (auto* display = m_spectra.Environment().display)
            display->ResetPlotToFullRange();
        RequestUpload();
    }
    return true;
}

} // namespace vorna
