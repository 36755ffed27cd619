#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "appcore/PreferencesAftermath.h"
#include "appcore/ProgramState.h"
#include "settings/MemoryProfileStore.h"

using namespace vorna;

namespace {

struct StateFixture : ::testing::Test {
    MemoryProfileStore store;
    VirtualClock clock;
    vorna::test::ScriptedPrompt prompt;

    std::unique_ptr<ProgramState> Start() {
        auto state = std::make_unique<ProgramState>(store, clock, ScreenSize{1920, 1080});
        state->SetPrompt(&prompt);
        state->LoadProfile();
        state->StartWorkers({});
        state->CreateLiveSpectrum();
        state->LoadStartupFiles();
        return state;
    }
};

} // namespace

TEST_F(StateFixture, StartsInOrderWithTheLiveSpectrumAndStopsBeforeSaving) {
    store.WriteInt("Standard", "save_on_exit", 1);
    auto state = Start();
    ASSERT_EQ(state->Spectra().GetCount(), 1);
    const CSpectrum* live = state->Spectra()[0];
    EXPECT_EQ(live->m_strTag, "live_data");
    EXPECT_EQ(live->m_nChannels, 16384);
    EXPECT_EQ(state->Spectra().GetActivePosition(), 0);
    state->Shutdown(nullptr);
    EXPECT_TRUE(state->UpdateThread()->Done());
    const std::vector<std::string> expected = {
        "recent files",         "profile",         "device rules", "workers", "live spectrum",
        "template and library", "workers stopped", "profile saved"};
    EXPECT_EQ(state->Journal(), expected);
    EXPECT_TRUE(prompt.messages.empty()) << prompt.messages.front();
}

TEST_F(StateFixture, DppProfileForcesMcaAndNoPresetsAndKestrelResetsPeakMode) {
    store.WriteInt("Standard", "device_type", 2);
    store.WriteInt("Standard", "m_nPresetMode", 1);
    store.WriteInt("Standard", "m_nSpTotalCts", 5000);
    auto state = Start();
    EXPECT_EQ(state->Profile().presetMode, kPresetModeNone);
    EXPECT_EQ(state->Profile().spTotalCts, 0);
    EXPECT_EQ(state->Profile().acquireMode, 0);

    MemoryProfileStore kestrel;
    kestrel.WriteInt("Standard", "absolute_peak", 5);
    ProgramState other(kestrel, clock, ScreenSize{1920, 1080});
    other.LoadProfile();
    EXPECT_EQ(other.Profile().absolutePeak, 0);
}

TEST_F(StateFixture, WithoutSaveOnExitProfileChangesAreLost) {
    store.WriteInt("Standard", "save_on_exit", 0);
    auto state = Start();
    state->Profile().scaleType = 2;
    store.ClearWriteLog();
    state->Shutdown(nullptr);
    EXPECT_TRUE(store.WriteLog().empty());
    EXPECT_EQ(store.GetInt("Standard", "scale_type", 0), 0);
}

TEST_F(StateFixture, StartupTemplateGivesTheLiveSpectrumItsRoisAndAMissingOneIsReported) {
    vorna::test::TempDir dir;
    store.WriteText("Standard", "spectra_directory", dir.path() + "/");
    store.WriteInt("Standard", "load_roi", 1);
    store.WriteText("Standard", "m_strSpectrumTemplateFile", "template.mca");
    {
        auto state = Start();
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_NE(prompt.messages[0].find("Invalid Spectrum Template path or file - "),
                  std::string::npos);
        EXPECT_EQ(state->Spectra()[0]->m_roi.GetCount(), 0);
    }
    prompt.messages.clear();
    std::filesystem::copy_file(VORNA_SOURCE_DIR "/examples/fe55.mca", dir.file("template.mca"));
    auto state = Start();
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(state->Spectra()[0]->m_roi.GetCount(), 2);
}

// The main window's work after the preferences close, decided from the values before and after.
TEST_F(StateFixture, AfterPreferencesOnlyWhatChangedIsReloadedOrRecomputed) {
    auto state = Start();
    CSpectrum& live = *state->Spectra()[0];
    {
        auto l = live.Lock();
        for (int c = 90; c <= 110; ++c)
            l->m_pData[c] = 1000.0 - 9.0 * (c - 100) * (c - 100);
        l->m_roi.Append(90, 110);
        l->m_calibrate.AddPoint(100, 5.9);
    }
    CSProfile& p = state->Profile();
    const ProfileValues before = p;
    p.goodPeakLevel = 500;
    AftermathResult r = RunAfterPreferences(*state, DecideAfterPreferences(before, p, false));
    EXPECT_TRUE(r.statusTexts.empty());
    EXPECT_FALSE(r.roisRecomputed);
    EXPECT_EQ(live.Lock()->m_roi[0].grossArea, 0.0) << "nothing recomputed";

    p.backgroundChannels = 3;
    r = RunAfterPreferences(*state, DecideAfterPreferences(before, p, false));
    EXPECT_TRUE(r.roisRecomputed);
    EXPECT_GT(live.Lock()->m_roi[0].grossArea, 0.0);

    // Defaults without a template to load empty the live spectrum's tables; a library that was
    // never loaded needs no clearing.
    r = RunAfterPreferences(*state, DecideAfterPreferences(p, p, true));
    EXPECT_TRUE(live.Lock()->m_roi.IsEmpty());
    EXPECT_EQ(live.Lock()->m_calibrate.GetCount(), 0);
    EXPECT_TRUE(r.statusTexts.empty());

    // A template named in a folder where it is missing: its load fails and says so.
    const ProfileValues beforeTemplate = p;
    p.loadRoi = 1;
    p.spectrumTemplateFile = "missing.mca";
    r = RunAfterPreferences(*state, DecideAfterPreferences(beforeTemplate, p, false));
    EXPECT_EQ(r.statusTexts, std::vector<std::string>{"Spectrum Template Load Failed..."});
    state->Shutdown(nullptr);
}
