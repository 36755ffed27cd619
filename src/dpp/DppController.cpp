#include "dpp/DppController.h"

#include "common/CaptionedPrompt.h"
#include "common/Clock.h"
#include "common/NumberText.h"
#include "common/UserPrompt.h"
#include "dpp/DppBootFlags.h"
#include "dpp/DppConfigImage.h"
#include "dpp/DppConfigStrings.h"
#include "dpp/DppDefaultConfiguration.h"
#include "dpp/DppDevice.h"
#include "dpp/DppModels.h"
#include "dpp/DppTestUnit.h"
#include "dpp/DppTypes.h"
#include "dpp/DppUsbLink.h"

namespace vorna {
namespace {

constexpr int kConnectPasses = 3;
constexpr int kConnectPauseMs = 200;
constexpr int kFirstReads = 3;
constexpr int kFirstReadPauseMs = 500;
constexpr int kWatchMinMs = 1000;
constexpr int kWatchMaxMs = 32000;
constexpr int kWatchDefaultMs = 10010;
constexpr const char* kNoDevices = "No USB devices found";
constexpr const char* kOpenFailed = "Could not open USB port";
constexpr const char* kPortOpen = "USB port open";
constexpr const char* kMainSettingsKey = "Quorix";

} // namespace

DppController::DppController(const DppControllerPorts& ports, DppControllerSettings settings)
    : m_ports(ports), m_settings(std::move(settings)) {
    if (m_settings.testUnitIniPath.empty())
        m_settings.testUnitIniPath = m_settings.programDirectory + "/VORNATST.INI";
}

int DppController::WatchIntervalMs(int configuredMs) {
    return configuredMs >= kWatchMinMs && configuredMs <= kWatchMaxMs ? configuredMs
                                                                      : kWatchDefaultMs;
}

bool DppController::IsPortUsb() const {
    return m_ports.device.config.Port == 0;
}

int DppController::DeviceType() const {
    return m_ports.profile.DeviceType();
}

void DppController::SetState(DppLinkState state) {
    m_state = state;
}

void DppController::RefreshGain() {
    m_ports.device.SetTotalGain(TotalGain(m_ports.device.config, DeviceType()));
    m_ports.window.ShowGain(m_ports.device.totalGainText);
}

bool DppController::SendCurrent() {
    DppDevice& device = m_ports.device;
    DppConfigImage image = BuildImage(device.config, DeviceType(), device.status.directHighVoltage);
    return SendConfiguration(m_ports.link, image, device.config.Preset);
}

void DppController::CheckOspreyMode() {
    const uint16_t flags = m_ports.device.status.bootFlags;
    if ((flags & kBootFlagModeChangePending) == 0)
        return;
    ShowCaptioned(m_ports.prompt, kOspreyModeChangeCaption, kOspreyModeChangeText,
                  PromptStyle::Information);
    SendRequest(m_ports.link, DppRequest::WriteBootFlags,
                static_cast<uint16_t>(flags & ~kBootFlagModeChangePending));
}

void DppController::ChooseConfiguration() {
    DppDevice& device = m_ports.device;
    DppUsbLink& link = m_ports.link;
    const int type = DeviceType();
    if (type == static_cast<int>(DppDeviceType::Heron)) {
        ReadStatusInto(link, device);
        ShowOutcome(m_ports.prompt,
                    LoadDefaultConfiguration(device, m_settings.programDirectory, type));
        SendCurrent();
    } else if (device.pendingSend) {
        SendCurrent();
        device.pendingSend = false;
    } else if (device.status.ReadsOwnConfiguration() ||
               m_ports.profile.UseConfigurationStoredInHardware()) {
        DppConfigImage image{};
        bool complete = false;
        const uint32_t preset = ReadConfiguration(link, image, &complete);
        // A readback that never arrived would overwrite the record with zeros.
        if (complete) {
            DecodeImage(image, type, device.config);
            device.config.Preset = preset;
            device.strings = RecordToStrings(device.config, type, device.status.FastClock());
            device.configurationLoaded = true;
        }
        SendCurrent();
    } else {
        if (!device.configurationLoaded)
            ShowOutcome(m_ports.prompt,
                        LoadDefaultConfiguration(device, m_settings.programDirectory, type));
        SendCurrent();
    }
}

void DppController::Connect() {
    DppUsbLink& link = m_ports.link;
    UserPrompt& prompt = m_ports.prompt;
    m_ports.device.config.BufferSelect = 0;
    link.Close();
    link.Open();
    link.Identify();
    auto storeType = [&] {
        if (link.deviceType() > 0) {
            m_ports.profile.SetDeviceType(link.deviceType());
            m_ports.profile.SetDeviceTypeName(link.deviceTypeName());
        }
    };
    storeType();
    if (link.CountDevices() < 1) {
        prompt.status(0, kNoDevices);
        return;
    }
    link.dropouts = 0;
    if (!link.isOpen()) {
        link.Close();
        if (link.Open() == 0) {
            prompt.status(0, kOpenFailed);
            return;
        }
        prompt.status(0, kPortOpen);
        link.Identify();
        storeType();
    }
    ReadStatusInto(link, m_ports.device);
    CheckOspreyMode();
    ChooseConfiguration();
    RefreshGain();
    SetState(DppLinkState::Connected);
    m_ports.window.UpdateControls();
}

bool DppController::SelectDevice(int deviceCount) {
    DppUsbLink& link = m_ports.link;
    const DppSelectLabels labels = CollectSelectLabels(link, deviceCount);
    const int choice = m_ports.window.ChooseDevice(labels);
    if (choice < 1 || choice > 6 || labels[static_cast<size_t>(choice - 1)].empty()) {
        link.setDeviceIndex(1);
        return false;
    }
    link.Close();
    link.SelectAndOpen(choice);
    link.Identify();
    const int type = link.deviceType();
    if (type > 0) {
        m_ports.profile.SetDeviceTypeName(link.deviceTypeName());
        if (type <= 4 && type != DeviceType())
            m_ports.profile.SetDeviceType(type);
    }
    m_ports.prompt.message("You Selected " + labels[static_cast<size_t>(choice - 1)],
                           PromptStyle::Information);
    return true;
}

bool DppController::OnConnect() {
    if (!BeginConnect())
        return false;
    for (int pause = ConnectStep(); pause >= 0; pause = ConnectStep())
        if (pause > 0)
            m_ports.clock.SleepMillis(pause);
    return true;
}

bool DppController::BeginConnect() {
    DppUsbLink& link = m_ports.link;
    m_stage = ConnectStage::Idle;
    if (!IsPortUsb())
        return false;
    m_ports.prompt.status(0, "Connecting to DPP, please wait...");
    int count = link.CountDevices();
    if (m_settings.settingsKey != kMainSettingsKey) {
        const DppTestUnitName unit = ReadTestUnitName(m_settings.testUnitIniPath);
        if (!unit.type.empty() && FindTestUnit(link, unit, count, m_ports.profile, m_ports.prompt))
            count = 1;
    }
    if (count > 1 && !SelectDevice(count))
        return false;
    m_stage = ConnectStage::Passes;
    m_stageCount = 0;
    return true;
}

int DppController::ConnectStep() {
    DppDevice& device = m_ports.device;
    switch (m_stage) {
    case ConnectStage::Idle:
        return -1;
    case ConnectStage::Passes:
        Connect();
        if (++m_stageCount >= kConnectPasses)
            m_stage = ConnectStage::Status;
        return kConnectPauseMs;
    case ConnectStage::Status:
        m_statusAnswered = ReadStatusInto(m_ports.link, device);
        if (!m_statusAnswered || device.status.serialNumber == 0) {
            m_stage = ConnectStage::StatusAgain;
            return kConnectPauseMs;
        }
        return ReportConnect();
    case ConnectStage::StatusAgain:
        m_statusAnswered = ReadStatusInto(m_ports.link, device);
        return ReportConnect();
    case ConnectStage::FirstReads:
        ReadData();
        if (++m_stageCount >= kFirstReads) {
            m_stage = ConnectStage::Idle;
            return -1;
        }
        return kFirstReadPauseMs;
    }
    return -1;
}

int DppController::ReportConnect() {
    DppDevice& device = m_ports.device;
    m_stage = ConnectStage::Idle;
    // A status that did not arrive leaves the last one in place: it proves nothing.
    const bool connected = m_statusAnswered && device.status.serialNumber != 0;
    std::string name = DppDeviceTypeName(DeviceType());
    if (name.empty())
        name = "Device";
    m_ports.prompt.status(0, name + (connected ? " connected..."
                                               : " not connected please reset Plover and try "
                                                 "again..."));
    if (!connected) {
        // The passes may have set the link state; a device that never answered is not
        // connected, whatever they found.
        if (m_ports.window.DataTimerRunning())
            m_ports.window.StopDataTimer();
        SetState(DppLinkState::Disconnected);
        m_ports.window.UpdateControls();
        return -1;
    }
    if (device.status.AcquisitionRunning()) {
        StartAcquisition();
        return -1;
    }
    ReadData();
    m_stage = ConnectStage::FirstReads;
    m_stageCount = 1;
    return kFirstReadPauseMs;
}

bool DppController::OpenForSend() {
    DppUsbLink& link = m_ports.link;
    if (link.CountDevices() <= 0) {
        m_ports.prompt.status(0, kNoDevices);
        return false;
    }
    link.dropouts = 0;
    if (!link.isOpen()) {
        link.Close();
        if (link.Open() == 0) {
            m_ports.prompt.status(0, kOpenFailed);
            return false;
        }
        m_ports.prompt.status(0, kPortOpen);
    }
    return true;
}

void DppController::OnSendHardwareConfiguration() {
    DppDevice& device = m_ports.device;
    if (!device.configurationLoaded && !m_defaultLoadedThisRun) {
        m_defaultLoadedThisRun = true;
        ShowOutcome(m_ports.prompt,
                    LoadDefaultConfiguration(device, m_settings.programDirectory, DeviceType()));
    }
    if (!OpenForSend())
        return;
    device.pendingSend = false;
    SendCurrent();
}

void DppController::ConfigurationChanged() {
    DppDevice& device = m_ports.device;
    if (!connected() || !OpenForSend()) {
        device.pendingSend = true;
        return;
    }
    device.pendingSend = false;
    SendCurrent();
}

void DppController::OnStartStop() {
    if (m_ports.window.DataTimerRunning())
        StopAcquisition();
    else
        StartAcquisition();
}

void DppController::StartAcquisition() {
    DppUsbLink& link = m_ports.link;
    SetState(DppLinkState::Acquiring);
    if (link.EnsureOpen()) {
        SendRequest(link, DppRequest::EnableAcquisition);
        ReadStatusInto(link, m_ports.device);
        m_ports.device.config.MCAEnable = 1;
    }
    int interval = m_ports.profile.DataRefreshMs();
    if (interval < kMinDataRefreshMs || interval > kMaxDataRefreshMs) {
        interval = kDefaultDataRefreshMs;
        m_ports.profile.SetDataRefreshMs(interval);
    }
    if (!m_ports.window.StartDataTimer(interval)) {
        m_ports.prompt.message("Data Timer Error", PromptStyle::Error);
        return;
    }
    m_startTime = m_ports.window.NowText();
    ReadData();
    m_ports.window.UpdateControls();
}

void DppController::StopAcquisition() {
    SetState(DppLinkState::Connected);
    if (m_ports.window.DataTimerRunning()) {
        m_ports.window.StopDataTimer();
        SendRequest(m_ports.link, DppRequest::DisableAcquisition);
        SetState(DppLinkState::Connected);
    }
    m_ports.window.UpdateControls();
}

void DppController::OnDataTimer() {
    if (m_ports.link.busy())
        return;
    if (!IsPortUsb()) {
        m_ports.prompt.status(0, Format("device: %d port %d is bDPPUSB: %d", DeviceType(),
                                        m_ports.device.config.Port, 0));
        return;
    }
    ReadDataOnce();
    if (m_state == DppLinkState::Acquiring && PresetReached()) {
        StopAcquisition();
        FillTimes();
        m_ports.live.Redraw();
    }
}

void DppController::ReadData() {
    if (m_ports.link.busy())
        return;
    ReadDataOnce();
}

void DppController::ReadDataOnce() {
    DppUsbLink& link = m_ports.link;
    DppDevice& device = m_ports.device;
    if (!link.EnsureOpen()) {
        m_ports.prompt.status(0, "Device Not Ready");
        SetState(DppLinkState::Disconnected);
        m_ports.window.UpdateControls();
        return;
    }
    const int channels = std::min(device.config.channels, DppDevice::kMaxChannels);
    const size_t want = static_cast<size_t>(std::max(channels, 0)) * 3;
    std::span<uint8_t> raw(device.rawSpectrum.data(), want);
    if (link.ReadSpectrum(raw) != want) {
        if (++link.dropouts > kMaxDropouts)
            Disconnect();
        return;
    }
    // A good read brings a lost link back; whether it acquires is the data timer's to say (a
    // read on an idle device must not make Start act as Stop).
    SetState(m_ports.window.DataTimerRunning() ? DppLinkState::Acquiring : DppLinkState::Connected);
    link.dropouts = 0;
    const uint64_t total = DecodeSpectrum(raw, channels, device.counts);
    m_ports.live.ReplaceCounts(std::span<const uint32_t>(device.counts.data(), want / 3), channels,
                               static_cast<double>(total));
    std::array<uint8_t, DppUsbLink::kPacketSize> packet{};
    const bool statusOk = link.ReadStatus(packet) == packet.size();
    if (m_deltaMode)
        SendRequest(link, DppRequest::ClearSpectrum);
    if (statusOk)
        device.DecodeStatus(packet);
    FillTimes();
    m_ports.live.Redraw();
}

void DppController::Disconnect() {
    if (m_state == DppLinkState::Acquiring || m_ports.window.DataTimerRunning())
        StopAcquisition();
    SetState(DppLinkState::Disconnected);
    m_ports.prompt.status(0, m_ports.link.StatusText());
    m_ports.prompt.status(1, "");
    m_ports.window.UpdateControls();
}

bool DppController::PresetReached() const {
    const DppConfigRecord& config = m_ports.device.config;
    const DppStatusRecord& status = m_ports.device.status;
    const bool mcs = config.AcqMode == 1;
    if (!(config.Preset > 0 || config.PresetCount > 0 || mcs))
        return false;
    return (status.AcquisitionEnabled() && !status.AcquisitionRunning()) ||
           (mcs && status.McsPassDone());
}

void DppController::FillTimes() {
    const DppStatusRecord& status = m_ports.device.status;
    const double dead = status.deadTimePercent > 0 ? status.deadTimePercent : 0;
    const double real = status.accumulationTime;
    m_ports.live.SetTimes(real, real * (1.0 - dead / 100.0), m_startTime);
}

void DppController::OnDeleteData() {
    m_ports.live.ClearData();
    SendRequest(m_ports.link, DppRequest::ClearSpectrum);
    m_startTime = m_ports.window.NowText();
    ReadData();
}

void DppController::OnWatchTimer() {
    DppUsbLink& link = m_ports.link;
    if (link.busy())
        return;
    const int count = link.CountDevices();
    if (count > 0) {
        if (!(connected() && m_ports.device.status.serialNumber != 0))
            m_ports.prompt.status(0, link.StatusText());
        return;
    }
    Disconnect();
}

bool DppController::ReadScope(DppScopeTrace& trace) {
    DppUsbLink& link = m_ports.link;
    if (link.busy() || !link.EnsureOpen())
        return false;
    ReadStatusInto(link, m_ports.device);
    return ReadScopeTrace(link, m_ports.device.status, trace);
}

} // namespace vorna
