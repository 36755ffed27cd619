#include <gtest/gtest.h>

#include <vector>

#include "dpp/DppConfigText.h"
#include "dpp/DppFieldConversions.h"
#include "dpp/DppModels.h"
#include "dpp/DppScopeGeometry.h"
#include "dpp/DppSheetState.h"

using namespace vorna;

namespace {

int Commit(DppField field, std::string_view text, DppFieldContext context = {}) {
    return FieldSpec(field, context).read(text);
}
std::string Show(DppField field, int value, DppFieldContext context = {}) {
    return FieldSpec(field, context).text(value);
}

} // namespace

TEST(DppFieldConversions, ThresholdScaleClampsAndShowsPercent) {
    // 30 % is beyond the scale: the largest byte, shown as the scale's top.
    EXPECT_EQ(Commit(DppField::SlowThresholdPercent, "30"), 250);
    EXPECT_EQ(Show(DppField::SlowThresholdPercent, 250), "24.41% FS");
    EXPECT_EQ(Commit(DppField::SlowThresholdPercent, "-4"), 0);
    EXPECT_EQ(Commit(DppField::SlowThresholdPercent, "junk"), 0);
    EXPECT_EQ(SlowThresholdByteFromChannel(100, 1024), 100);
    EXPECT_EQ(SlowThresholdChannel(100, 4096), 400);
    // Channel counts outside 256..8192 use the nearest end of the scale.
    EXPECT_EQ(SlowThresholdChannel(100, 64), 25);
    // 256 channels: one arrow click moves two bytes.
    EXPECT_EQ(FieldSpec(DppField::SlowThresholdPercent, {0, false, 256}).step, 2);
}

TEST(DppFieldConversions, ScaWordsAndPresetCountWindow) {
    EXPECT_EQ(DigitsValue("12a3"), 123u);
    EXPECT_EQ(DigitsValue("abc"), 0u);
    EXPECT_EQ(DigitsValue("99999999999999"), UINT32_MAX);
    const uint32_t w = ScaWord(70000, 0x18000, true);
    EXPECT_EQ(ScaLower(w), 0xFFFFu);
    EXPECT_EQ(ScaUpper(w), 0x0000u); // only 15 bits of the upper level fit
    EXPECT_TRUE(ScaEnabled(w));

    DppConfigRecord r;
    SetPresetCountWindow(r, 100, 200, 5000);
    EXPECT_EQ(r.Sca[7], 100u + (200u << 16) + 0x80000000u);
    // A count of 0 switches the window off but keeps it.
    SetPresetCountWindow(r, 100, 200, 0);
    EXPECT_EQ(r.PresetCount, 0u);
    EXPECT_FALSE(ScaEnabled(r.Sca[7]));
    EXPECT_EQ(ScaLower(r.Sca[7]), 100u);
    EXPECT_EQ(ScaUpper(r.Sca[7]), 200u);
}

TEST(DppFieldConversions, SpectrumOffsetEnds) {
    EXPECT_EQ(SpectrumOffsetFromPercent(-100), -32768);
    EXPECT_EQ(SpectrumOffsetFromPercent(100), 32767);
    EXPECT_EQ(SpectrumOffsetFromPercent(250), 32767);
    EXPECT_EQ(SpectrumOffsetFromPercent(-50), -16384);
    EXPECT_DOUBLE_EQ(SpectrumOffsetPercent(-32768), -100);
    EXPECT_DOUBLE_EQ(SpectrumOffsetPercent(32767), 100);
    EXPECT_DOUBLE_EQ(SpectrumOffsetChannels(-16384, 1024), -512);
}

TEST(DppFieldConversions, GainFields) {
    // Heron: a typed 50 is nearest the 55.4x step.
    EXPECT_EQ(Commit(DppField::CoarseGain, "50", {1}), 2);
    EXPECT_EQ(Show(DppField::CoarseGain, 2, {1}), "55x");
    EXPECT_EQ(Commit(DppField::CoarseGain, "5000", {3}), 3);
    // Plover fine gain 1.3 is beyond its 1.25 limit; an Osprey takes up to 1.5.
    EXPECT_EQ(Commit(DppField::FineGain, "1.3", {2}), 10240);
    EXPECT_EQ(Show(DppField::FineGain, 10240, {2}), "1.2500");
    EXPECT_EQ(Commit(DppField::FineGain, "1.3", {4}), 10650);
    EXPECT_EQ(Commit(DppField::FineGain, "0", {4}), 4096);

    // Total gain: the product of the chosen steps lands on the request within the fine step.
    for (int type : {2, 4}) {
        for (double t : {3.0, 10.0, 47.0, 100.0, 500.0}) {
            const DppGainChoice c = ChooseTotalGain(t, type);
            ASSERT_GE(c.fine, MinFineGain(type));
            ASSERT_LE(c.fine, MaxFineGain(type));
            if (c.fine > MinFineGain(type) && c.fine < MaxFineGain(type)) {
                EXPECT_NEAR(CoarseGainValue(type, c.code) * c.fine / 8192, t, t * 1e-3)
                    << "type " << type << " total " << t;
            }
        }
    }
    // A Plover at its lowest step: 4.2 needs code 0 with fine near 1.
    EXPECT_EQ(ChooseTotalGain(4.2, 2).code, 0);
    EXPECT_FALSE(TotalGainStepAllowed(0.5, 4));
    EXPECT_TRUE(TotalGainStepAllowed(50, 4));
    EXPECT_FALSE(TotalGainStepAllowed(1000, 2));
}

TEST(DppFieldConversions, AnalogFields) {
    EXPECT_EQ(Commit(DppField::InputOffset, "0"), 2048);
    EXPECT_EQ(Commit(DppField::InputOffset, "-2.048"), 0);
    EXPECT_EQ(Commit(DppField::InputOffset, "2"), 4000);
    EXPECT_EQ(Show(DppField::InputOffset, 0), "-2.048V");

    EXPECT_EQ(Commit(DppField::OutputOffset, "-10mV"), 125);
    EXPECT_EQ(Show(DppField::OutputOffset, 125), "-23mV");
    EXPECT_EQ(Commit(DppField::OutputOffset, "492"), 63);
    EXPECT_EQ(Show(DppField::OutputOffset, 13), "101mV");
    EXPECT_EQ(Show(DppField::OutputOffset, 64), "-500mV");

    EXPECT_EQ(Commit(DppField::HighVoltage, "0"), 0);
    EXPECT_EQ(Commit(DppField::HighVoltage, "1500", {2, false}), 2048);
    EXPECT_EQ(Commit(DppField::HighVoltage, "900", {2, true}), 2048);
    EXPECT_EQ(Commit(DppField::HighVoltage, "1e9"), 4000);
    EXPECT_EQ(Show(DppField::HighVoltage, 2048, {2, true}), "900.0V");
    EXPECT_EQ(Commit(DppField::Tec, "0"), 2458);
    EXPECT_EQ(Show(DppField::Tec, 3000), "219.7K");
    EXPECT_EQ(Show(DppField::PoleZero, 0), "OFF");
    EXPECT_EQ(Commit(DppField::PoleZero, "OFF"), 0);
}

TEST(DppFieldConversions, ArrowsWrapOrStop) {
    const DppFieldSpec fast = FieldSpec(DppField::FastThreshold, {});
    EXPECT_EQ(StepFieldValue(fast, 250, 1), 0);
    EXPECT_EQ(StepFieldValue(fast, 0, -1), 250);
    const DppFieldSpec rtd = FieldSpec(DppField::RtdFast, {});
    EXPECT_EQ(StepFieldValue(rtd, 19, 1), 19);
    EXPECT_EQ(StepFieldValue(rtd, 4, -1), 4);
    EXPECT_EQ(Show(DppField::RtdFast, 10, {4}), "RTD Slow Thresh=19% FS");
    EXPECT_EQ(Show(DppField::RtdSlow, 32, {4}), "RTD Ratio=50.0%");
}

TEST(DppFieldConversions, BaselineRestoration) {
    const int blr = BlrWithUpCorrection(64, 3);
    EXPECT_EQ(blr, 76);
    EXPECT_EQ(BlrText(static_cast<uint8_t>(blr), false), "BLR:ON DN:1 UP:64 ");
    EXPECT_EQ(BlrWithDownCorrection(64, 2), 96);
    EXPECT_EQ(NormalizedBlr(0), 63);
    EXPECT_EQ(NormalizedBlr(255), 124);
    EXPECT_EQ(NormalizedBlr(101), 100); // bits 0..1 never survive
    EXPECT_EQ(BlrFromSpinPosition(0), 63);
    EXPECT_EQ(BlrSpinPosition(124), 16);
}

TEST(DppFieldConversions, SlowThresholdSearch) {
    std::vector<double> counts(16384, 0.0);
    // Zero everywhere: the walk reaches channel 0 and the floor of channel 6 applies.
    EXPECT_EQ(FindSlowThreshold(counts, 1024).channel, 6);
    // Noise below channel 40 that exceeds the largest count from channel 245 on.
    for (int c = 0; c < 40; ++c)
        counts[static_cast<size_t>(c)] = 1000 - c;
    for (int c = 245; c < 1024; ++c)
        counts[static_cast<size_t>(c)] = 3;
    SlowThresholdSearch r = FindSlowThreshold(counts, 1024);
    EXPECT_EQ(r.channel, 41);
    EXPECT_FALSE(r.tooHigh);
    // Noise right below the start of the search: the walk cannot go down at all.
    std::fill(counts.begin(), counts.end(), 2.0);
    counts[244] = 500;
    r = FindSlowThreshold(counts, 1024);
    EXPECT_EQ(r.channel, 245);
    EXPECT_FALSE(r.tooHigh);
    // With 8192 channels the search starts at 1966, above the limit of 1960: limited, reported.
    counts[1965] = 500;
    r = FindSlowThreshold(counts, 8192);
    EXPECT_EQ(r.channel, 1960);
    EXPECT_TRUE(r.tooHigh);
    EXPECT_EQ(ThresholdFromNormalized(NormalizedThreshold(40, 10), 20), 80);
    EXPECT_EQ(ThresholdFromNormalized(0, 20), 6);
    EXPECT_EQ(NormalizedThreshold(40, 0.5), 0);
}

TEST(DppSheetState, ThreeModifiedPagesSendOnceAfterTheLast) {
    DppSheetState s;
    bool a = false, b = false, c = false;
    MarkPageModified(s, a);
    MarkPageModified(s, a); // a second edit of the same page counts once
    MarkPageModified(s, b);
    MarkPageModified(s, c);
    EXPECT_EQ(s.pendingApplyCount, 3);
    EXPECT_FALSE(FinishPageApply(s));
    EXPECT_FALSE(FinishPageApply(s));
    EXPECT_TRUE(FinishPageApply(s));
    EXPECT_EQ(s.pendingApplyCount, 0);
    EXPECT_TRUE(s.scopeControlsStale);

    s.offsetRetune = true;
    EXPECT_TRUE(InputOffsetRetuneDue(s, 2, 0x40, 0));
    EXPECT_FALSE(InputOffsetRetuneDue(s, 4, 0x50, 0)); // the Osprey picks its own default
    EXPECT_TRUE(InputOffsetRetuneDue(s, 4, 0x50, 100));
    EXPECT_FALSE(InputOffsetRetuneDue(s, 1, 0x40, 100));

    s.generalMessagePending = true;
    s.fastThresholdTuned = true;
    EXPECT_EQ(ChooseFirstPage(s).page, DppPage::General);
    s.generalMessagePending = false;
    DppFirstPage first = ChooseFirstPage(s);
    EXPECT_EQ(first.page, DppPage::GainPoleZero);
    EXPECT_TRUE(first.readInputOffset);
    EXPECT_FALSE(s.offsetRetune);
    EXPECT_EQ(ChooseFirstPage(s).page, DppPage::Shaping);
    EXPECT_EQ(ChooseFirstPage(s).page, DppPage::General);
}

TEST(DppScopeGeometry, SamplesAndTriggerMarker) {
    EXPECT_EQ(ScopeSamplePoint(0, 0).y, kScopeLogicalSize); // bottom edge
    EXPECT_EQ(ScopeSamplePoint(511, 255).y, 1);             // top row
    EXPECT_EQ(ScopeSamplePoint(511, 255).x, 255);
    EXPECT_EQ(ScopeTriggerMarkerX(0), 224);
    EXPECT_EQ(ScopeTriggerMarkerX(2), 32);
    EXPECT_FALSE(ScopeTriggerMarkerX(3).has_value());
}
