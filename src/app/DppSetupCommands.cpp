#include "app/DppSetupCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <functional>

#include "app/CMainFrame.h"
#include "app/CommandRouter.h"
#include "app/DppSession.h"
#include "app/PlotPanes.h"
#include "app/QtUserPrompt.h"
#include "app/ShellContext.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"
#include "common/CaptionedPrompt.h"
#include "common/DataFolders.h"
#include "display/CPlot.h"
#include "dpp/DppConfigFile.h"
#include "dpp/DppConfigImage.h"
#include "dpp/DppConfigText.h"
#include "dpp/DppDefaultConfiguration.h"
#include "dpp/DppMessages.h"
#include "dpp/DppModels.h"
#include "dpp/DppProtocol.h"
#include "dpp/DppSheetHost.h"
#include "dpp/DppSheetState.h"
#include "dpp/DppTuner.h"
#include "dpp/DppTypes.h"
#include "dppui/CDppPropertySheet.h"
#include "dppui/COscilloscopeDlg.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

constexpr int kReopenTries = 10;
constexpr int kReopenPauseMs = 100;

// The program's side of the property sheet and of tuning. Lives as long as the main window; all
// DPP access goes through the window's DPP session.
class DppSetup : public QObject, public DppSheetHost, public DppTunerPorts, public DppScopePort {
public:
    explicit DppSetup(ShellContext& c) : QObject(&c.frame), m_c(c), m_tuner(*this) {
        setObjectName(QStringLiteral("dpp_setup"));
        m_tuneTimer.setSingleShot(true);
        m_tuneTimer.setObjectName(QStringLiteral("dpp_tune_timer"));
        connect(&m_tuneTimer, &QTimer::timeout, this, [this] { RunTuneStep(); });
    }

    DppSheetState& SheetState() { return m_sheet; }
    DppTuner& Tuner() { return m_tuner; }
    DppSession* Session() const { return m_c.frame.Dpp(); }

    void OpenSheet() {
        if (!Session() || OpenDppSheet())
            return;
        OpenDppProperties(*this, m_sheet, &m_c.frame);
        m_c.frame.RefreshPanes();
    }

    void Handle(MainMessage message) {
        switch (message) {
        case MainMessage::OpenDppUsb:
            if (Session())
                Session()->OpenUsb();
            break;
        case MainMessage::ScopeStep:
            OpenScope();
            break;
        case MainMessage::SendDppConfiguration:
            if (Session())
                Session()->SendHardwareConfiguration();
            break;
        case MainMessage::CloseDppProperties:
            if (CDppPropertySheet* sheet = OpenDppSheet())
                sheet->reject();
            m_reopenTries = 0;
            Post(MainMessage::WaitDppPropertiesGone);
            break;
        case MainMessage::WaitDppPropertiesGone:
            // A tuning run finishes before the sheet shows its result.
            if (m_tuner.busy() || (OpenDppSheet() && m_reopenTries++ < kReopenTries)) {
                QTimer::singleShot(kReopenPauseMs, this,
                                   [this] { Post(MainMessage::WaitDppPropertiesGone); });
                break;
            }
            if (m_c.state.Profile().deviceType > 0)
                OpenSheet();
            break;
        case MainMessage::TuneInputOffset:
            m_tuner.TuneInputOffset(false);
            StartTuning();
            break;
        case MainMessage::TuneFastThreshold:
            m_tuner.TuneFastThreshold();
            StartTuning();
            break;
        case MainMessage::TuneSlowThreshold:
            m_tuner.TuneSlowThreshold();
            StartTuning();
            break;
        default:
            break;
        }
    }

    void OpenScope() {
        if (!Session())
            return;
        if (!m_scope) {
            m_scope = new COscilloscopeDlg(*this, &m_c.frame);
            m_scope->resize(m_scope->sizeHint());
        }
        m_scope->show();
        m_scope->raise();
    }
    COscilloscopeDlg* Scope() const { return m_scope; }

    // --- DppScopePort ---
    bool ReadTrace(std::array<uint8_t, 512>& trace) override {
        return ReadScopeTrace(Session()->Link(), Device().status, trace);
    }
    void ArmTrigger() override { SendRequest(Session()->Link(), DppRequest::ArmScopeTrigger); }
    void ReopenLink() override {
        DppUsbLink& link = Session()->Link();
        link.Close();
        if (link.Open() != 0 && link.Identify() && link.deviceType() > 0) {
            Session()->SetDeviceType(link.deviceType());
            Session()->SetDeviceTypeName(link.deviceTypeName());
        }
    }
    bool AutoReArm() const override { return m_c.state.Profile().scopeAutoReArm != 0; }
    void SetAutoReArm(bool on) override { m_c.state.Profile().scopeAutoReArm = on ? 1 : 0; }
    bool ControlsStale() const override { return m_sheet.scopeControlsStale; }
    void ClearControlsStale() override { m_sheet.scopeControlsStale = false; }
    bool CaptureWindow(QWidget& window) override {
        // The capture itself belongs to the program's window capture; until it is wired here
        // the attempt reports its failure.
        const bool captured = m_capture && m_capture(window);
        if (!captured)
            m_c.prompt.message("Oscilloscope Window capture failed...", PromptStyle::Warning);
        return captured;
    }

    void TuneThresholds() {
        if (!Session())
            return;
        m_tuner.TuneThresholds();
        StartTuning();
    }

    void StepGain(bool up) {
        if (!Session())
            return;
        m_tuner.StepGain(up, Session()->GainDelta());
        StartTuning();
        m_c.state.Display().RefreshInfoPane();
    }

    // --- both ports ---
    DppDevice& Device() override { return Session()->Device(); }
    int DeviceType() const override { return m_c.state.Profile().deviceType; }
    UserPrompt& Prompt() override { return m_c.prompt; }
    bool Acquiring() const override { return m_c.state.Acquiring(); }
    void ShowTotalGain(const std::string& text, double value) override {
        Session()->Device().totalGainText = text;
        Session()->Device().totalGain = value;
        m_c.state.Display().RefreshInfoPane();
    }
    bool GainScaleThresholds() const override {
        return m_c.state.Profile().useAutoThreshScaling != 0;
    }

    // --- DppSheetHost ---
    bool Connected() const override { return Session() && Session()->Controller().connected(); }
    bool LinkBusy() const override { return Session()->Link().busy(); }
    void SendAndSaveConfiguration() override {
        SendConfiguration();
        SaveDefaultConfiguration();
    }
    void WriteBootFlags(uint16_t word) override {
        SendRequest(Session()->Link(), DppRequest::WriteBootFlags, word);
    }
    void SetSpectrumOffset(int16_t value) override {
        SendRequest(Session()->Link(), DppRequest::SetSpectrumOffset, static_cast<uint16_t>(value));
    }
    void RefreshStatus() override {
        if (Connected())
            ReadStatusInto(Session()->Link(), Session()->Device());
    }
    void ReadInputOffset() override {
        if (!Connected())
            return;
        DppConfigImage image{};
        bool complete = false;
        ReadConfiguration(Session()->Link(), image, &complete);
        if (complete)
            Device().config.PloverInputOffset = (image[19] & 15) * 256 + image[20];
    }
    void WriteDescriptorText(const std::string& text) override {
        vorna::WriteDescriptorText(Session()->Link(), text);
    }
    std::string ReadDescriptorText() override { return Session()->Link().ReadDescriptorText(); }
    std::string RunConfigurationSource(DppConfigSource source) override;
    std::vector<std::string> DetectorConfigurationNames() override {
        return vorna::DetectorConfigurationNames(Session()->ProgramDirectory());
    }
    std::string LoadDetectorConfiguration(const std::string& name) override {
        const DppFileOutcome outcome = vorna::LoadDetectorConfiguration(
            Device(), Session()->ProgramDirectory(), name, DeviceType());
        ShowOutcome(m_c.prompt, outcome);
        if (!outcome.ok)
            return {};
        AfterLoad();
        return DetectorConfigurationLoadedNote(name);
    }
    void StartStopAcquisition() override { m_c.frame.Execute(ToInt(CommandId::StartAcquisition)); }
    void DeleteDataAndResetTime() override {
        m_c.frame.Execute(ToInt(CommandId::DeleteDataAndResetTime));
    }
    void StepVerticalZoom(bool up) override {
        m_c.frame.Panes().Model().Zoom(
            up ? ZoomButton::VerticalExpand : ZoomButton::VerticalCompress, false);
    }
    int CursorChannel() const override {
        return std::max(1, m_c.frame.Panes().Model().CursorChannel());
    }
    bool SelectedRoi(int& low, int& high) const override {
        CSpectrum* s = m_c.state.Spectra().GetActive();
        if (!s)
            return false;
        auto locked = s->Lock();
        const int selected = locked->m_roi.GetSelected();
        if (selected < 0 || selected >= locked->m_roi.GetCount())
            return false;
        low = locked->m_roi[selected].start;
        high = locked->m_roi[selected].end;
        return true;
    }
    void Post(MainMessage message) override { m_c.state.MainWindow().Post(MainEvent{Notice{message}}); }
    int DataRefreshMs() const override { return m_c.state.Profile().dataRefresh; }
    void SetDataRefreshMs(int ms) override {
        m_c.state.Profile().dataRefresh = ms;
        if (Session() && Session()->DataTimerRunning())
            Session()->StartDataTimer(ms);
    }
    bool StartupUsesHardware() const override {
        return m_c.state.Profile().dppForceHwCfgByFile == 0;
    }
    void SetStartupUsesHardware(bool hardware) override {
        m_c.state.Profile().dppForceHwCfgByFile = hardware ? 0 : 1;
    }
    void SetGainScaleThresholds(bool on) override {
        m_c.state.Profile().useAutoThreshScaling = on ? 1 : 0;
    }
    bool ShowUpdatesAtStartup() const override { return m_c.state.Profile().dppUpdateDlgShow != 0; }
    void SetShowUpdatesAtStartup(bool show) override {
        m_c.state.Profile().dppUpdateDlgShow = show ? 1 : 0;
    }

    // --- DppTunerPorts ---
    DppUsbLink& Link() override { return Session()->Link(); }
    void SendConfiguration() override {
        if (Connected())
            Session()->SendHardwareConfiguration();
        else
            Session()->Connect();
    }
    void SaveDefaultConfiguration() override {
        ShowOutcome(m_c.prompt, vorna::SaveDefaultConfiguration(
                                    Device(), Session()->ProgramDirectory(), DeviceType()));
    }
    bool DeltaMode() const override { return Session()->Controller().deltaMode(); }
    void SetDeltaMode(bool on) override {
        if (DeltaMode() != on)
            Session()->ToggleDeltaMode();
    }
    std::vector<double> LiveCounts() override {
        CSpectrum* live = m_c.state.Spectra().At(0);
        if (!live)
            return {};
        return live->Lock()->m_pData;
    }
    void MarkChannel(int channel) override {
        const int channels = std::max(1, Device().config.channels);
        m_c.frame.Panes().Model().MoveCursorTo(static_cast<double>(channel) * 16384 / channels);
    }
    void ShowWaitWindow(bool shown) override {
        if (!shown) {
            if (m_wait)
                m_wait->deleteLater();
            m_wait = nullptr;
            return;
        }
        if (m_wait)
            return;
        m_wait = new QDialog(&m_c.frame);
        m_wait->setObjectName(QStringLiteral("dpp_tuning_wait"));
        m_wait->setWindowTitle(QStringLiteral("DPP Tuning"));
        auto* layout = new QVBoxLayout(m_wait);
        layout->addWidget(new QLabel(QStringLiteral("Tuning...please wait"), m_wait));
        m_wait->show();
    }
    double NormalizedSlowThreshold() const override {
        return m_c.state.Profile().slowThreshDeltaMult;
    }
    double NormalizedFastThreshold() const override {
        return m_c.state.Profile().fastThreshDeltaMult;
    }
    void StoreNormalizedThresholds(double slow, double fast) override {
        m_c.state.Profile().slowThreshDeltaMult = slow;
        m_c.state.Profile().fastThreshDeltaMult = fast;
    }

private:
    void StartTuning() {
        if (!m_tuneTimer.isActive())
            m_tuneTimer.start(0);
    }
    void RunTuneStep() {
        if (!Session())
            return;
        const int pause = m_tuner.Step();
        if (pause >= 0)
            m_tuneTimer.start(pause);
        m_c.frame.RefreshPanes();
    }
    void AfterLoad() {
        Device().configurationLoaded = true;
        m_sheet.MarkAllForReload();
        const DppTotalGain gain = TotalGain(Device().config, DeviceType());
        Device().SetTotalGain(gain);
    }

    ShellContext& m_c;
    DppSheetState m_sheet;
    DppTuner m_tuner;
    QTimer m_tuneTimer;
    QPointer<QDialog> m_wait;
    QPointer<COscilloscopeDlg> m_scope;
    // Saves a window's picture; filled by the window capture.
    std::function<bool(QWidget&)> m_capture;
    int m_reopenTries = 0;
};

std::string DppSetup::RunConfigurationSource(DppConfigSource source) {
    const std::string directory = Session()->ProgramDirectory();
    DppDevice& d = Device();
    const int type = DeviceType();
    switch (source) {
    case DppConfigSource::RecallPrevious: {
        const DppFileOutcome outcome = LoadDefaultConfiguration(d, directory, type);
        ShowOutcome(m_c.prompt, outcome);
        if (!outcome.ok)
            return {};
        AfterLoad();
        return RecalledConfigurationNote();
    }
    case DppConfigSource::ReadHardware: {
        if (Session()->Link().CountDevices() < 1)
            return NoHardwareNote();
        DppConfigImage image{};
        bool complete = false;
        const uint32_t preset = ReadConfiguration(Session()->Link(), image, &complete);
        if (!complete)
            return NoHardwareNote();
        DecodeImage(image, type, d.config);
        d.config.Preset = preset;
        d.strings = RecordToStrings(d.config, type, d.status.FastClock());
        AfterLoad();
        return HardwareConfigurationLoadedNote();
    }
    case DppConfigSource::OpenFile: {
        std::string path;
        if (!m_c.prompt.chooseOpenFile(path, "Open", UserDataFolder(), DppConfigFile::kFilter))
            return {};
        DppConfigFile file(d.strings);
        if (!file.Load(path, type).ok)
            return {};
        d.strings = file.strings;
        StringsToRecord(d.strings, d.config, type);
        AfterLoad();
        return OpenedConfigurationNote(path);
    }
    case DppConfigSource::SaveToFile: {
        DppConfigFile file(RecordToStrings(d.config, type, d.status.FastClock()));
        const DppFileOutcome outcome = file.SaveWithDialog(type, m_c.prompt);
        ShowOutcome(m_c.prompt, outcome);
        return outcome.ok ? SavedConfigurationNote(file.path) : std::string();
    }
    case DppConfigSource::Show:
        ShowCaptioned(m_c.prompt, "Configuration", CurrentConfigurationMessage(d.config, d.status),
                      PromptStyle::Information);
        return {};
    case DppConfigSource::CopyToClipboard:
        QApplication::clipboard()->setText(
            QString::fromLatin1(CurrentConfigurationMessage(d.config, d.status).c_str()));
        return CopiedConfigurationNote();
    }
    return {};
}

DppSetup* SetupOf(CMainFrame& frame) {
    return frame.findChild<DppSetup*>(QStringLiteral("dpp_setup"), Qt::FindDirectChildrenOnly);
}

} // namespace

void RegisterDppSetupCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    auto* setup = new DppSetup(c);
    auto dppOnly = [&c](auto action) {
        return [&c, action] {
            if (c.state.Profile().deviceType == 0 || !c.frame.Dpp())
                return;
            action();
        };
    };
    r.Register(ToInt(C::DppSetup), dppOnly([setup] { setup->OpenSheet(); }));
    r.Register(ToInt(C::TuneThresholds), dppOnly([setup] { setup->TuneThresholds(); }));
    r.Register(ToInt(C::IncrementGain), dppOnly([setup] { setup->StepGain(true); }));
    r.Register(ToInt(C::DecrementGain), dppOnly([setup] { setup->StepGain(false); }));
}

void OpenDppSetupFromAcquisitionSetup(CMainFrame& frame) {
    if (DppSetup* setup = SetupOf(frame))
        setup->OpenSheet();
}

bool HandleDppMessage(CMainFrame& frame, MainMessage message) {
    switch (message) {
    case MainMessage::OpenDppUsb:
    case MainMessage::ScopeStep:
    case MainMessage::SendDppConfiguration:
    case MainMessage::CloseDppProperties:
    case MainMessage::WaitDppPropertiesGone:
    case MainMessage::TuneInputOffset:
    case MainMessage::TuneFastThreshold:
    case MainMessage::TuneSlowThreshold:
        break;
    default:
        return false;
    }
    if (DppSetup* setup = SetupOf(frame))
        setup->Handle(message);
    return true;
}

DppSheetState* DppSheetStateOf(CMainFrame& frame) {
    DppSetup* setup = SetupOf(frame);
    return setup ? &setup->SheetState() : nullptr;
}

DppTuner* DppTunerOf(CMainFrame& frame) {
    DppSetup* setup = SetupOf(frame);
    return setup ? &setup->Tuner() : nullptr;
}

COscilloscopeDlg* DppScopeOf(CMainFrame& frame) {
    DppSetup* setup = SetupOf(frame);
    return setup ? setup->Scope() : nullptr;
}

} // namespace vorna
