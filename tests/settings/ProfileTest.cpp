#include <climits>
#include <set>

#include <gtest/gtest.h>

#include "ProfileTestSupport.h"
#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"
#include "settings/ProfileFolders.h"
#include "spectrum/AnalysisSettings.h"
#include "spectrum/SpectrumEnvironment.h"
#include "spectrum/SpectrumSlotDefaults.h"

using namespace vorna;

namespace {

constexpr ScreenSize kScreen{1920, 1080};

const MemoryProfileStore::Value& stored(const MemoryProfileStore& s, const char* section,
                                        const char* key) {
    const MemoryProfileStore::Value* v = s.Find(section, key);
    if (!v)
        throw std::runtime_error(std::string("not stored: ") + key);
    return *v;
}

} // namespace

TEST(Profile, KeyTableHasEveryKeyOnce) {
    std::set<std::string> names;
    for (const auto& row : ProfileKeys())
        EXPECT_TRUE(names.insert(row.name).second) << "duplicate " << row.name;
    // 18 general, 26 link and acquisition (9 serial device files), 11 analysis, 6 repeat,
    // 14 DPP, 12 plot, 33 slot, 10 placement and splitter, 24 dialog, 18 pane keys.
    EXPECT_EQ(names.size(), 172u);
    EXPECT_EQ(FindProfileKey("m_nSpChanPosition")->intDefault, 128);
    EXPECT_EQ(FindProfileKey("lib_list_height")->axis, ProfileAxis::Vertical);
    EXPECT_EQ(FindProfileKey("top_split")->axis, ProfileAxis::None);
    EXPECT_EQ(FindProfileKey("nope"), nullptr);
    // Device access: text keys, empty by default so the built-in mapping applies.
    for (const char* key : {"serial_device_1", "serial_device_9", "dpp_usb_ids"}) {
        ASSERT_NE(FindProfileKey(key), nullptr) << key;
        EXPECT_EQ(FindProfileKey(key)->type, ProfileType::Text) << key;
        EXPECT_EQ(FindProfileKey(key)->textDefault, "") << key;
    }
    EXPECT_EQ(FindProfileKey("serial_device_0"), nullptr);
}

TEST(Profile, FirstStartYieldsDefaults) {
    MemoryProfileStore store;
    CSProfile p(store, kScreen);
    p.Load();
    EXPECT_EQ(p.ProfileName(), "Standard");
    EXPECT_TRUE(store.Values().empty()) << "loading must not write";

    EXPECT_EQ(p.startDlgShow, 1);
    EXPECT_EQ(p.spectraDirectory, "\\");
    EXPECT_EQ(p.libraryFile, "*.lib");
    EXPECT_EQ(p.spectrumTemplateFile, "*.mca");
    EXPECT_EQ(p.librarySens, 10.0);
    EXPECT_EQ(p.peakSearchSens, 5.0);
    EXPECT_EQ(p.baudRate, 115200);
    EXPECT_EQ(p.gainIndex, 2);
    EXPECT_EQ(p.spChanPosition, 128);
    EXPECT_EQ(p.dataRefresh, 1000);
    EXPECT_EQ(p.calibEquationType, 1);
    EXPECT_EQ(p.autoCalValue2, "6.49");
    EXPECT_EQ(p.repeatMeasDelay, 1.0);
    EXPECT_EQ(p.highGain, 210.0);
    EXPECT_EQ(p.fastThreshMult, 1.3);
    EXPECT_EQ(p.plotGridColor, 0x804000);
    EXPECT_EQ(p.plotRoiSelectColor, 0xFFFF00);
    EXPECT_EQ(p.slots[0].tag, "live_data");
    EXPECT_EQ(p.slots[3].color, 0xC08000);
    EXPECT_EQ(p.slots[9].width, 2);
    EXPECT_EQ(p.slots[9].tag, "S9");
    EXPECT_EQ(p.commonDefaults.color, 0x808000);
    EXPECT_EQ(p.placementShow, 5);
    EXPECT_EQ(p.leftSplit, 5500); // splitters are pixels, not screen fractions
    EXPECT_EQ(p.infoFont.weight, 700);
    EXPECT_EQ(p.selectFont.face, "Arial");
    EXPECT_EQ(p.selectColor, 0xD8E9EC);

    // Positions arrive in pixels: 1200 of 10000 on 1920 pixels is 230.
    EXPECT_EQ(p.placementLeft, 230);
    EXPECT_EQ(p.placementTop, 130);
    EXPECT_EQ(p.placementRight, 1632);
    EXPECT_EQ(p.Dialog(ProfileDialog::UserPrefsDlg).hpos, 576);
    EXPECT_EQ(p.Dialog(ProfileDialog::UserPrefsDlg).vpos, 324);
    EXPECT_EQ(p.libListWidth, 288);

    // A profile that was never loaded holds the same defaults.
    CSProfile fresh(store, kScreen);
    test::expectSameValues(fresh, p);
}

TEST(Profile, PositionConversion) {
    EXPECT_EQ(PositionToPixels(1200, 1920), 230);
    EXPECT_EQ(PixelsToPosition(230, 1920), 1198);
    EXPECT_EQ(PixelsToPosition(0, 1080), 0);
    EXPECT_EQ(PositionToPixels(10000, 1080), 1080);
    EXPECT_EQ(PixelsToPosition(1080, 1080), 10000);
    // Every pixel position of a screen up to 10000 pixels survives the round trip, also left of
    // or above the primary screen.
    for (int extent : {640, 1080, 1920, 3840, 9999})
        for (int px = -50; px <= extent + 50; ++px)
            ASSERT_EQ(PositionToPixels(PixelsToPosition(px, extent), extent), px) << extent;
    // Hand-edited extremes saturate instead of overflowing.
    EXPECT_EQ(PositionToPixels(INT_MAX, 3840), 824633720);
    EXPECT_EQ(PixelsToPosition(INT_MAX, 640), INT_MAX);
    EXPECT_EQ(PixelsToPosition(INT_MIN, 640), INT_MIN);
    // Without a screen (batch tools) positions stay as stored.
    EXPECT_EQ(PositionToPixels(1200, 0), 1200);
    EXPECT_EQ(PixelsToPosition(1200, 0), 1200);
}

TEST(Profile, SaveWritesEverythingAndLoadsBack) {
    MemoryProfileStore store;
    CSProfile p(store, kScreen);
    test::changeEveryValue(p);
    p.acquireMode = 0; // compared below; its forced save is covered separately
    p.spectraDirectory = "C:\\Data \xB5m\\"; // Windows-1252 bytes pass unchanged
    ASSERT_TRUE(p.Save());

    const auto& log = store.WriteLog();
    ASSERT_EQ(log.size(), ProfileKeys().size() + 1);
    EXPECT_EQ(log.front(), "Config/Profile");
    EXPECT_EQ(log[1], "Standard/start_dlg_show");
    EXPECT_EQ(log.back(), "Standard/select_color");

    CSProfile q(store, kScreen);
    q.Load();
    test::expectSameValues(q, p);
}

TEST(Profile, SaveFormatsAndForcedValues) {
    MemoryProfileStore store;
    CSProfile p(store, kScreen);
    p.acquireMode = 1; // Limited MCS
    p.librarySens = 10.0;
    p.peakSearchSens = 2.5;
    p.lowGain = 1234567.0;
    WindowPlacement wp{2, 3, 230, 130, 1000, 900};
    p.Save(&wp);

    // A program must never start in Limited MCS; the running session keeps its mode.
    EXPECT_EQ(stored(store, "Standard", "m_nAcquireMode"), MemoryProfileStore::Value(0));
    EXPECT_EQ(p.acquireMode, 1);
    // Decimals are text written with "%g" (locale-free), integers are numbers.
    EXPECT_EQ(stored(store, "Standard", "library_sens"), MemoryProfileStore::Value("10"));
    EXPECT_EQ(stored(store, "Standard", "peak_search_sens"), MemoryProfileStore::Value("2.5"));
    EXPECT_EQ(stored(store, "Standard", "LowGain"), MemoryProfileStore::Value("1.23457e+06"));
    EXPECT_EQ(stored(store, "Standard", "baud_rate"), MemoryProfileStore::Value(115200));
    EXPECT_EQ(stored(store, "Standard", "AutoCalValue"), MemoryProfileStore::Value("5.89"));
    // The placement comes from the window and is stored in 1/10000 of the screen.
    EXPECT_EQ(p.placementRight, 1000);
    EXPECT_EQ(stored(store, "Standard", "placement_flags"), MemoryProfileStore::Value(2));
    EXPECT_EQ(stored(store, "Standard", "placement_show"), MemoryProfileStore::Value(3));
    EXPECT_EQ(stored(store, "Standard", "placement_left"), MemoryProfileStore::Value(1198));
    EXPECT_EQ(stored(store, "Standard", "placement_bottom"), MemoryProfileStore::Value(8333));
    EXPECT_EQ(stored(store, "Standard", "left_split"), MemoryProfileStore::Value(5500));
}

TEST(Profile, ProfileNamesSelectTheSection) {
    MemoryProfileStore store;
    store.WriteText("Config", "Profile", "Lab 2");
    store.WriteInt("Lab 2", "gain_index", 5);
    store.WriteInt("Standard", "gain_index", 1);
    CSProfile p(store, kScreen);
    p.Load();
    EXPECT_EQ(p.ProfileName(), "Lab 2");
    EXPECT_EQ(p.gainIndex, 5);
    EXPECT_EQ(p.GetInt("gain_index", -1), 5);
    p.SetText("extra", "x");
    EXPECT_EQ(store.GetText("Lab 2", "extra", ""), "x");
    EXPECT_EQ(p.GetText("missing", "dflt"), "dflt");

    // A renamed profile is written under its new name, which becomes the current one.
    p.SetProfileName("Night shift");
    p.gainIndex = 3;
    p.Save();
    EXPECT_EQ(store.GetText("Config", "Profile", ""), "Night shift");
    EXPECT_EQ(store.GetInt("Night shift", "gain_index", -1), 3);
    EXPECT_EQ(store.GetInt("Lab 2", "gain_index", -1), 5);

    // An empty stored name would put the settings beside "Config": it means the standard one.
    store.WriteText("Config", "Profile", "");
    CSProfile r(store, kScreen);
    r.Load();
    EXPECT_EQ(r.ProfileName(), "Standard");
    EXPECT_EQ(r.gainIndex, 1);
}

TEST(Profile, DamagedValuesFallBackToDefaults) {
    MemoryProfileStore store;
    store.WriteText("Standard", "gain_index", "abc");
    store.WriteText("Standard", "baud_rate", "99999999999");
    store.WriteText("Standard", "threshold", " 12 ");
    store.WriteText("Standard", "library_sens", "nan");
    store.WriteText("Standard", "peak_search_sens", "fast");
    store.WriteText("Standard", "LowGain", "1e-3");
    store.WriteText("Standard", "HighGain", "250,5"); // a comma-locale slip: 250 as atof reads
    store.WriteText("Standard", "info_font_Face", std::string(40, 'F'));
    store.WriteInt("Standard", "AutoCalUnits", 7); // a number where text was expected
    CSProfile p(store, kScreen);
    p.Load();
    EXPECT_EQ(p.gainIndex, 2);
    EXPECT_EQ(p.baudRate, 115200);
    EXPECT_EQ(p.threshold, 12);
    EXPECT_EQ(p.librarySens, 10.0);
    EXPECT_EQ(p.peakSearchSens, 5.0);
    EXPECT_EQ(p.lowGain, 0.001);
    EXPECT_EQ(p.highGain, 250.0);
    EXPECT_EQ(p.infoFont.face, std::string(32, 'F'));
    EXPECT_EQ(p.autoCalUnits, "7");
}

TEST(Profile, FillsWhatSpectrumCodeReads) {
    MemoryProfileStore store;
    CSProfile p(store, kScreen);

    // The defaults of the profile and of the spectrum code's own tables agree.
    AnalysisSettings fromProfile;
    fromProfile.backgroundChannels = -1;
    p.FillAnalysisSettings(fromProfile);
    AnalysisSettings builtIn;
    EXPECT_EQ(fromProfile.backgroundChannels, builtIn.backgroundChannels);
    EXPECT_EQ(fromProfile.goodPeakLevel, builtIn.goodPeakLevel);
    EXPECT_EQ(fromProfile.calibEquationType, builtIn.calibEquationType);
    EXPECT_EQ(fromProfile.peakWidth, builtIn.peakWidth);
    EXPECT_EQ(fromProfile.peakSearchSens, builtIn.peakSearchSens);
    EXPECT_EQ(fromProfile.librarySens, builtIn.librarySens);
    EXPECT_EQ(fromProfile.showAllRoi, builtIn.showAllRoi);
    SpectrumSlotDefaults builtInSlots, slots;
    slots.SetFallback({9, 9, "x"});
    p.FillSlotDefaults(slots);
    for (int n = 0; n <= SpectrumSlotDefaults::kSlots; ++n) {
        EXPECT_EQ(slots.ForPosition(n).width, builtInSlots.ForPosition(n).width) << n;
        EXPECT_EQ(slots.ForPosition(n).color, builtInSlots.ForPosition(n).color) << n;
        EXPECT_EQ(slots.ForPosition(n).tag, builtInSlots.ForPosition(n).tag) << n;
    }

    // Changed values reach the copies.
    p.backgroundChannels = 4;
    p.fwhmCalcMethod = 3;
    p.centroidCalcMethod = 2;
    p.fwhmNoSmooths = 1;
    p.calibrateEnable = 0;
    p.librarySens = 2.5;
    p.smoothKind = 1;
    p.slots[4] = {3, 0x123456, "Ref"};
    p.commonDefaults = {4, 0xABCDEF, "X"};
    p.deviceType = 2;
    p.spectraDirectory = "/data/spectra";
    SpectrumEnvironment env;
    p.FillEnvironment(env);
    EXPECT_EQ(env.settings.backgroundChannels, 4);
    EXPECT_EQ(env.settings.fwhmCalcMethod, FwhmMethod::Gauss);
    EXPECT_EQ(env.settings.centroidCalcMethod, CentroidMethod::Gauss);
    EXPECT_EQ(env.settings.fwhmNoSmooths, 1);
    EXPECT_EQ(env.settings.calibrateEnable, 0);
    EXPECT_EQ(env.settings.librarySens, 2.5);
    EXPECT_EQ(env.settings.smoothKind, 1);
    EXPECT_EQ(env.slots.ForPosition(4).tag, "Ref");
    EXPECT_EQ(env.slots.ForPosition(4).color, 0x123456u);
    EXPECT_EQ(env.slots.ForPosition(15).width, 4);
    EXPECT_EQ(env.dppDeviceType, 2);
    EXPECT_EQ(env.spectraDirectory, "/data/spectra/");
}

TEST(Profile, FolderSettingsOnThisPlatform) {
    EXPECT_TRUE(IsUnsetFolder(""));
    EXPECT_TRUE(IsUnsetFolder("\\"));
    EXPECT_FALSE(IsUnsetFolder("/"));
    EXPECT_FALSE(IsUnsetFolder("spectra"));
    EXPECT_EQ(FolderForFiles("\\"), UserDataFolder());
    EXPECT_EQ(FolderForFiles("/data"), "/data/");
    EXPECT_EQ(FolderForFiles("/data/"), "/data/");
    EXPECT_EQ(WithTrailingSeparator(""), "");
}
