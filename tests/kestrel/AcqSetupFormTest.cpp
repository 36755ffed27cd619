// The acquisition setup rules without widgets: lists, enabling, preset modes, checks of OK.

#include <gtest/gtest.h>

#include "kestrel/AcqSetupForm.h"
#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"

namespace vorna {
namespace {

class AcqSetupFormTest : public ::testing::Test {
protected:
    AcqSetupFormTest() : profile(store, ScreenSize{1920, 1080}) {
        profile.deviceType = 0;
        profile.presetMode = static_cast<int>(AcqPresetMode::Seconds);
        profile.acquireMode = 0;
        profile.spTotalCts = 7000;
        profile.spChanCts = 300;
        profile.spChanPosition = 512;
        values.gainIndex = 2;
        values.preset = 60;
        values.threshold = 40;
    }
    AcqSetupForm Form(KestrelDeviceType analyzer = KestrelDeviceType::KestrelA) {
        return AcqSetupForm(values, profile, analyzer);
    }
    static AcqFieldTexts Texts(std::string preset, std::string channel, std::string threshold) {
        return {std::move(preset), std::move(channel), std::move(threshold)};
    }

    MemoryProfileStore store;
    CSProfile profile;
    AcqSetup values;
};

TEST_F(AcqSetupFormTest, ListsDependOnAnalyzerAndChannelCount) {
    AcqSetupForm a = Form();
    ASSERT_EQ(a.AdcEntries().size(), 7u);
    EXPECT_EQ(a.AdcEntries().back(), "16384");
    ASSERT_EQ(a.GroupEntries().size(), 32u); // 1024 channels
    EXPECT_EQ(a.GroupEntries().back(), "31");
    EXPECT_TRUE(a.GroupEnabled());

    AcqSetupForm plain = Form(KestrelDeviceType::Kestrel);
    EXPECT_EQ(plain.AdcEntries().back(), "8192");
    EXPECT_FALSE(plain.GroupEnabled());
    EXPECT_TRUE(plain.AdcEnabled());

    profile.deviceType = 1; // a DPP profile never offers the KestrelA's extras
    EXPECT_EQ(Form().AdcEntries().size(), 6u);

    // A new channel count keeps a group that still fits and falls back to 0 otherwise.
    a.ChangeGroup(20);
    a.ChangeAdcChannels(3); // 2048: 16 groups
    EXPECT_EQ(a.GroupEntries().size(), 16u);
    EXPECT_EQ(a.GroupSelection(), 0);
    a.ChangeGroup(5);
    a.ChangeAdcChannels(4); // 4096: 8 groups
    EXPECT_EQ(a.GroupSelection(), 5);
    EXPECT_EQ(a.Values().gainIndex, 4);
}

TEST_F(AcqSetupFormTest, PresetModesSetLabelValueAndEnabling) {
    AcqSetupForm f = Form();
    EXPECT_EQ(f.PresetLabel(), "Preset (sec):");
    EXPECT_EQ(f.Values().preset, 60u);
    EXPECT_TRUE(f.PresetEnabled());
    EXPECT_FALSE(f.ChannelUsedEnabled());
    EXPECT_EQ(f.Values().channelUsed, 512);

    ASSERT_FALSE(f.ChangePresetMode(1, Texts("60", "512", "40")));
    EXPECT_EQ(f.PresetLabel(), "Preset (cts):");
    EXPECT_EQ(f.Values().preset, 7000u);
    ASSERT_FALSE(f.ChangePresetMode(2, Texts("7000", "512", "40")));
    EXPECT_EQ(f.Values().preset, 300u);
    EXPECT_TRUE(f.ChannelUsedEnabled());
    ASSERT_FALSE(f.ChangePresetMode(3, Texts("300", "512", "40")));
    EXPECT_EQ(f.PresetLabel(), "Preset (sec)");
    EXPECT_EQ(f.Values().preset, 0u);
    EXPECT_FALSE(f.PresetEnabled());
    EXPECT_FALSE(f.ChannelUsedEnabled());
    EXPECT_EQ(f.PresetModeSelection(), 3);

    // A refused field leaves the mode as it was.
    ASSERT_FALSE(f.ChangePresetMode(0, Texts("0", "512", "40")));
    const auto error = f.ChangePresetMode(1, Texts("5", "512", "9000"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Please enter an integer between 1 and 8192.");
    EXPECT_EQ(error->field, AcqSetupField::Threshold);
    EXPECT_EQ(f.Values().presetMode, 0);
    EXPECT_EQ(f.Values().preset, 0u);
}

TEST_F(AcqSetupFormTest, LimitedMcsForcesNoneAnd256Channels) {
    profile.presetMode = static_cast<int>(AcqPresetMode::Counts);
    AcqSetupForm f = Form();
    f.ChangeAcquisitionMode(1);
    EXPECT_EQ(f.PresetModeEntries(), (std::vector<std::string>{"Seconds", "None"}));
    EXPECT_EQ(f.PresetModeSelection(), 1);
    EXPECT_EQ(f.AdcSelection(), 0);
    EXPECT_FALSE(f.AdcEnabled());
    EXPECT_FALSE(f.GroupEnabled());
    EXPECT_FALSE(f.PeakModeEnabled());
    // The counts preset must not survive as a time preset under None.
    EXPECT_EQ(f.Values().preset, 0u);
    EXPECT_FALSE(f.PresetEnabled());

    f.ChangeAcquisitionMode(0);
    EXPECT_EQ(f.PresetModeEntries().size(), 4u);
    EXPECT_TRUE(f.AdcEnabled());
}

TEST_F(AcqSetupFormTest, FieldRangesAndMessages) {
    AcqSetupForm f = Form();
    auto error = f.ReadFields(Texts("16777216", "0", "50"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Please enter an integer between 0 and 16777215.");
    EXPECT_EQ(error->field, AcqSetupField::Preset);
    EXPECT_TRUE(f.ReadFields(Texts("", "0", "50")));
    EXPECT_TRUE(f.ReadFields(Texts("12x", "0", "50")));
    EXPECT_TRUE(f.ReadFields(Texts("5", "0", "0")));
    error = f.ReadFields(Texts("5", "99999999999", "8"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->field, AcqSetupField::ChannelUsed);
    EXPECT_EQ(f.Values().preset, 60u); // nothing taken from a refused read

    ASSERT_FALSE(f.ReadFields(Texts(" 16777215 ", "-3", "8192")));
    EXPECT_EQ(f.Values().preset, 16777215u);
    EXPECT_EQ(f.Values().channelUsed, -3);
    EXPECT_EQ(f.Values().threshold, 8192);
    EXPECT_EQ(AcqSetupForm::ThresholdFromCursor(0), "1");
    EXPECT_EQ(AcqSetupForm::ThresholdFromCursor(700), "700");
}

TEST_F(AcqSetupFormTest, OkChecksInOrder) {
    profile.presetMode = static_cast<int>(AcqPresetMode::Channel);
    AcqSetupForm f = Form();
    EXPECT_FALSE(f.Accept(Texts("10", "1024", "50"))); // equal to the channel count passes
    auto error = f.Accept(Texts("10", "1025", "50"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Invalid channel range for Preset Channel Mode!");
    EXPECT_EQ(f.Accept(Texts("0", "-1", "50"))->message,
              "Invalid channel range for Preset Channel Mode!");
    EXPECT_EQ(f.Accept(Texts("0", "5", "50"))->message, "No preset counts defined!");

    profile.presetMode = static_cast<int>(AcqPresetMode::Counts);
    EXPECT_EQ(Form().Accept(Texts("0", "99999", "50"))->message, "No preset counts defined!");

    profile.presetMode = static_cast<int>(AcqPresetMode::Seconds);
    profile.acquireMode = 1;
    AcqSetupForm mcs = Form();
    EXPECT_FALSE(mcs.Accept(Texts("16384", "0", "50")));
    EXPECT_EQ(mcs.Accept(Texts("16385", "0", "50"))->message, "Invalid preset range for MCS mode!");
}

TEST_F(AcqSetupFormTest, OkAndDefaultsWriteTheProfile) {
    profile.presetMode = static_cast<int>(AcqPresetMode::Counts);
    AcqSetupForm f = Form();
    ASSERT_FALSE(f.Accept(Texts("5000", "512", "50")));
    f.StoreInProfile(profile);
    EXPECT_EQ(profile.spTotalCts, 5000);
    EXPECT_EQ(profile.spChanCts, 5000);
    EXPECT_EQ(profile.presetMode, 1);

    AcqSetupForm d = Form();
    d.ChangeAcquisitionMode(1);
    d.Defaults();
    ASSERT_FALSE(d.Accept(d.FieldTexts()));
    d.StoreInProfile(profile);
    EXPECT_EQ(profile.acquireMode, 0);
    EXPECT_EQ(profile.presetMode, 3);
    EXPECT_EQ(profile.spChanPosition, 128);
    const AcqSetup& v = d.Values();
    EXPECT_EQ(v.gainIndex, 2);
    EXPECT_EQ(v.threshold, 50);
    EXPECT_EQ(v.peakMode, 1);
    EXPECT_EQ(v.timerType, 1);
    EXPECT_EQ(v.liveMode, 1);
    EXPECT_EQ(d.RememberedTotalCounts(), 1000u);
    EXPECT_TRUE(d.AdcEnabled());
}

} // namespace
} // namespace vorna
