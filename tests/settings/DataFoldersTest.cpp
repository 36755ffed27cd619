#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/DataFolders.h"
#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"
#include "settings/PreferencesModel.h"
#include "spectrum/CSpectrum.h"
#include "spectrum/SpectrumEnvironment.h"
#include "spectrum/SpectrumFile.h"

using namespace vorna;
using vorna::test::ScriptedPrompt;
using vorna::test::TempDir;

namespace {

EnvironmentLookup lookupIn(std::map<std::string, std::string> vars) {
    return [vars = std::move(vars)](const char* name) -> const char* {
        auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    };
}

// Points XDG_DATA_HOME at a private folder for one test, and puts it back.
class PrivateDataHome {
public:
    PrivateDataHome() {
        if (const char* v = std::getenv("XDG_DATA_HOME"))
            m_saved = v;
        setenv("XDG_DATA_HOME", m_dir.path().c_str(), 1);
    }
    ~PrivateDataHome() {
        if (m_saved)
            setenv("XDG_DATA_HOME", m_saved->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }
    std::string dataFolder() const { return m_dir.path() + "/vorna/"; }

private:
    TempDir m_dir;
    std::optional<std::string> m_saved;
};

} // namespace

TEST(DataFolders, NoFolderMeansThePerUserDataFolder) {
    EXPECT_EQ(UserDataFolder(lookupIn({{"XDG_DATA_HOME", "/x/data"}, {"HOME", "/home/u"}})),
              "/x/data/vorna/");
    // A relative XDG_DATA_HOME is not valid and is passed over.
    EXPECT_EQ(UserDataFolder(lookupIn({{"XDG_DATA_HOME", "rel"}, {"HOME", "/home/u/"}})),
              "/home/u/.local/share/vorna/");
    EXPECT_EQ(UserDataFolder(lookupIn({})), "");

    for (const char* unset : {"", "\\"})
        EXPECT_EQ(ResolveFolder(unset, "/d/vorna/"), "/d/vorna/") << unset;
    EXPECT_EQ(ResolveFolder("/data/spectra", "/d/vorna/"), "/data/spectra/");
    EXPECT_EQ(ResolveFolder("C:\\data\\", "/d/vorna/"), "C:\\data\\");

    // The profile's Windows default reaches spectrum code as the data folder, not as "" (the
    // working directory) or "\".
    PrivateDataHome home;
    MemoryProfileStore store;
    CSProfile profile(store, {1920, 1080});
    ASSERT_EQ(profile.spectraDirectory, "\\");
    SpectrumEnvironment env;
    profile.FillEnvironment(env);
    EXPECT_EQ(env.spectraDirectory, home.dataFolder());
}

TEST(DataFolders, FolderCheckOfNoFolderMakesTheDataFolderWhenFirstNeeded) {
    PrivateDataHome home;
    ASSERT_FALSE(std::filesystem::exists(home.dataFolder()));
    ScriptedPrompt prompt;
    EXPECT_TRUE(CSProfile::CheckFolder(prompt, "\\", "spectra"));
    EXPECT_TRUE(std::filesystem::is_directory(home.dataFolder()));
    EXPECT_TRUE(std::filesystem::is_empty(home.dataFolder()));
    EXPECT_FALSE(std::filesystem::exists("lumo-temp.tmp"));
    // A folder the user named is never created by a check.
    EXPECT_FALSE(CSProfile::CheckFolder(prompt, home.dataFolder() + "typo/", "library"));
    EXPECT_FALSE(std::filesystem::exists(home.dataFolder() + "typo"));
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"Invalid pathname - library files."});

    // File dialogs start in a folder that is there.
    EXPECT_EQ(DialogFolder(home.dataFolder() + "typo"), home.dataFolder() + "typo/");
    EXPECT_FALSE(std::filesystem::exists(home.dataFolder() + "typo"));

    // The directory fields' room check follows the same rule.
    EXPECT_TRUE(FolderFieldHasRoom(""));
    EXPECT_TRUE(FolderFieldHasRoom(home.dataFolder().substr(0, home.dataFolder().size() - 1)));
    EXPECT_FALSE(FolderFieldHasRoom(home.dataFolder() + "typo"));
    EXPECT_TRUE(std::filesystem::is_empty(home.dataFolder()));
}

TEST(DataFolders, SpectrumSavedWithoutAFolderGoesToTheDataFolderMadeForIt) {
    PrivateDataHome home;
    MemoryProfileStore store;
    CSProfile profile(store, {1920, 1080});
    ASSERT_EQ(profile.spectraDirectory, "\\");
    SpectrumEnvironment env;
    ScriptedPrompt prompt;
    env.prompt = &prompt;
    profile.FillEnvironment(env);
    CSpectrum spectrum(env.slots, 1);
    spectrum.m_strFileName = "S1.mca";
    EXPECT_EQ(SaveSpectrum(env, spectrum, false, 1), SaveResult::Saved);
    EXPECT_TRUE(std::filesystem::is_regular_file(home.dataFolder() + "S1.mca"));
    EXPECT_FALSE(std::filesystem::exists("S1.mca")) << "never the working directory";
    EXPECT_TRUE(prompt.messages.empty());

    PrivateDataHome fresh; // the Load Library dialog and the preferences' browsers
    EXPECT_EQ(DialogFolder("\\"), fresh.dataFolder());
    EXPECT_TRUE(std::filesystem::is_directory(fresh.dataFolder()));
}
