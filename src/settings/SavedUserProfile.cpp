#include "settings/SavedUserProfile.h"

#include "settings/SettingsIniReader.h"
#include "settings/SettingsKey.h"

namespace vorna {

SavedUserProfile::SavedUserProfile(const std::string& programDir)
    : m_key(ChooseSettingsKey(programDir)), m_store(ReadUserSettings(m_key)),
      m_profile(m_store, ScreenSize{}) {
    m_profile.Load();
}

} // namespace vorna
