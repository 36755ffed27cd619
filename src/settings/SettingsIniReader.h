#pragma once
// Reads the settings file the QSettings backend writes (INI format as QSettings lays it out:
// percent-escaped section and key names, quoted and backslash-escaped UTF-8 values), without Qt,
// so that batch tools can use the user's profile. Read-only: the result is a memory store and
// nothing is ever written back to the file.

#include <optional>
#include <string>
#include <string_view>

#include "settings/MemoryProfileStore.h"

namespace vorna {

// Every value of the file, as text (Windows-1252), by its path "Section/key". Unreadable lines
// are skipped; the parser accepts any bytes.
MemoryProfileStore ParseSettingsIni(std::string_view bytes);

// Nothing when the file cannot be read.
std::optional<MemoryProfileStore> LoadSettingsIni(const std::string& path);

// Where the QSettings backend keeps the settings of `settingsKey`: on Linux
// $XDG_CONFIG_HOME/<key>/Lumo.ini, or ~/.config/<key>/Lumo.ini when that variable is unset.
std::string UserSettingsIniPath(const std::string& settingsKey);

// The user's settings for `settingsKey`; an empty store (all defaults) when there are none.
MemoryProfileStore ReadUserSettings(const std::string& settingsKey);

} // namespace vorna
