#pragma once
// Conversions from Unicode text back to the Windows-1252 bytes core code keeps. The settings
// file holds UTF-8; characters that Windows-1252 cannot hold become '?'.

#include <string>
#include <string_view>

namespace vorna {

// UTF-8 decoded to UTF-16 code units; each invalid byte becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view utf8);
std::string Utf16ToCp1252(std::u16string_view text);
std::string Utf8ToCp1252(std::string_view utf8);

} // namespace vorna
