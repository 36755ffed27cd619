#pragma once
// Product version texts of companion files for the About box: read from the file's version
// resource, commas made points, blanks removed, at most two points kept; "Unknown" when the
// file is missing or carries no version.

#include <string>
#include <string_view>

namespace vorna {

inline constexpr const char* kUnknownVersion = "Unknown";
// The program's legal notice, shown in the About box.
inline constexpr const char* kLegalNotice = "Copyright (C) 2026 The VORNA developers";

// "1, 2, 3, 4" -> "1.2.3"; empty stays empty.
std::string NormalizeVersionText(std::string_view raw);

// The "ProductVersion" string of a Windows executable's version resource, found in the file's
// bytes; empty when there is none.
std::string ProductVersionFromBytes(std::string_view bytes);

// The normalised product version of the file at `path`, or "Unknown".
std::string FileProductVersion(const std::string& path);

} // namespace vorna
