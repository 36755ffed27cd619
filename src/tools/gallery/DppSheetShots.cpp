// The DPP property sheet, one picture per page, for a Plover and an Osprey at 80 MHz, and the
// oscilloscope with a shaped pulse.

#include <cmath>

#include "Gallery.h"
#include "app/CMainFrame.h"
#include "common/UserPrompt.h"
#include "dpp/DppDevice.h"
#include "dpp/DppSheetHost.h"
#include "dpp/DppSheetState.h"
#include "dppui/CDppPropertySheet.h"
#include "dppui/COscilloscopeDlg.h"

namespace vorna::gallery {
namespace {

// A connected device that answers nothing; the pages and the scope only read its image.
class PictureHost : public DppSheetHost, public DppScopePort {
public:
    explicit PictureHost(int type) : m_type(type) {
        DppConfigRecord& r = m_device.config;
        r.SlowChThreshold = 20;
        r.FastChThreshold = 40;
        r.Rise = 4;
        r.Avg = 2;
        r.FlatTop = 3;
        r.BLR = 100;
        r.Offset = 13;
        r.DAC = 1;
        r.DAC_Enable = 1;
        r.TEC = 3000;
        r.HV = 1400;
        r.HVEnabled = 1;
        r.Preset = 600;
        r.PoleZero = 120;
        r.CoarseGain = type == 4 ? 6 : 9;
        r.Sca[7] = 100 + (300u << 16) + 0x80000000u;
        r.PresetCount = 10000;
        DppStatusRecord& s = m_device.status;
        s.deviceType = type;
        s.firmwareVersionByte = type == 4 ? 0x55 : 0x4F;
        s.bootFlags = type == 4 ? 0x0072 : 0;
        s.tecText = "230.1K";
        s.hvText = "-150V";
    }
    DppDevice& Device() override { return m_device; }
    int DeviceType() const override { return m_type; }
    bool Connected() const override { return true; }
    bool Acquiring() const override { return false; }
    bool LinkBusy() const override { return false; }
    UserPrompt& Prompt() override { return m_prompt; }
    void SendAndSaveConfiguration() override {}
    void WriteBootFlags(uint16_t) override {}
    void SetSpectrumOffset(int16_t) override {}
    void RefreshStatus() override {}
    void ReadInputOffset() override {}
    void WriteDescriptorText(const std::string&) override {}
    std::string ReadDescriptorText() override { return {}; }
    std::string RunConfigurationSource(DppConfigSource) override { return {}; }
    std::vector<std::string> DetectorConfigurationNames() override { return {"Demo"}; }
    std::string LoadDetectorConfiguration(const std::string&) override { return {}; }
    void StartStopAcquisition() override {}
    void DeleteDataAndResetTime() override {}
    void StepVerticalZoom(bool) override {}
    int CursorChannel() const override { return 1; }
    bool SelectedRoi(int&, int&) const override { return false; }
    void Post(MainMessage) override {}
    void ShowTotalGain(const std::string&, double) override {}
    int DataRefreshMs() const override { return 1000; }
    void SetDataRefreshMs(int) override {}
    bool StartupUsesHardware() const override { return true; }
    void SetStartupUsesHardware(bool) override {}
    bool GainScaleThresholds() const override { return true; }
    void SetGainScaleThresholds(bool) override {}
    bool ShowUpdatesAtStartup() const override { return true; }
    void SetShowUpdatesAtStartup(bool) override {}
    bool ReadTrace(std::array<uint8_t, 512>&) override { return false; }
    void ArmTrigger() override {}
    void ReopenLink() override {}
    bool AutoReArm() const override { return true; }
    void SetAutoReArm(bool) override {}
    bool ControlsStale() const override { return false; }
    void ClearControlsStale() override {}
    bool CaptureWindow(QWidget&) override { return false; }

private:
    int m_type;
    DppDevice m_device;
    SilentPrompt m_prompt;
};

void SheetPage(CMainFrame& frame, int type, DppPage page) {
    PictureHost host(type);
    DppSheetState state;
    state.MarkAllForReload();
    CDppPropertySheet sheet(host, state, &frame);
    for (int i = 0; i < kDppPageCount; ++i)
        sheet.page(static_cast<DppPage>(i))->OnSetActive();
    sheet.SetCurrentPage(page);
    sheet.exec();
}

Shot PageShot(const char* name, int type, DppPage page) {
    return {name, [type, page](CMainFrame& f, ProgramState&) { SheetPage(f, type, page); }};
}

const Registrar general{PageShot("dpp-sheet-1-general", 2, DppPage::General)};
const Registrar mca{PageShot("dpp-sheet-2-mca", 2, DppPage::Mca)};
const Registrar shaping{PageShot("dpp-sheet-3-shaping", 2, DppPage::Shaping)};
const Registrar gain{PageShot("dpp-sheet-4-gain", 2, DppPage::GainPoleZero)};
const Registrar power{PageShot("dpp-sheet-5-power", 2, DppPage::Power)};
const Registrar misc{PageShot("dpp-sheet-6-misc", 2, DppPage::Misc)};
const Registrar ospreyGeneral{PageShot("dpp-sheet-osprey-general", 4, DppPage::General)};
const Registrar ospreyShaping{PageShot("dpp-sheet-osprey-shaping", 4, DppPage::Shaping)};

void Scope(CMainFrame& frame, ProgramState&) {
    static PictureHost host(2);
    auto* scope = new COscilloscopeDlg(host, &frame);
    std::array<uint8_t, 512> trace{};
    for (size_t i = 0; i < trace.size(); ++i) {
        const double t = static_cast<double>(i) - 64;
        const double v = t < 0 ? 0 : 150 * (t / 24) * std::exp(1 - t / 24);
        trace[i] = static_cast<uint8_t>(std::clamp(40 + v, 0.0, 255.0));
    }
    scope->display()->ShowTrace(trace);
    scope->resize(scope->sizeHint());
    scope->show();
}
const Registrar scope{{"dpp-scope", Scope}};

} // namespace
} // namespace vorna::gallery
