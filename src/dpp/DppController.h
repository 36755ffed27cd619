#pragma once
// The DPP commands of the main window without the window: connect (with the test-station lookup
// and the device selection), send the configuration, start and stop, the data and device-watch
// timer ticks, DELTA mode, delete data, and the scope read. The main window wires its commands
// and its timers 1 and 2 to these operations and shows what the ports tell it.

#include <string>

#include "dpp/DppControllerPorts.h"
#include "dpp/DppProtocol.h"

namespace vorna {

class Clock;
class DppUsbLink;
class UserPrompt;
struct DppDevice;

enum class DppLinkState : int { Disconnected = 1, Connected = 2, Acquiring = 3 };

struct DppControllerSettings {
    std::string programDirectory; // where DPP.CFG and the test-unit file lie
    std::string settingsKey = "Quorix";
    std::string testUnitIniPath; // empty: <programDirectory>/VORNATST.INI
};

struct DppControllerPorts {
    DppUsbLink& link;
    DppDevice& device;
    DppProfile& profile;
    DppLiveSpectrum& live;
    DppWindow& window;
    UserPrompt& prompt;
    Clock& clock;
};

class DppController {
public:
    static constexpr int kDefaultDataRefreshMs = 1000;
    static constexpr int kMinDataRefreshMs = 500;
    static constexpr int kMaxDataRefreshMs = 20000;
    static constexpr int kMaxDropouts = 5;

    DppController(const DppControllerPorts& ports, DppControllerSettings settings);

    // "Connect" with a DPP profile: lookup, selection, three connect passes, then the first
    // reads. False when the connect ended early (cancelled, no device). Waits on the clock
    // between the steps; a window uses BeginConnect and ConnectStep instead.
    bool OnConnect();
    // The same connect for a caller that must not wait: BeginConnect does the lookup and the
    // selection (false: ended early); each ConnectStep then runs one step and returns the pause
    // in ms before the next, or -1 once the connect is complete.
    bool BeginConnect();
    int ConnectStep();
    bool connecting() const { return m_stage != ConnectStage::Idle; }
    // One connect pass (steps 1..8 of a connect).
    void Connect();
    void OnSendHardwareConfiguration();
    // The program changed the configuration (the threshold at the cursor): sent now while
    // connected, else marked to be sent by the next connect.
    void ConfigurationChanged();
    void OnStartStop();
    void StartAcquisition();
    void StopAcquisition();
    // Data timer (id 1): read data, then the preset check.
    void OnDataTimer();
    // "Update Data From MCA".
    void ReadData();
    void OnDeleteData();
    void OnToggleDeltaMode() { m_deltaMode = !m_deltaMode; }
    // Device-watch timer (id 2).
    void OnWatchTimer();
    // One oscilloscope trace for the scope window; false when none was complete.
    bool ReadScope(DppScopeTrace& trace);

    // Interval of the device-watch timer from the main window's setting.
    static int WatchIntervalMs(int configuredMs);

    DppLinkState state() const { return m_state; }
    bool deltaMode() const { return m_deltaMode; }
    bool connected() const { return m_state != DppLinkState::Disconnected; }
    const std::string& startTimeText() const { return m_startTime; }

private:
    bool IsPortUsb() const;
    int DeviceType() const;
    bool OpenForSend();
    bool SendCurrent();
    void ChooseConfiguration();
    void RefreshGain();
    void CheckOspreyMode();
    bool SelectDevice(int deviceCount);
    enum class ConnectStage { Idle, Passes, Status, StatusAgain, FirstReads };
    // The connect's end: the status decides whether the device answered.
    int ReportConnect();
    void ReadDataOnce();
    bool PresetReached() const;
    void FillTimes();
    void Disconnect();
    void SetState(DppLinkState state);

    DppControllerPorts m_ports;
    DppControllerSettings m_settings;
    DppLinkState m_state = DppLinkState::Disconnected;
    bool m_deltaMode = false;
    bool m_defaultLoadedThisRun = false;
    std::string m_startTime;
    ConnectStage m_stage = ConnectStage::Idle;
    int m_stageCount = 0;
    bool m_statusAnswered = false;
};

} // namespace vorna
