#include <gtest/gtest.h>

#include "dpp/DppConfigFile.h"
#include "dpp/DppConfigStrings.h"

using namespace vorna;

namespace {

DppConfigStrings fixture(const char* name) {
    DppConfigFile file;
    EXPECT_TRUE(file.Load(std::string(VORNA_TEST_DATA_DIR) + "/dpp/" + name, 2).ok);
    return file.strings;
}

DppConfigRecord readLines(std::initializer_list<std::pair<int, const char*>> lines,
                          int deviceType = 2) {
    DppConfigStrings s = fixture("plover.cfg");
    for (const auto& [line, text] : lines)
        s.Line(line) = text;
    DppConfigRecord r;
    StringsToRecord(s, r, deviceType);
    return r;
}

} // namespace

TEST(DppConfigStrings, StringsRecordStringsKeepsEveryLine) {
    for (const char* name : {"plover.cfg", "osprey.cfg"}) {
        DppConfigStrings in = fixture(name);
        // Lines the program always rewrites, whatever the file held.
        in.Line(10) = "COM3";
        for (int line : {21, 22, 24, 25})
            in.Line(line) = "0";
        DppConfigRecord r;
        StringsToRecord(in, r, 2);
        EXPECT_EQ(r.Port, 0);
        DppConfigStrings out = RecordToStrings(r, 2, false);
        for (int line = 1; line <= DppConfigStrings::kLineCount; ++line) {
            if (line == 10)
                EXPECT_EQ(out.Line(line), "0");
            else if (line == 21 || line == 22 || line == 24 || line == 25)
                EXPECT_EQ(out.Line(line), "1");
            else
                EXPECT_EQ(out.Line(line), in.Line(line)) << name << " line " << line;
        }
        for (int slot = 0; slot < DppConfigStrings::kFirstSlot; ++slot)
            EXPECT_EQ(out.Slot(slot), "");
    }
}

TEST(DppConfigStrings, LineTokens) {
    DppConfigRecord r = readLines({{1, "9"}});
    EXPECT_EQ(r.Avg, 2);
    EXPECT_EQ(r.Rise, 6);

    r = readLines({{9, "MCA512"}});
    EXPECT_EQ(r.MCA, 3);
    EXPECT_EQ(r.channels, 512);
    r = readLines({{9, "MCA16384"}});
    EXPECT_EQ(r.MCA, 5);
    EXPECT_EQ(r.channels, 8192);
    EXPECT_EQ(readLines({{9, "MCAxyz"}}).MCA, 3);
    EXPECT_EQ(readLines({{9, "MCA4096"}}).MCA, 0);

    r = readLines({{32, "3"}});
    EXPECT_EQ(r.IndLED, 1);
    EXPECT_EQ(r.IndBuzzer, 1);
    EXPECT_EQ(RecordToStrings(r, 2, false).Line(32), "3");
    r = readLines({{32, "2"}});
    EXPECT_EQ(r.IndLED, 1);
    EXPECT_EQ(r.IndBuzzer, 0);

    EXPECT_EQ(readLines({{42, "1"}}).AcqMode, 1);
    EXPECT_EQ(readLines({{42, "0"}}).AcqMode, 0);
    EXPECT_EQ(readLines({{42, "129"}}).AcqMode, 1);
    EXPECT_EQ(readLines({{42, "2"}}).AcqMode, 0);

    r = readLines({{17, "BufferSelectB"}, {18, "gatelow"}, {6, " purON "}, {11, "RTDOn"}});
    EXPECT_EQ(r.BufferSelect, 0x10);
    EXPECT_EQ(r.Gate, 0xC0);
    EXPECT_EQ(r.PUREnable, 1);
    EXPECT_EQ(r.RTDOn, 1);
    DppConfigStrings back = RecordToStrings(r, 2, false);
    EXPECT_EQ(back.Line(17), "BufferSelectB");
    EXPECT_EQ(back.Line(18), "GateLow");
    r = readLines({{17, "BufferSelectX"}, {18, "Gate?"}, {15, "AutoBaselineOn"}});
    EXPECT_EQ(r.BufferSelect, 0x00);
    EXPECT_EQ(r.Gate, 0x00);
    EXPECT_EQ(r.AutoBaseline, 1);

    r = readLines({{8, "DAC1"}});
    EXPECT_EQ(r.DAC_Enable, 1);
    EXPECT_EQ(r.DAC, 0);
    r = readLines({{8, " DAC5"}});
    EXPECT_EQ(r.DAC_Enable, 0);
    EXPECT_EQ(RecordToStrings(r, 2, false).Line(8), "DAC5");
    EXPECT_EQ(readLines({{8, "garbage"}}).DAC_Enable, 0);

    EXPECT_EQ(readLines({{30, "0"}}).HVEnabled, 0);
    EXPECT_EQ(readLines({{30, "12abc"}}).HV, 12);
    EXPECT_EQ(readLines({{3, "0x20"}}).SlowChThreshold, 0); // decimal only
}

TEST(DppConfigStrings, PresetTexts) {
    EXPECT_EQ(PresetFromText("30 min"), 18000u);
    EXPECT_EQ(PresetFromText("24 HR"), 864000u);
    EXPECT_EQ(PresetFromText("None"), 0u);
    EXPECT_EQ(PresetFromText("2.5"), 25u);
    EXPECT_EQ(PresetText(25), "2.5 sec");
    EXPECT_EQ(PresetFromText("12.5 seconds"), 125u);
    EXPECT_EQ(PresetText(18000), "30 min");
    EXPECT_EQ(PresetText(864000), "24 hr");
    EXPECT_EQ(PresetText(7), "0.7 sec");
    EXPECT_EQ(PresetFromText("abc"), 0u);
    EXPECT_EQ(PresetFromText("-3"), 0u);
    // Every tenth written as text reads back as itself.
    for (uint32_t tenths = 0; tenths < 5000; ++tenths)
        ASSERT_EQ(PresetFromText(PresetText(tenths)), tenths);
}

TEST(DppConfigStrings, ScaWordsKeepAll32Bits) {
    DppConfigRecord r = readLines({{34, "4294967295"}, {35, "2147483648"}, {33, "99999999999"}});
    EXPECT_EQ(r.Sca[0], 0xFFFFFFFFu);
    EXPECT_EQ(r.Sca[1], 0x80000000u);
    EXPECT_EQ(r.PresetCount, 0xFFFFFFFFu);
    DppConfigStrings s = RecordToStrings(r, 2, false);
    EXPECT_EQ(s.Line(34), "4294967295");
    EXPECT_EQ(s.Line(35), "2147483648");
}

TEST(DppConfigStrings, TotalGainByDeviceType) {
    DppConfigStrings s = fixture("plover.cfg"); // code 9, fine gain 1.0
    DppConfigRecord r;
    EXPECT_EQ(StringsToRecord(s, r, 2).text, "20.90");
    s.Line(14) = "2";
    s.Line(20) = "4096";
    DppTotalGain heron = StringsToRecord(s, r, 1);
    EXPECT_EQ(heron.text, "27.70");
    EXPECT_DOUBLE_EQ(heron.value, 27.7);
    s.Line(14) = "7"; // beyond the Heron table: its highest gain
    EXPECT_EQ(StringsToRecord(s, r, 3).text, "53.10");
    s.Line(14) = "4";
    EXPECT_EQ(StringsToRecord(s, r, 4).text, "3.28");
}
