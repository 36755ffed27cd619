#pragma once
// The user profile: every setting of the program in memory (the ProfileValues members), loaded
// once at start-up from the profile store and saved when the main window closes. Settings live
// in a section named after the current profile; the name of the current profile is kept in the
// "Config" section.

#include <optional>
#include <string>
#include <string_view>

#include "settings/ProfilePosition.h"
#include "settings/ProfileSchema.h"
#include "settings/ProfileStore.h"
#include "settings/ProfileValues.h"

namespace vorna {

class UserPrompt;
struct AnalysisSettings;
class SpectrumSlotDefaults;
struct SpectrumEnvironment;

// The main window's placement as the window reports it, in pixels (normal rectangle).
struct WindowPlacement {
    int flags = 0;
    int showCmd = 5;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class CSProfile : public ProfileValues {
public:
    static constexpr std::string_view kConfigSection = "Config";
    static constexpr std::string_view kProfileNameKey = "Profile";
    static constexpr std::string_view kDefaultProfileName = "Standard";

    // Starts with the defaults (positions in pixels of `screen`); nothing is read until Load.
    // The store must outlive the profile.
    CSProfile(ProfileStore& store, ScreenSize screen);

    // Reads the current profile's name, then every setting; a missing value takes its default.
    void Load();
    // Takes the window placement first when one is given, then writes the profile's name into
    // "Config" and every setting into the profile's section. The acquisition mode is always
    // stored as MCA (0): a program must never start in Limited MCS. Returns false when the store
    // refused the writes; the program carries on regardless.
    bool Save(const WindowPlacement* placement = nullptr);
    void ResetToDefaults();

    // The current profile; a new name takes effect for the store at the next Load or Save.
    const std::string& ProfileName() const { return m_profileName; }
    void SetProfileName(std::string name);

    // Direct access to the current profile's section of the store.
    int GetInt(std::string_view key, int fallback) const;
    std::string GetText(std::string_view key, std::string_view fallback) const;
    void SetInt(std::string_view key, int value);
    void SetText(std::string_view key, std::string_view text);

    // The member behind a key name, for code that edits settings from a table of key names.
    std::optional<ProfileField> Field(std::string_view key);

    ScreenSize Screen() const { return m_screen; }

    // The values analysis and spectrum code read, copied into their own structures.
    void FillAnalysisSettings(AnalysisSettings& settings) const;
    void FillSlotDefaults(SpectrumSlotDefaults& slots) const;
    // Analysis settings, slots, device type and the spectra folder (with its trailing separator;
    // the per-user data folder when the setting names none, common/DataFolders.h).
    void FillEnvironment(SpectrumEnvironment& env) const;

    // True when a scratch file "lumo-temp.tmp" can be created in `folder` and removed again;
    // otherwise shows "Invalid pathname - <kind> files." and returns false. `kind` is "library"
    // or "spectra".
    static bool CheckFolder(UserPrompt& prompt, const std::string& folder, std::string_view kind);
    // True when a 40000-byte scratch file can be written at `path` (and is removed again); false
    // when the file cannot be created or the disk is full.
    static bool CheckRoom(const std::string& path);
    // True when `path` names an existing file; otherwise shows "No file or path defined." (empty
    // path) or "Invalid filename - <path>." and returns false.
    static bool CheckFile(UserPrompt& prompt, const std::string& path);

    // Run-time state, never stored: the name of the selected DPP.
    std::string dppDeviceName;

private:
    void LoadValues(const ProfileStore& store, std::string_view section);

    ProfileStore& m_store;
    ScreenSize m_screen;
    std::string m_profileName;
};

} // namespace vorna
