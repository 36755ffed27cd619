#include <gtest/gtest.h>

#include "TestSupport.h"
#include "appcore/InfoPaneRows.h"
#include "appcore/KeyboardMap.h"
#include "appcore/RecentFiles.h"
#include "appcore/SpectraListRows.h"
#include "appcore/VersionText.h"
#include "appcore/WindowPlacement.h"
#include "settings/MemoryProfileStore.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumFile.h"

using namespace vorna;

namespace {

std::string ValueAt(const std::vector<InfoPaneCell>& cells, int row) {
    for (const auto& c : cells)
        if (c.row == row)
            return c.value;
    return "<none>";
}
std::string LabelAt(const std::vector<InfoPaneCell>& cells, int row) {
    for (const auto& c : cells)
        if (c.row == row)
            return c.label;
    return "<none>";
}

} // namespace

TEST(InfoPane, KestrelLayoutOfAFileSpectrum) {
    CSpectrum s;
    s.m_nGain = 2;
    s.m_nChannels = 1024;
    s.m_strTag = "fe55";
    s.m_nThreshold = 12;
    s.m_nSerialNumber = 4711;
    s.m_dRealTime = 101.256;
    s.m_dLiveTime = 0;
    s.m_dTotalCounts = -5; // shown as 0
    s.m_nPresetTime = 100;
    InfoPaneInput in;
    in.listPosition = 1;
    in.presetMode = 2;
    in.presetChannel = 128;
    AnalysisSettings st;
    const auto cells = InfoPaneCells(s, st, in);
    EXPECT_EQ(LabelAt(cells, 0), "KestrelA (s/n    4711)");
    EXPECT_EQ(LabelAt(cells, 2), "fe55");
    EXPECT_EQ(ValueAt(cells, 3), "MCA    ");
    EXPECT_EQ(ValueAt(cells, 5), "1024");
    EXPECT_EQ(ValueAt(cells, 7), "Chn 128");
    EXPECT_EQ(LabelAt(cells, 8), "Preset (cts)");
    EXPECT_EQ(ValueAt(cells, 9), "101.26");
    EXPECT_EQ(ValueAt(cells, 11), "0");
    EXPECT_EQ(ValueAt(cells, 12), "") << "no rate without live time";
    EXPECT_EQ(LabelAt(cells, 18), "Peak Information:");
    EXPECT_EQ(LabelAt(cells, 19), "Centroid (N)");
    EXPECT_EQ(ValueAt(cells, 19), "") << "no selected ROI: labels without values";
    EXPECT_EQ(LabelAt(cells, 20), "FWHM (N)");
}

TEST(InfoPane, RoiBlockFormatsAndDppLayoutRows) {
    CSpectrum s;
    s.m_nChannels = 1024;
    s.m_dLiveTime = 10;
    s.m_roi.Append(10, 20);
    s.m_roi[0].status = RoiStatus::Good;
    s.m_roi[0].centroid = 5.8987;
    s.m_roi[0].fwhm = 1.5;
    s.m_roi[0].netArea = 1234.4;
    s.m_roi[0].grossArea = 1500;
    s.m_roi.SetSelected(0);
    AnalysisSettings st;
    st.centroidCalcMethod = static_cast<CentroidMethod>(7);
    InfoPaneInput in;
    in.listPosition = 1;
    auto cells = InfoPaneCells(s, st, in);
    EXPECT_EQ(LabelAt(cells, 19), "Centroid (M)");
    EXPECT_EQ(ValueAt(cells, 19), "5.899");
    EXPECT_EQ(ValueAt(cells, 20), "1.5000");
    EXPECT_EQ(ValueAt(cells, 21), "1234");
    EXPECT_EQ(ValueAt(cells, 23), "123.44");
    EXPECT_EQ(CentroidValueText(15.2), "15.20");

    in.deviceType = 2;
    cells = InfoPaneCells(s, st, in);
    EXPECT_EQ(LabelAt(cells, 5), "LLD Thresh");
    EXPECT_EQ(LabelAt(cells, 12), "Accum Time");
    EXPECT_EQ(LabelAt(cells, 23), "Peak Information:");
    EXPECT_EQ(LabelAt(cells, 34), "Det. HV");
    EXPECT_EQ(LabelAt(cells, 21), "disconnected");
}

TEST(SpectraList, LettersColoursAndRowHits) {
    vorna::test::ScriptedPrompt prompt;
    SpectrumEnvironment env;
    env.prompt = &prompt;
    CSpectraList list(env);
    list.Add(std::make_unique<CSpectrum>(env.slots, 0), true);
    auto derived = std::make_unique<CSpectrum>(env.slots, 1);
    derived->m_strTag = "D";
    derived->m_bDerived = 1;
    derived->m_bHidden = 1;
    derived->m_crColor = 0x0000FF;
    CSpectrum* d = list.Add(derived, false);
    auto rows = SpectraListRows(list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].firstLetter, "A");
    EXPECT_EQ(rows[1].firstLetter, "H");
    EXPECT_EQ(rows[1].secondLetter, "E");
    EXPECT_EQ(rows[1].color, 0x0000FFu);
    list.Activate(list.PositionOf(d));
    rows = SpectraListRows(list);
    EXPECT_EQ(rows[1].firstLetter, "A") << "active wins over hidden";
    EXPECT_EQ(rows[0].firstLetter, "");
    EXPECT_EQ(SpectraListRowAt(500, 16, 2), 1) << "below the last row acts on the last";
    EXPECT_EQ(SpectraListRowAt(17, 16, 2), 1);
    EXPECT_EQ(SpectraListRowAt(3, 16, 0), -1);
    const auto g = SpectraListLayout(7, 16, 3);
    EXPECT_EQ(g.width, 140);
    EXPECT_EQ(g.height, 48);
    EXPECT_EQ(g.tagX, 56);
}

TEST(KeyboardMap, RowsInTableOrder) {
    const auto& rows = KeyboardMapRows();
    ASSERT_EQ(rows.size(), 36u);
    EXPECT_STREQ(rows.front().shortcut, "Right Arrow");
    EXPECT_STREQ(rows[15].description, "Compress horizontal scale");
    EXPECT_STREQ(rows[10].description, "Cycle amoung linear, log, and square root scales");
    EXPECT_STREQ(rows.back().shortcut, "F9");
    EXPECT_STREQ(rows[17].shortcut, "C");
    EXPECT_STREQ(rows[19].description, "Autoscale vertical range");
}

TEST(RecentFiles, KeepsFourNewestFirstWithoutDuplicatesAndMapsIds) {
    MemoryProfileStore store;
    RecentFiles recent(store);
    for (const char* p : {"/a/1.mca", "/a/2.mca", "/a/3.mca", "/a/4.mca", "/a/5.mca", "/A/3.MCA"})
        recent.AddRecentFile(p);
    ASSERT_EQ(recent.Entries().size(), 4u);
    EXPECT_EQ(recent.Entries()[0], "/A/3.MCA");
    EXPECT_EQ(recent.Entries()[3], "/a/2.mca");
    EXPECT_EQ(store.GetText("Recent File List", "File1", ""), "/A/3.MCA");
    RecentFiles again(store);
    again.Load();
    EXPECT_EQ(again.Entries(), recent.Entries());
    EXPECT_EQ(again.PathForCommand(57617), "/a/5.mca");
    EXPECT_EQ(again.PathForCommand(57620), "") << "only four entries";
    EXPECT_EQ(again.PathForCommand(57624), "") << "past the eighth id";
    EXPECT_EQ(RecentFiles::MenuText(0, "/x/fe55.mca"), "&1 fe55.mca");
}

TEST(VersionText, NormalisedOrUnknown) {
    EXPECT_EQ(NormalizeVersionText("1, 2, 3, 4"), "1.2.3");
    EXPECT_EQ(NormalizeVersionText(" 2.10 "), "2.10");
    EXPECT_EQ(FileProductVersion("/nonexistent/Elemix.Exe"), "Unknown");
    std::string bytes = "MZ junk";
    for (char c : std::string("ProductVersion"))
        bytes += std::string{c, '\0'};
    bytes += std::string(2, '\0');
    while (bytes.size() % 4)
        bytes += '\0';
    for (char c : std::string("3, 1, 0, 7"))
        bytes += std::string{c, '\0'};
    bytes += std::string(2, '\0');
    EXPECT_EQ(NormalizeVersionText(ProductVersionFromBytes(bytes)), "3.1.0");
}

TEST(WindowPlacement, KeepsWindowsAndSplittersUsable) {
    const ScreenSize screen{1920, 1080};
    PixelRect r = MainWindowRect({3000, 50, 3800, 650}, screen);
    EXPECT_EQ(r.right, 1920);
    EXPECT_EQ(r.Width(), 800);
    r = MainWindowRect({10, 10, 10, 10}, screen);
    EXPECT_EQ(r.Width(), kMinimumWindowSize);
    EXPECT_EQ(ClampSplit(20, 1000), 80);
    EXPECT_EQ(ClampSplit(5000, 1000), 920);
    const PaneSplit p = AllPanesSplit(100, 400, 7, 16);
    EXPECT_EQ(p.infoWidth, 50) << "half the width when the rule leaves under 5 pixels";
    EXPECT_EQ(p.plotHeight, 400 - 7 * 16);
    EXPECT_EQ(PlaceDialog({1900, -5}, 300, 200, screen).x, 1620);
    EXPECT_EQ(PlaceDialog({1900, -5}, 300, 200, screen).y, 0);
}

TEST(AboutBox, DeviceLinesFollowTheAnalyzerAndTheShownSpectrum) {
    AboutDeviceFacts f;
    EXPECT_EQ(AboutDeviceLines(f), std::vector<std::string>{"KestrelA"}); // nothing connected
    f.kestrelModel = 1;
    EXPECT_EQ(AboutDeviceLines(f), std::vector<std::string>{"Kestrel"});
    f.kestrelModel = 2;
    f.kestrelSerial = 4711;
    EXPECT_EQ(AboutDeviceLines(f), std::vector<std::string>{"KestrelA S/N:  4711"});
    f.kestrelUsb = true;
    EXPECT_EQ(AboutDeviceLines(f), std::vector<std::string>{"KestrelA USB S/N:  4711"});

    AboutDeviceFacts d;
    d.deviceType = 2;
    d.dppName = "Plover";
    d.dppFirmwareByte = 0x4E;
    d.dppFpgaByte = 0x51;
    d.usbDriverVersion = 2.5;
    EXPECT_EQ(AboutDeviceLines(d),
              (std::vector<std::string>{"Plover", "Firmware Version:  4.14", "FPGA Version:  5.01",
                                        "USB Driver Version:  2.500"}));
    d.dppSerial = 1234;
    d.shownHasDpp = true;
    d.shownName = "Osprey";
    d.shownSerial = "99";
    d.shownFirmware = "6.02";
    d.shownFpga = "6.01";
    const std::vector<std::string> lines = AboutDeviceLines(d);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Plover (s/n    1234)");
    EXPECT_EQ(lines[4], "Osprey (s/n      99)");
    EXPECT_EQ(lines[5], "Firmware Version:  6.02");
    EXPECT_EQ(lines[6], "FPGA Version:  6.01");
}
