#pragma once
// The user's saved profile, read without Qt and without writing anything: what batch tools use
// when asked to work with the user's settings. Defaults where nothing is stored; positions stay
// in stored units (there is no screen).

#include <string>

#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"

namespace vorna {

class SavedUserProfile {
public:
    // `programDir` is the executable's folder, where a test station's VORNATST.INI may choose
    // another settings key.
    explicit SavedUserProfile(const std::string& programDir);
    SavedUserProfile(const SavedUserProfile&) = delete;
    SavedUserProfile& operator=(const SavedUserProfile&) = delete;

    const std::string& SettingsKey() const { return m_key; }
    const CSProfile& Profile() const { return m_profile; }

private:
    std::string m_key;
    MemoryProfileStore m_store;
    CSProfile m_profile;
};

} // namespace vorna
