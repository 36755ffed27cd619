#pragma once
// The one rule for folder settings (spectra, templates, library, logs, DPP configuration files).
// The profile keeps its Windows defaults: "\" (the root of the current drive) or an empty text,
// both meaning "no particular folder". Here "no folder" means the program's per-user data
// folder, never whatever the working directory happens to be. Stored texts stay as they are, so
// a profile moved between platforms loses nothing; code that builds a path asks this rule.

#include <functional>
#include <string>
#include <string_view>

namespace vorna {

#ifdef _WIN32
inline constexpr char kFolderSeparator = '\\';
#else
inline constexpr char kFolderSeparator = '/';
#endif

// True for a folder setting that names no folder: empty, or the lone "\" default (on Windows
// "\" stays the root of the current drive and is a real folder).
bool IsUnsetFolder(std::string_view stored);

// `folder` with a trailing separator added when missing ('/' and '\' both count); empty stays
// empty.
std::string WithTrailingSeparator(std::string_view folder);

// Reads one environment variable; nullptr when unset. Tests pass their own.
using EnvironmentLookup = std::function<const char*(const char*)>;
const char* SystemEnvironment(const char* name);

// The program's per-user data folder, with a trailing separator:
// $XDG_DATA_HOME/vorna/ when XDG_DATA_HOME is an absolute path, else $HOME/.local/share/vorna/
// (on Windows %LOCALAPPDATA%\vorna\). Empty only when none of these is known.
std::string UserDataFolder(const EnvironmentLookup& env = SystemEnvironment);

// The folder a setting stands for, with a trailing separator: the stored folder, or
// `userDataFolder` when the setting names none. Does not touch the file system.
std::string ResolveFolder(std::string_view stored, std::string_view userDataFolder);
// The same with the user data folder of this process's environment.
std::string ResolveFolder(std::string_view stored);

// `file` inside the folder a setting stands for.
std::string ResolveFolderFile(std::string_view stored, std::string_view file);

// The folder a file dialog for a setting starts in: ResolveFolder, with the per-user data folder
// made when the setting stands for it (a dialog cannot start in a folder that is not there).
std::string DialogFolder(std::string_view stored);

// Creates `folder` and its parents when missing (the user data folder is made when first
// needed). True when it is a folder afterwards.
bool EnsureFolder(const std::string& folder);

} // namespace vorna
