#pragma once
// The DPP link of the running program: the USB driver (libusb, or the simulated bus that
// VORNA_SIMULATE names), the link, the device image and the controller, with the main window's
// side of the controller's ports. Timer 1 reads data at "data_refresh", timer 2 watches for the
// device; the connect runs as single-shot steps so the window never waits on the device.

#include <QObject>
#include <QTimer>
#include <memory>

#include "appcore/DppInfoValues.h"
#include "appcore/DppLiveTarget.h"
#include "dpp/DppController.h"
#include "dpp/DppDevice.h"
#include "dpp/DppUsbLink.h"

namespace vorna {

class CMainFrame;
class ProgramState;
class QtUserPrompt;
class UsbDriver;

class DppSession : public QObject, public DppProfile, public DppWindow {
    Q_OBJECT
public:
    // Timer 2 starts at this period (the watch interval rule then applies).
    static constexpr int kInitialWatchMs = 2010;

    DppSession(ProgramState& state, CMainFrame& frame, QtUserPrompt& prompt,
               std::unique_ptr<UsbDriver> driver, DppControllerSettings settings);
    ~DppSession() override;

    // Menu commands.
    void Connect();
    // False when no DPP is connected (nothing was started).
    bool StartStop();
    void UpdateData();
    void DeleteDataAndResetTime();
    void SendHardwareConfiguration();
    // F8: the low-level threshold at the plot's cursor channel.
    void SetThresholdAtCursor(int channel);
    void ToggleDeltaMode();
    void ScaleDelta(bool up);
    // The commands behind the timers and the link (no menu entries).
    void StartWatch() { StartWatchTimer(); }
    void StopWatch() { m_watchTimer.stop(); }
    void StartDataTimerCommand();
    void StopDataTimerCommand();
    void OpenUsb();
    // Device type switched to or from a DPP: timer 2 runs only for a DPP.
    void DeviceTypeChanged();
    // Startup: load DPP.CFG for a Heron (device type 1) once the window exists.
    void LoadConfigurationAtStartup();

    // "Display Settings" for the live spectrum: the current configuration text.
    std::string CurrentConfigurationText() const;
    DppLiveInfo LiveInfo() const;
    // Repeated measurements: the series waits for the end of the run.
    void SetWaitingForEnd(bool waiting) { m_waitingForEnd = waiting; }
    void SetPeakingTimeIndex(int index);

    DppController& Controller() { return m_controller; }
    DppDevice& Device() { return m_device; }
    DppUsbLink& Link() { return m_link; }
    UsbDriver& Driver() { return *m_driver; }
    const std::string& ProgramDirectory() const { return m_programDirectory; }
    bool Connecting() const { return m_controller.connecting() || m_connectTimer.isActive(); }
    double GainDelta() const { return m_gainDelta; }

    // DppProfile
    int DeviceType() const override;
    void SetDeviceType(int deviceType) override;
    void SetDeviceTypeName(const std::string& name) override;
    int DataRefreshMs() const override;
    void SetDataRefreshMs(int ms) override;
    bool UseConfigurationStoredInHardware() const override;

    // DppWindow
    bool StartDataTimer(int intervalMs) override;
    void StopDataTimer() override;
    bool DataTimerRunning() const override { return m_dataTimer.isActive(); }
    void UpdateControls() override;
    void ShowGain(const std::string& text) override;
    std::string NowText() override;
    int ChooseDevice(const DppSelectLabels& labels) override;

Q_SIGNALS:
    // The connect's last step has run.
    void ConnectFinished(bool connected);

private:
    void OnDataTick();
    void OnWatchTick();
    void RunConnectStep();
    void StartWatchTimer();

    ProgramState& m_state;
    CMainFrame& m_frame;
    QtUserPrompt& m_prompt;
    std::unique_ptr<UsbDriver> m_driver;
    DppUsbLink m_link;
    DppDevice m_device;
    DppLiveTarget m_live;
    DppDeviceBlocks m_blocks;
    std::string m_programDirectory;
    DppController m_controller;
    QTimer m_dataTimer;
    QTimer m_watchTimer;
    QTimer m_connectTimer;
    double m_gainDelta = 1.0;
    bool m_waitingForEnd = false;
};

} // namespace vorna
