#pragma once
// Folder settings on this platform. The stored defaults are the Windows text "\" (the root of
// the current drive: in effect "no particular folder"), and folders are stored with a trailing
// separator. Stored texts are kept exactly as they are, so a profile moved between platforms
// loses nothing; code that builds paths asks these helpers what a stored folder means here.

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

// The folder as a prefix for file names: empty when unset (files then resolve against the
// current directory), else the stored text with a trailing separator.
std::string FolderForFiles(std::string_view stored);

// `folder` with a trailing separator added when missing; empty stays empty.
std::string WithTrailingSeparator(std::string_view folder);

} // namespace vorna
