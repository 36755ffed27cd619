#include "app/CLumoApp.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QUrl>
#include <array>

#include "app/CMainFrame.h"
#include "app/DppSession.h"
#include "app/HelpWindow.h"
#include "app/PlotPanes.h"
#include "app/QtUserPrompt.h"
#include "app/StartDialog.h"
#include "app/TextConvert.h"
#include "app/companion/CompanionInterface.h"
#include "appcore/MenuState.h"
#include "display/CPlot.h"
#include "dpp/DppTypes.h"
#include "dppui/CDppUpdateNoticeDlg.h"
#include "kestrel/SerialDevicePath.h"
#include "platform/QSettingsProfileStore.h"
#include "platform/serial/TermiosSerialLine.h"
#include "platform/usb/LibUsbDriver.h"
#include "settings/SettingsKey.h"
#include "sim/SimulateSetting.h"
#include "sim/dpp/SimDppBusFactory.h"
#include "sim/kestrel/KestrelSimFactory.h"

namespace vorna {

namespace {

ScreenSize PrimaryScreen() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? ScreenSize{s->size().width(), s->size().height()} : ScreenSize{};
}

// Live and real time follow the status while an upload runs.
constexpr int kTimesTimerPeriodMs = 200;

// The simulated analyzer when VORNA_SIMULATE names a Kestrel, else the real serial ports with
// the profile's device paths.
std::unique_ptr<SerialLine> MakeSerialLine(const CSProfile& profile, Clock& clock) {
    if (auto sim = MakeKestrelSimulator(SimulateSettingFromEnvironment(), clock))
        return sim;
    std::array<std::string, 9> configured = profile.serialDevices;
    return std::make_unique<TermiosSerialLine>([configured](int port) {
        const bool known = port >= 1 && port <= static_cast<int>(configured.size());
        return SerialDevicePath(port, known ? configured[static_cast<size_t>(port - 1)] : "");
    });
}

// The simulated USB bus when VORNA_SIMULATE names a DPP, else libusb with the DPP IDs the
// profile lists (none until the user enters them: then no device is ever counted).
std::unique_ptr<UsbDriver> MakeUsbDriver(const CSProfile& profile, Clock& clock) {
    const SimulateSetting setting = SimulateSettingFromEnvironment();
    if (!setting.dpps.empty())
        return MakeSimulatedDppBus(setting, clock);
    std::vector<UsbId> ids = ParseUsbIds(profile.dppUsbIds).value_or(std::vector<UsbId>{});
    return std::make_unique<LibUsbDriver>(std::move(ids));
}

} // namespace

CLumoApp::CLumoApp(Options options) : m_options(std::move(options)) {}

CLumoApp::~CLumoApp() {
    ExitInstance();
}

bool CLumoApp::InitInstance() {
    const QString dir = m_options.programDir;
    m_detectorIni = QFileInfo::exists(dir + "/DetPnd_VORNA.ini");
    m_settingsKey = ChooseSettingsKey(PathToCore(dir));
    ProfileStore* store = m_options.store;
    if (!store) {
        m_ownStore = std::make_unique<QSettingsProfileStore>(m_settingsKey);
        store = m_ownStore.get();
    }
    Clock& clock = m_options.clock ? *m_options.clock : m_steadyClock;
    m_prompt = std::make_unique<QtUserPrompt>();
    m_state = std::make_unique<ProgramState>(*store, clock, PrimaryScreen());
    m_state->Note("settings key " + m_settingsKey);
    m_state->SetPrompt(m_prompt.get());
    m_state->LoadProfile();
    QThread::currentThread()->setPriority(QThread::NormalPriority);
    m_state->StartWorkers([this] { m_state->Display().RedrawPlot(); });
    m_state->StartKestrel(MakeSerialLine(m_state->Profile(), clock), KestrelHooks());

    m_frame = std::make_unique<CMainFrame>(*m_state, *m_prompt);
    m_prompt->SetParent(m_frame.get());
    m_prompt->SetStatusHandler([this](int pane, const std::string& text) {
        m_frame->SetStatusText(pane, FromCore(text));
    });
    m_state->CreateLiveSpectrum();
    DppControllerSettings dppSettings;
    dppSettings.programDirectory = PathToCore(dir);
    dppSettings.settingsKey = m_settingsKey;
    m_frame->SetDpp(new DppSession(*m_state, *m_frame, *m_prompt,
                                   MakeUsbDriver(m_state->Profile(), clock), dppSettings));
    m_state->LoadStartupFiles();
    m_state->Note("window");

    const int show = m_state->Profile().placementShow;
    if (show == 3)
        m_frame->showMaximized();
    else
        m_frame->show();
    m_frame->ApplySplitters();
    m_frame->RefreshPanes();
    m_state->Note("shown");
    m_frame->Dpp()->LoadConfigurationAtStartup();

    if (m_options.allowStartDialog && m_state->Profile().startDlgShow) {
        StartDialog dialog(*m_state, *m_frame);
        dialog.exec();
        m_state->Note("start dialog");
    }
    // A connect the start dialog began ends later; the notice waits for it.
    DppSession* dpp = m_frame->Dpp();
    if (dpp->Connecting())
        QObject::connect(
            dpp, &DppSession::ConnectFinished, m_frame.get(), [this] { ShowDppUpdateNotice(); },
            Qt::SingleShotConnection);
    else
        ShowDppUpdateNotice();
    if (!m_options.commandLineFile.isEmpty()) {
        m_state->MainWindow().Post(OpenFileEvent{PathToCore(m_options.commandLineFile)});
        m_state->Note("command line file");
    }
    ReportDeviceState();
    AutoConnect();
    StartCompanionInterface();
    return true;
}

void CLumoApp::AutoConnect() {
    // "Connect on Startup": the connect runs on the Kestrel's command thread, so the window is
    // up and answering while the analyzer is found.
    const CSProfile& p = m_state->Profile();
    KestrelProgram* kestrel = m_state->Kestrel();
    if (p.deviceType != 0 || !p.autoConnect || p.comPort <= 0 || !kestrel)
        return;
    CMainFrame* frame = m_frame.get();
    kestrel->Run(
        [](CAcq& a) {
            if (a.EnsureConnected())
                a.PostConnectionState(true);
        },
        [frame] {
            frame->UpdateDevicePane();
            frame->RefreshPanes();
        });
    m_state->Note("auto connect");
}

void CLumoApp::StartCompanionInterface() {
    CompanionInterface::Options options;
    options.programDir = m_options.programDir;
    auto* companion = new CompanionInterface(*m_state, *m_frame, *m_prompt, options);
    m_frame->SetCompanion(companion);
    if (!m_options.companionBus)
        return;
    // Said after the device state, which the window shows first.
    QMetaObject::invokeMethod(
        companion, [companion] { companion->Register(); }, Qt::QueuedConnection);
}

AcqHooks CLumoApp::KestrelHooks() {
    AcqHooks hooks;
    // The upload worker asks for these; the window answers once it exists.
    hooks.visibleAbsoluteRange = [this] { return m_state->VisibleRange(); };
    hooks.timesTimer = [this](bool on) {
        CMainFrame* frame = m_frame.get();
        if (!frame)
            return;
        // Timers belong to the UI thread; the worker only asks.
        QMetaObject::invokeMethod(
            frame,
            [frame, on] {
                if (on)
                    frame->StartTimer(CMainFrame::kTimesTimerId, kTimesTimerPeriodMs);
                else
                    frame->StopTimer(CMainFrame::kTimesTimerId);
            },
            Qt::QueuedConnection);
    };
    // The "MCA Security Code" question comes through the controller's prompt, which brings
    // it to the UI thread.
    // Thread priorities only matter to the USB detection of a real KestrelA, which has no
    // timing this program can raise on Linux without privileges; the hook stays empty.
    return hooks;
}

void CLumoApp::ShowDppUpdateNotice() {
    CSProfile& p = m_state->Profile();
    DppSession* dpp = m_frame->Dpp();
    const DppDevice& device = dpp->Device();
    if (!p.dppUpdateDlgShow || p.deviceType < 1 || p.deviceType > 4 || device.config.Port != 0 ||
        !m_state->DeviceConnected() || device.status.firmwareVersionByte == 0 ||
        device.status.serialNumber == 0)
        return;
    DppUpdateNoticeInput input;
    input.programLines = "VORNA\r\nVersion " VORNA_VERSION_TEXT "\r\nQuorix\r\n";
    input.serialNumber = device.status.serialNumber;
    input.firmwareByte = device.status.firmwareVersionByte;
    input.fpgaByte = device.status.fpgaVersionByte;
    input.deviceType = p.deviceType;
    input.liveSpectrumActive = m_state->Spectra().GetActivePosition() == 0;
    input.showAtStartup = true;
    input.updateInfoUrl =
        QUrl::fromLocalFile(HelpWindow::ManualPath()).toString().toStdString() + "#dpp-updates";
    CDppUpdateNoticeDlg dialog(input, m_frame.get());
    dialog.exec();
    p.dppUpdateDlgShow = dialog.showAtStartup() ? 1 : 0;
}

void CLumoApp::ReportDeviceState() {
    MainWindowSink& sink = m_state->MainWindow();
    const bool connected = m_state->DeviceConnected();
    if (m_state->Profile().deviceType == 0) {
        sink.Post(StatusTextEvent{0, connected ? kMcaConnectedText : kMcaNotConnectedText});
        sink.Post(DeviceStateEvent{1, connected});
    } else {
        const std::string name =
            DppStartupName(m_state->Profile().deviceType, m_state->Profile().dppDeviceName);
        m_frame->SetStatusText(0, QString::fromStdString(DppConnectionText(name, connected)));
    }
    sink.Post(StatusTextEvent{1, ""});
    m_state->Note("device state");
}

int CLumoApp::ExitInstance() {
    if (m_frame) {
        m_frame->Shutdown();
        m_frame.reset();
    }
    m_state.reset();
    m_ownStore.reset();
    return 0;
}

} // namespace vorna
