#include "kestrel/CAcq.h"

#include <cmath>

#include "common/NumberText.h"
#include "settings/CSProfile.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

CAcq::CAcq(KestrelLink& link, Clock& clock, CSProfile& profile, CSpectraList& spectra,
           UserPrompt& prompt, MainWindowSink& sink, AcqHooks hooks)
    : m_link(link), m_clock(clock), m_ownSettings(std::make_unique<ProfileAcqSettings>(profile)),
      m_settings(m_ownSettings.get()), m_spectra(spectra), m_prompt(prompt), m_sink(sink),
      m_hooks(std::move(hooks)) {}

CAcq::CAcq(KestrelLink& link, Clock& clock, AcqSettingsSource& settings, CSpectraList& spectra,
           UserPrompt& prompt, MainWindowSink& sink, AcqHooks hooks)
    : m_link(link), m_clock(clock), m_settings(&settings), m_spectra(spectra), m_prompt(prompt),
      m_sink(sink), m_hooks(std::move(hooks)) {}

int CAcq::Retry(const std::function<int()>& request) {
    int result = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        result = request();
        if (result == 0)
            return 0;
        // Shutting down (or the device stack stopping): no more tries for a window that goes.
        if (QuitRequested())
            return result;
        m_clock.SleepMillis(kRetrySleepMs);
    }
    return result;
}

StatusRecord CAcq::StatusCopy() const {
    std::lock_guard<std::mutex> guard(m_statusLock);
    return m_status;
}

void CAcq::SetStatusCopy(const StatusRecord& record) {
    std::lock_guard<std::mutex> guard(m_statusLock);
    m_status = record;
}

bool CAcq::McsMode() const {
    return Settings().acquireMode == static_cast<int>(AcqMode::LimitedMcs);
}

CSpectrum* CAcq::Live() const {
    return m_spectra.At(0);
}

void CAcq::Message(const char* text) {
    m_prompt.message(text, PromptStyle::Warning);
}

void CAcq::RefreshInfoPane() {
    if (m_displayHolds.load() > 0) {
        m_infoPaneDeferred = true;
        return;
    }
    if (auto* display = m_spectra.Environment().display)
        display->RefreshInfoPane();
}

void CAcq::LoadSettings() {
    const AcqSettings p = Settings();
    KestrelStatus s = Status();
    s.controlWord = static_cast<uint16_t>((p.threshold & kControlThresholdMask) |
                                          (p.absolutePeak ? kControlAbsolutePeak : 0));
    s.group = static_cast<uint16_t>(p.group & 0x3FF);
    s.statusByte = static_cast<uint8_t>(s.statusByte & ~(kStatusLivePreset | kStatusGainMask));
    if (p.liveMode)
        s.statusByte |= kStatusLivePreset;
    s.statusByte |= static_cast<uint8_t>((6 - p.gainIndex) & kStatusGainMask);
    SetStatusCopy(EncodeStatus(s));
    m_link.SetPeakModeMirror(p.absolutePeak != 0);
}

// --- connection ---

int CAcq::ConnectLink() {
    const AcqSettings p = Settings();
    const int port = p.comPort;
    int result = m_link.Connect(port, p.baudRate, m_deviceType.load());
    if (result == 0)
        return 0;
    // The USB interface answers only after its detection sequence.
    if (m_hooks.highPriority)
        m_hooks.highPriority(true);
    m_link.DetectUsb(port);
    if (m_hooks.highPriority)
        m_hooks.highPriority(false);
    return m_link.Connect(port, p.baudRate, m_deviceType.load());
}

bool CAcq::ConnectSteps(bool interactive) {
    if (ConnectLink() != 0) {
        if (interactive)
            Message("Can not connect to LUMO!");
        m_state = AcqState::Disconnected;
        return false;
    }
    m_deviceType = m_link.DeviceType();
    m_usbMode = m_link.UsbMode();
    RefreshStatus();
    if (Status().Locked()) {
        std::optional<uint16_t> code;
        if (m_hooks.askSecurityCode)
            code = m_hooks.askSecurityCode();
        else if (const auto n = m_prompt.askNumber("MCA Security Code", 0, 65535, 0))
            code = static_cast<uint16_t>(*n);
        if (code) {
            m_nSecurityCode = *code;
            m_link.Unlock(*code);
        }
        RefreshStatus();
    }
    m_connected = true;
    if (auto* display = m_spectra.Environment().display)
        display->ResetPlotToFullRange();
    m_sink.Post(DeviceStateEvent{1, true});
    RequestUpload();
    return true;
}

void CAcq::ToggleConnection() {
    if (!m_connected) {
        if (Settings().comPort < 0) {
            Message("Communication port is not defined!");
            return;
        }
        ConnectSteps(true);
        return;
    }
    if (m_prompt.question("Do you want to disconnect LUMO?", false) != PromptAnswer::Yes)
        return;
    m_link.Disconnect();
    m_connected = false;
    m_state = AcqState::Disconnected;
    m_sink.Post(DeviceStateEvent{1, false});
    RefreshInfoPane();
}

AcqQuietResult CAcq::ConnectQuiet() {
    if (Settings().comPort < 0)
        return AcqQuietResult::NoPort;
    return ConnectSteps(false) ? AcqQuietResult::Done : AcqQuietResult::ConnectFailed;
}

AcqQuietResult CAcq::DisconnectQuiet(bool check) {
    if (check && m_connected && IsAcquiring())
        return AcqQuietResult::Acquiring;
    m_link.Disconnect();
    m_connected = false;
    m_state = AcqState::Disconnected;
    return AcqQuietResult::Done;
}

void CAcq::ForceDisconnect() {
    m_link.Disconnect();
    m_connected = false;
    m_state = AcqState::Disconnected;
    m_statusValid = false;
    {
        std::lock_guard<std::mutex> guard(m_statusLock);
        m_status[1] = static_cast<uint8_t>(m_status[1] & ~kStatusAcquiring);
    }
    PostAcquisitionState(false);
    PostConnectionState(false);
}

bool CAcq::EnsureConnected() {
    if (!m_connected) {
        ToggleConnection();
        m_clock.SleepMillis(200);
    }
    return m_connected;
}

int CAcq::BatteryRequest() {
    // The battery request answers a percentage, but a positive operating-system error (a USB
    // port that has gone) looks like one; the same status read with its own result cannot be
    // mistaken.
    StatusRecord record{};
    const int result = m_link.GetStatus(record);
    if (result != 0)
        return result > 0 ? -result : result;
    const KestrelStatus status = DecodeStatus(record);
    return BatteryPercent(status.battery, status.NiCd());
}

DevicePane CAcq::QueryDevicePane() {
    if (!m_connected)
        return {0, "MCA not connected"};
    const int percent = BatteryRequest();
    if (percent < 0)
        return {0, "MCA not connected"};
    if (percent >= KestrelLink::kExternalPower)
        return {1, "AC Power"};
    return {2, Format("Battery - %d %%", percent)};
}

DevicePane CAcq::CachedDevicePane() const {
    if (!m_connected)
        return {0, "MCA not connected"};
    const KestrelStatus status = Status();
    const int percent = BatteryPercent(status.battery, status.NiCd());
    if (percent >= KestrelLink::kExternalPower)
        return {1, "AC Power"};
    return {2, Format("Battery - %d %%", percent)};
}

bool CAcq::CheckStillConnected() {
    if (BatteryRequest() > 0)
        return true;
    DisconnectQuiet(false);
    {
        std::lock_guard<std::mutex> guard(m_statusLock);
        m_status[1] = static_cast<uint8_t>(m_status[1] & ~kStatusAcquiring);
    }
    m_sink.Post(DeviceStateEvent{1, false});
    return false;
}

// --- status ---

bool CAcq::ReadStatusRecord(StatusRecord& record) {
    for (int round = 0; round < 3; ++round) {
        if (Retry([&] { return m_link.GetStatus(record); }) == 0)
            return true;
        if (!m_connected)
            return false;
    }
    return false;
}

bool CAcq::RefreshStatus() {
    StatusRecord record{};
    if (!ReadStatusRecord(record)) {
        if (m_connected) {
            Message("Failed to upload status from MCA!");
            m_statusValid = false;
        }
        return false;
    }
    const KestrelStatus oldCopy = Status();
    KestrelStatus status = DecodeStatus(record);
    ApplyStatusToLive(status);
    m_statusValid = true;
    if (m_link.DeviceType() != KestrelDeviceType::KestrelA) {
        // The older model does not report its memory group.
        status.group = oldCopy.group;
        record = EncodeStatus(status);
    }
    SetStatusCopy(record);
    ReadStartTime();
    ProfileWriteEvent learned;
    learned.group = status.group;
    learned.threshold = status.Threshold();
    learned.liveMode = status.LivePreset() ? 1 : 0;
    learned.gainIndex = 6 - status.GainCode();
    m_settings->Write(learned);
    UpdateStateFromStatus();
    RefreshInfoPane();
    return true;
}

void CAcq::ApplyStatusToLive(const KestrelStatus& status) {
    CSpectrum* live = Live();
    if (!live)
        return;
    const int gainIndex = 6 - status.GainCode();
    const int channels = CSpectrum::ChannelsForGain(gainIndex);
    bool resized = false;
    {
        auto s = live->Lock();
        s->m_dLiveTime = status.LiveSeconds();
        s->m_dRealTime = status.RealSeconds();
        if (s->m_nChannels != channels || static_cast<int>(s->m_pData.size()) != channels) {
            s->m_nGain = gainIndex;
            s->m_nChannels = channels;
            s->AllocateData(channels);
            resized = true;
        }
    }
    // The buffer holds the old channel layout; the navigation fields show the same view in the
    // new channel count.
    if (resized) {
        ForgetPreviousUpload(true);
        if (auto* display = m_spectra.Environment().display;
            display && m_spectra.GetActivePosition() == 0)
            display->SpectrumActivated(*live);
    }
    const AcqSettings p = Settings();
    auto s = live->Lock();
    s->m_nThreshold = status.Threshold();
    switch (static_cast<AcqPresetMode>(p.presetMode)) {
    case AcqPresetMode::Counts:
        s->m_nPresetTime = p.spTotalCts;
        break;
    case AcqPresetMode::Channel:
        s->m_nPresetTime = p.spChanCts;
        break;
    default:
        s->m_nPresetTime = static_cast<int32_t>(status.preset);
    }
    s->m_nSerialNumber = status.serial;
}

void CAcq::ReadStartTime() {
    CSpectrum* live = Live();
    if (m_link.DeviceType() != KestrelDeviceType::KestrelA) {
        if (live)
            live->Lock()->SetStartTime("");
        return;
    }
    std::string text;
    int result = 0;
    for (int round = 0; round < 3; ++round) {
        result = Retry([&] { return m_link.ReadClock(text); });
        if (result == 0 || !m_connected)
            break;
    }
    if (result == 0) {
        if (live)
            live->Lock()->SetStartTime(text);
    } else if (m_connected && !Settings().repeatMeasEnable) {
        Message("Failed to upload time-stamp from MCA!");
    }
}

void CAcq::UpdateStateFromStatus() {
    const AcqState before = m_state.load();
    if (IsAcquiring()) {
        m_state = AcqState::Acquiring;
        if (before != AcqState::Acquiring)
            m_sink.Post(DeviceStateEvent{0, true});
        return;
    }
    m_state = AcqState::Idle;
    if (before == AcqState::Acquiring)
        m_sink.Post(DeviceStateEvent{0, false});
    // A repeated measurement waits for this end; an open-ended run (preset None) never comes.
    if (before == AcqState::Acquiring && Settings().presetMode != 3 &&
        m_waitingForEnd.exchange(false)) {
        // In MCA mode the run's last counts are still in the device: the series saves the
        // spectrum on this notice, so it waits for the final upload.
        if (McsMode())
            m_sink.Post(MainMessage::AcquisitionEnded);
        else
            m_endNoticePending = true;
    }
}

bool CAcq::ReadTimes() {
    StatusRecord record{};
    if (m_link.GetStatus(record) != 0)
        return false;
    const KestrelStatus status = DecodeStatus(record);
    if (CSpectrum* live = Live()) {
        auto s = live->Lock();
        s->m_dLiveTime = status.LiveSeconds();
        s->m_dRealTime = status.RealSeconds();
    }
    return true;
}

bool CAcq::IsAcquiring() {
    if (!m_statusValid || !Status().Acquiring())
        return false;
    EnforceSoftwarePresets();
    return m_statusValid && Status().Acquiring();
}

bool CAcq::PresetReached() {
    CSpectrum* live = Live();
    if (!live)
        return false;
    const AcqSettings p = Settings();
    auto s = live->Lock();
    switch (static_cast<AcqPresetMode>(p.presetMode)) {
    case AcqPresetMode::Counts:
        return std::llround(s->m_dTotalCounts) >= p.spTotalCts;
    case AcqPresetMode::Channel: {
        const int c = p.spChanPosition;
        const long long value = c >= 0 && c < static_cast<int>(s->m_pData.size())
                                    ? std::llround(s->m_pData[static_cast<size_t>(c)])
                                    : -1;
        return value >= p.spChanCts;
    }
    default:
        return false;
    }
}

void CAcq::EnforceSoftwarePresets() {
    const auto mode = static_cast<AcqPresetMode>(Settings().presetMode);
    if (mode != AcqPresetMode::Counts && mode != AcqPresetMode::Channel)
        return;
    if (!PresetReached())
        return;
    {
        std::lock_guard<std::mutex> guard(m_statusLock);
        m_status[1] = static_cast<uint8_t>(m_status[1] & ~kStatusAcquiring);
    }
    StopAcquisition();
    m_clock.SleepMillis(1000);
    RequestUpload();
    // Cleared meanwhile (Delete Data): the run goes on towards its preset.
    if (!PresetReached())
        StartAcquisition();
}

// --- acquisition ---

bool CAcq::StartAcquisition() {
    if (Retry([&] { return m_link.Start(true); }) != 0) {
        Message("Failed to start data acquisition!");
        return false;
    }
    m_endNoticePending = false; // a run whose final upload failed must not end this one
    return true;
}

bool CAcq::StopAcquisition() {
    if (Retry([&] { return m_link.Stop(); }) != 0) {
        Message("Failed to stop data acquisition!");
        return false;
    }
    return true;
}

void CAcq::ToggleAcquisition() {
    if (!EnsureConnected())
        return;
    if (McsMode() && m_spectra.GetCount() > 1) {
        if (m_prompt.question("MCS acquisition mode will delete all spectra in the spectra "
                              "list.\nContinue with MCS acquisition?",
                              false) != PromptAnswer::Yes)
            return;
        for (int position = m_spectra.GetCount() - 1; position >= 1; --position)
            if (!m_spectra.Close(m_spectra.At(position)))
                return;
        DeleteDataAndResetTime();
    }
    if (IsAcquiring()) {
        if (StopAcquisition()) {
            RefreshStatus();
            if (!McsMode())
                RequestUpload();
        }
        return;
    }
    if (StartAcquisition()) {
        m_clock.SleepMillis(300);
        RefreshStatus();
        if (Settings().autoUpdate)
            RequestUpload();
        else if (m_hooks.wakeUploadWorker)
            m_hooks.wakeUploadWorker(); // it follows the status, so it sees the run end
    }
}

void CAcq::RequestUpload() {
    if (!EnsureConnected())
        return;
    {
        std::lock_guard<std::recursive_mutex> guard(m_uploadLock);
        m_plausibility.Invalidate();
        m_mcs.EndPass();
    }
    m_uploadRequested = true;
    if (m_hooks.wakeUploadWorker)
        m_hooks.wakeUploadWorker();
}

// --- indicators ---

void CAcq::PostAcquisitionState(bool on) {
    m_sink.Post(StatusTextEvent{0, on ? kAcqStartedText : kAcqStoppedText});
    m_sink.Post(DeviceStateEvent{0, on});
    // The device pane follows, so a run that ends by itself also shows whether the analyzer
    // is still there.
    m_sink.Post(StatusTextEvent{1, m_connected ? kMcaConnectedText : kMcaNotConnectedText});
}

void CAcq::PostConnectionState(bool on) {
    m_sink.Post(StatusTextEvent{0, on ? kMcaConnectedText : kMcaNotConnectedText});
    m_sink.Post(DeviceStateEvent{1, on});
}

} // namespace vorna
