#pragma once
// The Kestrel acquisition controller: connects the analyzer, keeps a copy of its status record,
// starts and stops acquisitions, clears data and time, enforces the software presets, uploads the
// channel counts into the live spectrum (list position 0) and runs the Limited-MCS mode. It
// reaches the device only through KestrelLink; user commands run on the UI thread, uploads and
// status refreshes on the upload worker, and the link lock keeps their requests apart.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/Clock.h"
#include "common/MainWindowSink.h"
#include "common/UserPrompt.h"
#include "kestrel/AcqSettings.h"
#include "kestrel/AcqUploadMath.h"
#include "kestrel/KestrelLink.h"
#include "kestrel/KestrelStatusRecord.h"

namespace vorna {

class CSpectraList;
class CSpectrum;
class CSProfile;

enum class AcqState : int { Disconnected = 1, Idle = 2, Acquiring = 3 };
enum class AcqMode : int { Mca = 0, LimitedMcs = 1 };
enum class AcqPresetMode : int { Seconds = 0, Counts = 1, Channel = 2, None = 3 };

// Results of the quiet connect and disconnect.
enum class AcqQuietResult : int { Done = 0, Acquiring = -98, ConnectFailed = -99, NoPort = -100 };

// What the controller needs from the program around it; every member may stay empty.
struct AcqHooks {
    // Wakes the upload worker.
    std::function<void()> wakeUploadWorker;
    // The "MCA Security Code" dialog: a number 0..65535, or nothing on Cancel.
    std::function<std::optional<uint16_t>()> askSecurityCode;
    // Raises the calling thread to the highest priority (true) and back (false) around the USB
    // detection, whose timing is tight.
    std::function<void(bool)> highPriority;
    // Main-window timer 1031 (live and real time from the status while an upload runs).
    std::function<void(bool)> timesTimer;
    // First and last absolute channel (0..16383) the plot shows.
    std::function<std::pair<int, int>()> visibleAbsoluteRange;
    // Save As for the live spectrum before a gain change; false when nothing was saved.
    std::function<bool(CSpectrum&)> saveLiveSpectrumAs;
    // The program-wide quit flag; an upload ends before its next chunk once it is set.
    const std::atomic<bool>* quit = nullptr;
};

// The values the setup dialog edits.
struct AcqSetup {
    int gainIndex = 2;
    int group = 0;
    int liveMode = 0;
    int peakMode = 1;  // 0 "Absolute", 1 "First"
    int timerType = 1; // 0 "Live Time", 1 "Real Time"
    int threshold = 50;
    uint32_t preset = 0;
    int channelUsed = 128;
    int acquireMode = 0;
    int presetMode = 3;
};

// The device pane of the status bar.
struct DevicePane {
    int icon = 0; // 0 not connected, 1 external power, 2 battery
    std::string text;
};

struct McaPreferences {
    bool connected = false;
    uint16_t securityCode = 0;
    int batteryType = 0; // 0 Alkaline, 1 NiCd
};

inline constexpr const char* kAcqStartedText = "Acquisition started...";
inline constexpr const char* kAcqStoppedText = "Acquisition stopped...";
inline constexpr const char* kMcaConnectedText = "MCA connected...";
inline constexpr const char* kMcaNotConnectedText = "MCA not connected...";

class CAcq {
public:
    static constexpr int kAttempts = 5;
    static constexpr int kRetrySleepMs = 100;

    // A controller on one thread with the profile itself (tests, tools).
    CAcq(KestrelLink& link, Clock& clock, CSProfile& profile, CSpectraList& spectra,
         UserPrompt& prompt, MainWindowSink& sink, AcqHooks hooks = {});
    // The program's controller: its threads read published settings.
    CAcq(KestrelLink& link, Clock& clock, AcqSettingsSource& settings, CSpectraList& spectra,
         UserPrompt& prompt, MainWindowSink& sink, AcqHooks hooks = {});
    CAcq(const CAcq&) = delete;
    CAcq& operator=(const CAcq&) = delete;

    // --- connection ---
    void LoadSettings();
    void ToggleConnection();
    AcqQuietResult ConnectQuiet();
    AcqQuietResult DisconnectQuiet(bool check);
    void ForceDisconnect();
    bool EnsureConnected();
    // The device pane, asking the link for the battery when connected.
    DevicePane QueryDevicePane();
    // The device pane from the last status record read, without traffic (the UI thread).
    DevicePane CachedDevicePane() const;
    // Menu opening: a battery answer of 0 or below means the device is gone; disconnects
    // quietly and returns false then.
    bool CheckStillConnected();

    // --- status ---
    bool RefreshStatus();
    bool ReadTimes();
    // Status valid and the acquiring bit set; also enforces the software presets.
    bool IsAcquiring();

    // --- acquisition ---
    void ToggleAcquisition();
    bool StartAcquisition();
    bool StopAcquisition();
    bool DeleteData();
    bool ResetTime();
    bool DeleteDataAndResetTime();
    bool ChangeThreshold(int value);
    void RequestUpload();
    // Transfers the channel data into the live spectrum; the plot's visible range comes from
    // the hook (the whole spectrum without one).
    bool Upload();
    void ClearLiveSpectrum();

    // --- Limited MCS ---
    void ResetMcs();
    void EndMcsPass();
    bool StoreMcsResult();
    void ShowMcsHistory();
    std::vector<uint32_t> McsHistory() const;

    // --- setup ---
    // Refreshes the status and fills the dialog's values; nothing when not connected.
    std::optional<AcqSetup> SetupValues();
    // Sends what changed after the dialog's OK; false when the user cancelled at the gain
    // question or a device write failed.
    bool ApplySetup(const AcqSetup& before, const AcqSetup& after);

    // --- preferences ---
    // What the MCA preferences page shows: the security code held here and the battery type,
    // read from the analyzer's status while connected.
    McaPreferences PreferencesValues() const;
    // The page's OK: both values kept here and, while connected, sent: the code to a KestrelA
    // (then the status is read again), the battery type into the status byte when it differs.
    // Link failures are not reported.
    void ApplyPreferences(uint16_t securityCode, int batteryType);

    // --- indicators ---
    void PostAcquisitionState(bool on);
    void PostConnectionState(bool on);
    // Set by a repeated measurement that waits for the end of an acquisition.
    void SetWaitingForEnd(bool waiting) { m_waitingForEnd.store(waiting); }
    void RefreshInfoPane();
    // Timer 1031 during an upload: the worker reads the times at its next chunk boundary.
    void RequestTimesRead() { m_timesWanted = true; }

    // --- state ---
    AcqState State() const { return m_state.load(); }
    bool Connected() const { return m_connected.load(); }
    bool StatusValid() const { return m_statusValid.load(); }
    bool UploadRequested() const { return m_uploadRequested.load(); }
    bool UsbMode() const { return m_usbMode.load(); }
    KestrelDeviceType DeviceType() const { return m_deviceType.load(); }
    StatusRecord StatusCopy() const;
    KestrelStatus Status() const { return DecodeStatus(StatusCopy()); }
    bool McsMode() const;
    AcqSettings Settings() const { return m_settings->Get(); }
    // A clear under a running acquisition holds the plot's autoscale off meanwhile.
    bool AutoscaleHeld() const { return m_autoscaleHolds.load() > 0; }
    // Entered at connect or on the MCA preferences page; the page also sets the battery type.
    std::atomic<uint16_t> m_nSecurityCode{0};
    std::atomic<int> m_nBatteryType{0}; // 0 Alkaline, 1 NiCd

private:
    // Holds off the panes while the device and the live spectrum are cleared, so they never
    // show times already reset beside counts not yet cleared; one refresh follows the clear.
    class DisplayHold;
    class AutoscaleHold;

    // Tries a request up to kAttempts times, kRetrySleepMs apart; the last result.
    int Retry(const std::function<int()>& request);
    int ConnectLink();
    int BatteryRequest();
    bool ConnectSteps(bool interactive);
    bool ReadStatusRecord(StatusRecord& record);
    void ApplyStatusToLive(const KestrelStatus& status);
    void ReadStartTime();
    void UpdateStateFromStatus();
    void EnforceSoftwarePresets();
    bool PresetReached();
    bool ClearRequest(int (KestrelLink::*request)(), const char* failure);
    bool TransferPass(int channels, std::pair<int, int>& range, bool& quit);
    bool ReadChunk(int start, int count, bool& quit);
    bool QuitRequested() const;
    std::pair<int, int> VisibleChannels(int channels);
    // False when the live spectrum was cleared after the counts were read.
    bool PlaceUpload(CSpectrum& live, int channels, std::pair<int, int> range,
                     unsigned clearGeneration);
    void ForgetPreviousUpload(bool zeroBuffer);
    void RecomputeLive();
    void FillFromHistory(CSpectrum& target, const std::vector<uint32_t>& history);
    bool ChangeControl(const AcqSetup& before, const AcqSetup& after);
    void Message(const char* text);
    CSpectrum* Live() const;
    void SetStatusCopy(const StatusRecord& record);

    KestrelLink& m_link;
    Clock& m_clock;
    std::unique_ptr<AcqSettingsSource> m_ownSettings; // the profile-reading source, when given one
    AcqSettingsSource* m_settings;
    CSpectraList& m_spectra;
    UserPrompt& m_prompt;
    MainWindowSink& m_sink;
    AcqHooks m_hooks;

    std::atomic<AcqState> m_state{AcqState::Disconnected};
    std::atomic<KestrelDeviceType> m_deviceType{KestrelDeviceType::Unknown};
    std::atomic<bool> m_usbMode{false};
    std::atomic<bool> m_statusValid{false};
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_uploadRequested{false};
    std::atomic<bool> m_waitingForEnd{false};
    std::atomic<bool> m_timesWanted{false};
    std::atomic<unsigned> m_clearGeneration{0};  // counts every clear of the upload buffer
    std::atomic<bool> m_endNoticePending{false}; // posted after the run's final upload
    std::atomic<int> m_displayHolds{0};          // clears in progress
    std::atomic<bool> m_infoPaneDeferred{false}; // a refresh asked for during a clear
    std::atomic<int> m_autoscaleHolds{0};

    mutable std::mutex m_statusLock; // the status copy
    StatusRecord m_status{};

    // One transfer at a time; held for a whole upload, so only Upload takes it.
    std::mutex m_transferLock;
    std::vector<uint32_t> m_transfer = std::vector<uint32_t>(16384, 0);
    // Buffer, plausibility and MCS bins; held briefly, before any spectrum lock.
    mutable std::recursive_mutex m_uploadLock;
    std::vector<uint32_t> m_buffer = std::vector<uint32_t>(16384, 0);
    UploadPlausibility m_plausibility;
    McsBins m_mcs;
};

} // namespace vorna
