#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"
#include "settings/PreferencesModel.h"

using namespace vorna;
using vorna::test::ScriptedPrompt;
using vorna::test::TempDir;

namespace {

struct Sheet {
    MemoryProfileStore store;
    CSProfile profile{store, {1920, 1080}};
    ScriptedPrompt prompt;
};

} // namespace

TEST(PreferencesModel, McaFieldsConvertAndAreRangeChecked) {
    EXPECT_EQ(ComPortFromText("COM3"), 3);
    EXPECT_EQ(ComPortFromText("USB"), -1);
    EXPECT_EQ(ComPortFromText("COM0"), -1);
    EXPECT_EQ(ComPortFromText("COM"), -1);
    EXPECT_EQ(ComPortText(-1), "");
    EXPECT_EQ(IntervalMsFromText("0.25"), 250);
    EXPECT_EQ(IntervalMsFromText("100000"), 100000000);
    EXPECT_EQ(IntervalMsFromText("100000.5"), std::nullopt);
    EXPECT_EQ(IntervalMsFromText("1s"), std::nullopt);

    Sheet s;
    PreferencesModel model(s.profile, 0, {true, 1234, 1});
    EXPECT_EQ(model.mca.comPort, "COM1");
    EXPECT_EQ(model.mca.interval, "1");
    model.mca.comPort = "COM3";
    model.mca.interval = "100000.5";
    model.MarkModified(PreferencesPage::Mca);
    EXPECT_FALSE(model.Apply(s.profile, s.prompt).applied);
    EXPECT_EQ(s.prompt.messages,
              std::vector<std::string>{"Please enter a number between 0 and 100000."});
    EXPECT_EQ(s.profile.comPort, 1) << "nothing written while a field is refused";

    model.mca.interval = "0.25";
    model.mca.manual = true;
    ApplyOutcome out = model.Apply(s.profile, s.prompt);
    ASSERT_TRUE(out.applied);
    EXPECT_EQ(s.profile.comPort, 3);
    EXPECT_EQ(s.profile.updateInterval, 250);
    EXPECT_EQ(s.profile.autoUpdate, 0);
    // A connected Kestrel gets its security code and battery type from the caller.
    ASSERT_TRUE(out.mcaSend);
    EXPECT_EQ(out.mcaSend->securityCode, 1234);
    EXPECT_EQ(out.mcaSend->batteryType, 1);
    EXPECT_FALSE(out.resolutionTestOption) << "the Analysis page was not touched";

    // "Defaults - MCA" then OK on a connected analyzer asks for code 0 (which unlocks it) and
    // Alkaline; without a connection nothing is to be sent.
    PreferencesModel defaults(s.profile, 0, {true, 1234, 1});
    EXPECT_EQ(defaults.PressDefaults(PreferencesPage::Mca), "Defaults applied for MCA Setup...");
    out = defaults.Apply(s.profile, s.prompt);
    ASSERT_TRUE(out.mcaSend);
    EXPECT_EQ(out.mcaSend->securityCode, 0);
    EXPECT_EQ(out.mcaSend->batteryType, 0);
    EXPECT_EQ(s.profile.comPort, 1);
    EXPECT_EQ(s.profile.updateInterval, 1000);
    PreferencesModel offline(s.profile, 0, {});
    offline.MarkModified(PreferencesPage::Mca);
    EXPECT_FALSE(offline.Apply(s.profile, s.prompt).mcaSend);
}

TEST(PreferencesModel, PagesFollowTheDeviceType) {
    PageDescription dpp = DescribePage(PreferencesPage::Mca, 4);
    EXPECT_EQ(dpp.title, "Vesta MCA Setup");
    EXPECT_EQ(dpp.defaultsCaption, " ");
    EXPECT_FALSE(dpp.defaultsEnabled);
    EXPECT_FALSE(dpp.controlsEnabled);
    PageDescription kestrel = DescribePage(PreferencesPage::Mca, 0);
    EXPECT_EQ(kestrel.title, "  &MCA  ");
    EXPECT_EQ(kestrel.defaultsCaption, "Defaults - MCA");
    EXPECT_EQ(McaOpeningMessage(0, {}), "MCA is not connected.  Certain parameters are disabled.");
    EXPECT_FALSE(McaSecurityFieldsEnabled(0, {}));
    EXPECT_EQ(McaOpeningMessage(2, {}), "");

    Sheet s;
    PreferencesModel onDpp(s.profile, 1, {});
    EXPECT_EQ(onDpp.PressDefaults(PreferencesPage::Mca), "") << "a blank button does nothing";
    EXPECT_FALSE(onDpp.DefaultsUsed());
    EXPECT_TRUE(onDpp.ResolutionTestEnabled());
    EXPECT_FALSE(onDpp.InitialPeakingTimeEnabled());
    onDpp.SetResolutionTest(true);
    EXPECT_EQ(onDpp.analysis.repeatLoops, 24);
    EXPECT_TRUE(onDpp.InitialPeakingTimeEnabled());
    ApplyOutcome out = onDpp.Apply(s.profile, s.prompt);
    ASSERT_TRUE(out.applied);
    EXPECT_EQ(s.profile.repeatMeasLoops, 24);
    EXPECT_EQ(out.resolutionTestOption, true);
    EXPECT_FALSE(out.mcaSend);
    EXPECT_FALSE(PreferencesModel(s.profile, 0, {}).ResolutionTestEnabled());
}

TEST(PreferencesModel, DefaultsSkipTheFolderAndFileChecks) {
    Sheet s;
    TempDir dir;
    s.profile.libraryDirectory = dir.file("gone/");
    s.profile.libraryFile = "lines.lib";
    PreferencesModel checked(s.profile, 0, {});
    checked.MarkModified(PreferencesPage::Analysis);
    EXPECT_FALSE(checked.Apply(s.profile, s.prompt).applied);
    EXPECT_EQ(s.prompt.messages, std::vector<std::string>{"Invalid pathname - library files."});

    PreferencesModel model(s.profile, 0, {});
    EXPECT_EQ(model.PressDefaults(PreferencesPage::General),
              "Defaults applied for General Setup...");
    model.analysis.backgroundChannels = "0";
    model.MarkModified(PreferencesPage::Analysis);
    EXPECT_FALSE(model.Apply(s.profile, s.prompt).applied) << "range checks still hold";
    EXPECT_EQ(s.prompt.messages.back(), "Please enter an integer between 1 and 1024.");
    model.analysis.backgroundChannels = "3";
    s.prompt.messages.clear();
    ASSERT_TRUE(model.Apply(s.profile, s.prompt).applied);
    EXPECT_TRUE(s.prompt.messages.empty());
    EXPECT_EQ(s.profile.backgroundChannels, 3);
    EXPECT_EQ(s.profile.spectrumTemplateFile, "*.mca");
    EXPECT_EQ(s.profile.ProfileName(), "Standard");
    EXPECT_EQ(model.PressDefaults(PreferencesPage::Analysis),
              "Defaults applied for Analysis Setup...");
    EXPECT_EQ(model.analysis.peakWidth, 20);
    EXPECT_EQ(model.analysis.librarySens, "5");
    // A decimal typed with a comma is refused, not dropped.
    model.analysis.peakSearchSens = "7,5";
    EXPECT_FALSE(model.Apply(s.profile, s.prompt).applied);
    EXPECT_EQ(s.prompt.messages.back(), "Please enter a number.");
    model.analysis.peakSearchSens = "7.5";
    ASSERT_TRUE(model.Apply(s.profile, s.prompt).applied);
    EXPECT_EQ(s.profile.peakSearchSens, 7.5);
    EXPECT_EQ(s.profile.librarySens, 5.0);
}

TEST(PreferencesModel, ReloadsOnlyWhatTheirSettingsChanged) {
    Sheet s;
    s.profile.libraryAutoload = 1;
    s.profile.loadRoi = 1;
    const ProfileValues before = s.profile;

    PreferencesModel model(s.profile, 0, {});
    model.analysis.goodPeakLevel = 250;
    model.MarkModified(PreferencesPage::Analysis);
    ASSERT_TRUE(model.Apply(s.profile, s.prompt).applied);
    EXPECT_EQ(s.profile.goodPeakLevel, 250);
    AfterPreferences none = DecideAfterPreferences(before, s.profile, model.DefaultsUsed());
    EXPECT_FALSE(none.loadLibrary || none.clearLibrary || none.loadTemplate ||
                 none.clearLiveTables || none.recomputeRois);

    ProfileValues after = before;
    after.libraryFile = "other.lib";
    after.centroidCalcMethod = 2;
    AfterPreferences d = DecideAfterPreferences(before, after, false);
    EXPECT_TRUE(d.loadLibrary);
    EXPECT_TRUE(d.recomputeRois);
    EXPECT_FALSE(d.loadTemplate);
    after = before;
    after.libraryAutoload = 0; // "Load on Startup" switched off keeps this run's library
    after.spectrumTemplateFile = "t.mca";
    d = DecideAfterPreferences(before, after, false);
    EXPECT_FALSE(d.clearLibrary);
    EXPECT_FALSE(d.loadLibrary);
    EXPECT_TRUE(d.loadTemplate);
    d = DecideAfterPreferences(before, before, true);
    EXPECT_TRUE(d.clearLibrary);
    EXPECT_TRUE(d.clearLiveTables);
}

TEST(PreferencesModel, FolderAndFileFieldsKeepTemplateAndLibraryConsistent) {
    Sheet s;
    TempDir dir;
    std::filesystem::create_directories(dir.file("a"));
    std::filesystem::create_directories(dir.file("b"));
    vorna::test::writeFile(dir.file("a/t.mca"), "x");
    vorna::test::writeFile(dir.file("b/lines.lib"), "x");
    s.profile.spectraDirectory = dir.file("a/");
    s.profile.spectrumTemplateFile = "t.mca";
    s.profile.loadRoi = 1;
    PreferencesModel model(s.profile, 0, {});
    EXPECT_TRUE(model.TemplateSwitchesEnabled());

    // A folder without the template: back to "*.mca", at once in the profile, switches off.
    model.SpectraFolderChosen(s.profile, dir.file("b"));
    EXPECT_EQ(s.profile.spectraDirectory, dir.file("b/"));
    EXPECT_EQ(s.profile.spectrumTemplateFile, "*.mca");
    EXPECT_FALSE(model.general.loadRoi);
    EXPECT_FALSE(model.TemplateSwitchesEnabled());
    // Browsing a template elsewhere moves the spectra folder to it.
    model.TemplateChosen(s.profile, dir.file("a/t.mca"));
    EXPECT_EQ(s.profile.spectrumTemplateFile, "t.mca");
    EXPECT_EQ(s.profile.spectraDirectory, dir.file("a/"));
    EXPECT_TRUE(model.TemplateSwitchesEnabled());
    EXPECT_FALSE(model.TemplateEdited(s.prompt, "none.mca"));
    EXPECT_EQ(model.general.templateFile, "*.mca");
    EXPECT_EQ(s.prompt.messages.back(), "Invalid filename - " + dir.file("a/none.mca") + ".");

    // A folder that cannot be written keeps the field's previous text.
    EXPECT_FALSE(model.SpectraFolderEdited(s.profile, s.prompt, dir.file("gone")));
    EXPECT_EQ(s.prompt.messages.back(), "Invalid pathname - spectra files.");
    EXPECT_EQ(model.general.spectraDirectory, dir.file("a/"));
    EXPECT_TRUE(model.LibraryFolderEdited(s.profile, s.prompt, dir.file("b")));
    EXPECT_EQ(s.profile.libraryDirectory, dir.file("b"));
    EXPECT_TRUE(model.LibraryFileEdited(s.prompt, "lines.lib"));
    model.LibraryFolderChosen(s.profile, dir.file("a"));
    EXPECT_EQ(s.profile.libraryFile, "*.lib");
    model.LibraryFileChosen(s.profile, dir.file("b/lines.lib"));
    EXPECT_EQ(s.profile.libraryDirectory, dir.file("b/"));
    EXPECT_EQ(s.profile.libraryFile, "lines.lib");

    model.ColourPresetPressed(s.profile, ColourPreset::Lumo);
    EXPECT_EQ(s.profile.plotBackgroundColor, 0xC0C0C0);
    EXPECT_EQ(s.profile.infoColor, 0x808040);
    EXPECT_EQ(s.profile.selectColor, 0x808040);
    EXPECT_EQ(model.plot.backgroundColor, 0xC0C0C0);
    ApplyColourPreset(s.profile, ColourPreset::Vorna);
    EXPECT_EQ(s.profile.selectColor, 0xD8E9EC);
}
