// The connected DPP in the program's core: its values in the info pane's DPP layout, and a read
// cycle landing in the live spectrum of the program state (channel count, totals, ROI
// statistics, times) with the blocks a saved live spectrum carries.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "appcore/DppInfoValues.h"
#include "appcore/DppLiveTarget.h"
#include "appcore/InfoPaneRows.h"
#include "appcore/MenuState.h"
#include "appcore/ProgramState.h"
#include "dpp/DppConfigText.h"
#include "dpp/DppDevice.h"
#include "settings/MemoryProfileStore.h"

using namespace vorna;

namespace {

std::string Cell(const std::vector<InfoPaneCell>& cells, int row, bool label = false) {
    for (const auto& c : cells)
        if (c.row == row)
            return label ? c.label : c.value;
    return "<none>";
}

DppDevice PloverImage() {
    DppDevice d;
    d.config.SlowChThreshold = 41; // 4.00 % of full scale
    d.config.FastChThreshold = 20;
    d.config.Rise = 4; // 3.2 us at the slow clock
    d.config.Avg = 1;
    d.config.Preset = 600;
    d.totalGainText = "24.88";
    d.status.serialNumber = 1001;
    d.status.accumulationTime = 1;
    d.status.tecText = "230K";
    d.status.hvText = "-110V";
    d.status.deadTimeText = "12.00%";
    return d;
}

} // namespace

TEST(DppInfo, LiveValuesFollowTheDeviceTypeAndTheRateRules) {
    DppDevice d = PloverImage();
    // Corrected for a 400 ns pulse-pair time, exactly 500 counts per second: no dead time yet.
    d.status.fastCount = 500.0 / (1 + 500 * 400e-9);
    DppLiveInfoInput in{&d, 2, "Plover", true, true, 0.1};
    DppLiveInfo info = MakeDppLiveInfo(in);
    EXPECT_EQ(info.mode, "MCA:DELTA");
    EXPECT_EQ(info.lldThreshold, "4.00% FS");
    EXPECT_EQ(info.fastThreshold, "20");
    EXPECT_EQ(info.peakTime, "3.2uS");
    // Live and read back from a saved spectrum, the rows show the same texts.
    const std::string block = ConfigurationText(d.config, d.status);
    for (const std::string& line :
         {"Slow Threshold: " + info.lldThreshold, "Fast Threshold: " + info.fastThreshold,
          "Rise: " + info.peakTime})
        EXPECT_NE(block.find(line + "\r\n"), std::string::npos) << line;
    EXPECT_EQ(info.gainDelta, "0.10");
    EXPECT_EQ(info.presetMode, "Seconds");
    EXPECT_EQ(info.presetValue, "60");
    EXPECT_EQ(info.deadTime, "");
    EXPECT_EQ(info.detectorHighVoltage, "-110V");
    d.status.fastCount = 501.0 / (1 + 501 * 400e-9);
    EXPECT_EQ(MakeDppLiveInfo(in).deadTime, "12.00%");

    CSpectrum live;
    live.m_nChannels = 1024;
    InfoPaneInput pane;
    pane.deviceType = 2;
    pane.dppName = "Plover";
    pane.dppLive = &info;
    AnalysisSettings st;
    auto cells = InfoPaneCells(live, st, pane);
    EXPECT_EQ(Cell(cells, 0, true), "Plover (s/n    1001)");
    EXPECT_EQ(Cell(cells, 3), "MCA:DELTA");
    EXPECT_EQ(Cell(cells, 8), "24.88");
    EXPECT_EQ(Cell(cells, 9), "0.10");
    EXPECT_EQ(Cell(cells, 32), "230K");

    // A Heron steps its coarse gain: no delta, and no detector readings.
    in.deviceType = 1;
    info = MakeDppLiveInfo(in);
    EXPECT_EQ(info.gainDelta, "Coarse Set");
    EXPECT_EQ(info.detectorTemperature, "");
    // A file spectrum shows nothing of the connected device.
    pane.listPosition = 1;
    live.m_nDppDeviceCode = 2;
    cells = InfoPaneCells(live, st, pane);
    EXPECT_EQ(Cell(cells, 9), "");
    EXPECT_EQ(Cell(cells, 32), "");

    // The gain step from 1 reaches exactly 100 and 0.01 and stays there.
    double delta = 1;
    for (int i = 0; i < 4; ++i)
        delta = ScaledGainDelta(delta, true);
    EXPECT_EQ(delta, 100);
    for (int i = 0; i < 6; ++i)
        delta = ScaledGainDelta(delta, false);
    EXPECT_EQ(delta, 0.01);

    // The source row and the start-up report name the selected type, not the last device seen.
    EXPECT_EQ(DppSourceName(4, "Plover"), "Osprey");
    EXPECT_EQ(DppSourceName(9, "Plover"), "Plover");
    EXPECT_EQ(DppStartupName(1, "Heron / Skua / Petrel"), "Heron");
    EXPECT_EQ(DppConnectionText(DppStartupName(9, ""), false),
              "DPP not connected please reset and try again...");

    EXPECT_EQ(DppPresetTexts(600, 5000, true),
              std::make_pair(std::string("Secs/Cnts"), std::string("60/5000")));
    EXPECT_EQ(DppPresetTexts(0, 5000, false),
              std::make_pair(std::string("None"), std::string("0")));
}

TEST(DppLive, ReadCycleFillsTheLiveSpectrumWithRoiStatisticsAndBlocksFollowTheLink) {
    MemoryProfileStore store;
    store.WriteInt("Standard", "device_type", 2);
    VirtualClock clock;
    vorna::test::ScriptedPrompt prompt;
    ProgramState state(store, clock, ScreenSize{1920, 1080});
    state.SetPrompt(&prompt);
    state.LoadProfile();
    state.CreateLiveSpectrum();
    CSpectrum& live = *state.Spectra().At(0);
    live.m_roi.Append(500, 520);
    int redraws = 0;
    DppLiveTarget target(state.Spectra(), [&] { ++redraws; });
    struct Activations : DisplaySink {
        int count = 0;
        void RedrawAbsoluteRange(int, int) override {}
        void RedrawPlot() override {}
        void RefreshInfoPane() override {}
        void RefreshSpectraListWindow() override {}
        void ResetPlotToFullRange() override {}
        void SpectrumActivated(const CSpectrum&) override { ++count; }
        int CursorChannelAbsolute() const override { return 0; }
    } display;
    state.Display().Attach(&display);

    std::vector<uint32_t> counts(1024, 10);
    for (int c = 505; c <= 515; ++c)
        counts[static_cast<size_t>(c)] = 1000;
    target.ReplaceCounts(counts, 1024, 21130);
    target.SetTimes(10, 9, "12/10/2026 09:30:00");
    target.ReplaceCounts(counts, 1024, 21130);
    // The navigation fields hear of the new channel count once, not on every read.
    EXPECT_EQ(display.count, 1);
    {
        auto s = live.Lock();
        EXPECT_EQ(s->m_nChannels, 1024);
        EXPECT_EQ(s->m_nGain, 2);
        EXPECT_EQ(s->m_pData.size(), 1024u);
        EXPECT_EQ(s->m_dTotalCounts, 21130);
        EXPECT_EQ(s->m_dLiveTime, 9);
        EXPECT_EQ(s->m_szStartTime, "12/10/2026 09:30:00");
        // The program state's environment runs the ROI statistics with the totals.
        EXPECT_GT(s->m_roi[0].netArea, 10000);
        EXPECT_NEAR(s->m_roi[0].centroid, 510, 0.5);
    }
    // A channel count the spectrum cannot hold changes nothing.
    target.ReplaceCounts(counts, 1000, 1);
    EXPECT_EQ(live.Lock()->m_nChannels, 1024);
    target.ClearData();
    EXPECT_EQ(live.Lock()->m_dTotalCounts, 0);
    EXPECT_EQ(live.Lock()->m_pData[510], 0);
    EXPECT_EQ(redraws, 1);
    state.Display().Attach(nullptr);

    // A device image that never held a status gives no blocks; one that acquired keeps its
    // blocks and serial number after the link is lost, since they describe the live data.
    DppDevice device;
    bool connected = false;
    DppDeviceBlocks blocks(device, [&] { return connected; });
    EXPECT_EQ(blocks.ConfigurationBlock(), "");
    EXPECT_EQ(blocks.SerialNumber(), 0);
    device = PloverImage();
    connected = true;
    EXPECT_NE(blocks.ConfigurationBlock(), "");
    EXPECT_NE(blocks.StatusBlock().find("1001"), std::string::npos);
    connected = false;
    EXPECT_NE(blocks.StatusBlock().find("1001"), std::string::npos);
    EXPECT_EQ(blocks.SerialNumber(), 1001);
}
