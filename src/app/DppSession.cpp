#include "app/DppSession.h"

#include <QApplication>
#include <QDateTime>

#include "app/CMainFrame.h"
#include "app/QtUserPrompt.h"
#include "appcore/ProgramState.h"
#include "display/CPlot.h"
#include "dpp/DppConfigText.h"
#include "dpp/DppDefaultConfiguration.h"
#include "dpp/DppModels.h"
#include "dpp/DppTypes.h"
#include "dpp/UsbDriver.h"
#include "dppui/CDppSelectDlg.h"

namespace vorna {

DppSession::DppSession(ProgramState& state, CMainFrame& frame, QtUserPrompt& prompt,
                       std::unique_ptr<UsbDriver> driver, DppControllerSettings settings)
    : QObject(&frame), m_state(state), m_frame(frame), m_prompt(prompt),
      m_driver(std::move(driver)), m_link(*m_driver, state.GetClock()),
      m_live(state.Spectra(),
             [&state] {
                 state.Display().RedrawPlot();
                 state.Display().RefreshInfoPane();
             }),
      m_blocks(m_device, [this] { return m_controller.connected(); }),
      m_programDirectory(settings.programDirectory),
      m_controller(
          DppControllerPorts{m_link, m_device, *this, m_live, *this, prompt, state.GetClock()},
          std::move(settings)) {
    m_dataTimer.setObjectName(QStringLiteral("dpp_data_timer"));
    m_watchTimer.setObjectName(QStringLiteral("dpp_watch_timer"));
    m_connectTimer.setSingleShot(true);
    connect(&m_dataTimer, &QTimer::timeout, this, [this] { OnDataTick(); });
    connect(&m_watchTimer, &QTimer::timeout, this, [this] { OnWatchTick(); });
    connect(&m_connectTimer, &QTimer::timeout, this, [this] { RunConnectStep(); });
    m_state.SetDppController(&m_controller);
    m_state.Environment().dpp = &m_blocks;
    DeviceTypeChanged();
}

DppSession::~DppSession() {
    // A window closed mid-connect must not leave the wait cursor behind.
    if (m_controller.connecting())
        QApplication::restoreOverrideCursor();
    m_dataTimer.stop();
    m_watchTimer.stop();
    m_connectTimer.stop();
    if (m_state.Dpp() == &m_controller)
        m_state.SetDppController(nullptr);
    if (m_state.Environment().dpp == &m_blocks)
        m_state.Environment().dpp = nullptr;
}

// --- commands ---

void DppSession::Connect() {
    if (Connecting())
        return;
    if (m_device.config.Port != 0) {
        // Only a USB link can be counted; the status texts say what the data timer would.
        m_prompt.status(0, "device: " + std::to_string(DeviceType()) + " port " +
                               std::to_string(m_device.config.Port) + " is bDPPUSB: 0");
        UpdateControls();
        return;
    }
    m_watchTimer.stop();
    // The selection dialog, if any, comes before the wait cursor.
    if (!m_controller.BeginConnect()) {
        StartWatchTimer();
        UpdateControls();
        Q_EMIT ConnectFinished(m_controller.connected());
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunConnectStep();
}

void DppSession::RunConnectStep() {
    const int pause = m_controller.ConnectStep();
    if (pause >= 0) {
        m_connectTimer.start(pause);
        return;
    }
    QApplication::restoreOverrideCursor();
    const bool connected = m_controller.connected() && m_device.status.serialNumber != 0;
    if (connected)
        m_state.Display().ResetPlotToFullRange();
    StartWatchTimer();
    UpdateControls();
    m_frame.RefreshPanes();
    Q_EMIT ConnectFinished(connected);
}

bool DppSession::StartStop() {
    if (Connecting())
        return true;
    // Starting a device that is not there would run the data timer against nothing.
    if (!m_dataTimer.isActive() && !m_state.DeviceConnected())
        return false;
    m_controller.OnStartStop();
    const bool acquiring = m_controller.state() == DppLinkState::Acquiring;
    if (!acquiring)
        m_frame.RefreshPanes();
    UpdateControls();
    return true;
}

void DppSession::UpdateData() {
    if (Connecting())
        return;
    m_controller.ReadData();
    UpdateControls();
    m_frame.RefreshPanes();
}

void DppSession::DeleteDataAndResetTime() {
    if (Connecting())
        return;
    m_controller.OnDeleteData();
    m_frame.RefreshPanes();
}

void DppSession::SendHardwareConfiguration() {
    if (Connecting())
        return;
    m_controller.OnSendHardwareConfiguration();
    m_frame.RefreshPanes();
}

void DppSession::SetThresholdAtCursor(int channel) {
    if (Connecting() || m_device.config.channels <= 0)
        return;
    m_device.config.SlowChThreshold =
        static_cast<uint8_t>(DppThresholdByte(channel, m_device.config.channels));
    m_controller.ConfigurationChanged();
    m_state.Display().RefreshInfoPane();
}

void DppSession::ToggleDeltaMode() {
    m_controller.OnToggleDeltaMode();
    m_state.Display().RefreshInfoPane();
}

void DppSession::ScaleDelta(bool up) {
    m_gainDelta = ScaledGainDelta(m_gainDelta, up);
    m_state.Display().RefreshInfoPane();
}

void DppSession::StartDataTimerCommand() {
    if (!m_dataTimer.isActive() && m_state.DeviceConnected())
        m_controller.StartAcquisition();
    UpdateControls();
}

void DppSession::StopDataTimerCommand() {
    if (m_dataTimer.isActive())
        m_controller.StopAcquisition();
    UpdateControls();
}

void DppSession::OpenUsb() {
    if (Connecting())
        return;
    m_link.Close();
    if (m_link.Open() != 0)
        m_link.Identify();
    m_prompt.status(0, m_link.StatusText());
}

void DppSession::SetPeakingTimeIndex(int index) {
    ApplyPeakingTime(PeakingTimeFromIndex(index), m_device.config);
}

void DppSession::DeviceTypeChanged() {
    if (DeviceType() != 0) {
        if (!m_watchTimer.isActive())
            StartWatchTimer();
    } else {
        m_watchTimer.stop();
        m_dataTimer.stop();
    }
}

void DppSession::LoadConfigurationAtStartup() {
    if (DeviceType() == static_cast<int>(DppDeviceType::Heron)) {
        ShowOutcome(m_prompt, LoadDefaultConfiguration(m_device, m_programDirectory, DeviceType()));
    }
}

std::string DppSession::CurrentConfigurationText() const {
    return CurrentConfigurationMessage(m_device.config, m_device.status);
}

DppLiveInfo DppSession::LiveInfo() const {
    DppLiveInfoInput in;
    in.device = &m_device;
    in.deviceType = DeviceType();
    in.name = DppSourceName(DeviceType(), m_state.Profile().dppDeviceName);
    in.connected = m_controller.connected();
    in.deltaMode = m_controller.deltaMode();
    in.gainDelta = m_gainDelta;
    return MakeDppLiveInfo(in);
}

// --- timers ---

void DppSession::OnDataTick() {
    const bool wasAcquiring = m_controller.state() == DppLinkState::Acquiring;
    m_controller.OnDataTimer();
    if (wasAcquiring && !m_dataTimer.isActive()) {
        // The preset ended the run: final data are in, the series may take its step.
        if (m_waitingForEnd) {
            m_waitingForEnd = false;
            m_state.MainWindow().Post(MainMessage::AcquisitionEnded);
        }
        m_frame.SetDeviceIndicator(0, false);
        m_frame.RefreshPanes();
    }
    if (m_controller.state() == DppLinkState::Disconnected)
        UpdateControls();
}

void DppSession::OnWatchTick() {
    const bool wasConnected = m_controller.connected();
    m_controller.OnWatchTimer();
    if (wasConnected != m_controller.connected())
        UpdateControls();
}

void DppSession::StartWatchTimer() {
    if (DeviceType() == 0)
        return;
    m_watchTimer.start(DppController::WatchIntervalMs(kInitialWatchMs));
}

// --- DppProfile ---

int DppSession::DeviceType() const {
    return m_state.Profile().deviceType;
}

void DppSession::SetDeviceType(int deviceType) {
    CSProfile& p = m_state.Profile();
    if (p.deviceType == deviceType)
        return;
    p.deviceType = deviceType;
    m_state.ApplyProfileToEnvironment();
}

void DppSession::SetDeviceTypeName(const std::string& name) {
    // The profile keeps the last name a device gave.
    if (!name.empty())
        m_state.Profile().dppDeviceName = name;
}

int DppSession::DataRefreshMs() const {
    return m_state.Profile().dataRefresh;
}

void DppSession::SetDataRefreshMs(int ms) {
    m_state.Profile().dataRefresh = ms;
}

bool DppSession::UseConfigurationStoredInHardware() const {
    // The choice is offered for the Plover class only; others always use the software copy.
    return IsPloverClass(DeviceType()) && m_state.Profile().dppForceHwCfgByFile == 0;
}

// --- DppWindow ---

bool DppSession::StartDataTimer(int intervalMs) {
    m_dataTimer.start(intervalMs);
    return m_dataTimer.isActive();
}

void DppSession::StopDataTimer() {
    m_dataTimer.stop();
    m_state.Display().RefreshInfoPane();
}

void DppSession::UpdateControls() {
    // Mid-connect the passes already report the link; the window waits for the verdict.
    const bool connected = m_state.DeviceConnected();
    const bool acquiring = m_controller.state() == DppLinkState::Acquiring;
    m_frame.SetDeviceIndicator(1, connected);
    m_frame.SetDeviceIndicator(0, acquiring);
    m_frame.UpdateDevicePane();
    m_frame.UpdateCommandStates();
}

void DppSession::ShowGain(const std::string&) {
    // The gain text is the info pane's; it reads it from the device image.
    m_state.Display().RefreshInfoPane();
}

std::string DppSession::NowText() {
    return QDateTime::currentDateTime()
        .toString(QStringLiteral("MM/dd/yyyy HH:mm:ss"))
        .toStdString();
}

int DppSession::ChooseDevice(const DppSelectLabels& labels) {
    return ChooseDppEntry(labels, &m_frame);
}

} // namespace vorna
