#pragma once
// Character classes, trimming and the Windows-1252 conversions. Files hold Windows-1252 bytes;
// JSON, the UI and the settings file want Unicode; characters Windows-1252 cannot hold become '?'.

#include <string>
#include <string_view>

namespace vorna {

// Space or tab.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
// What the C library's isspace accepts in the "C" locale: blanks, CR, LF, VT, FF.
inline bool IsSpace(char c) {
    return IsBlank(c) || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// IsSpace characters removed at both ends.
inline std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}
// Any of `chars` removed at the front, or at the back.
std::string_view TrimLeft(std::string_view s, std::string_view chars);
std::string_view TrimRight(std::string_view s, std::string_view chars);

// Windows-1252 bytes as UTF-8; the five bytes Windows-1252 leaves undefined pass through as the
// C1 control of the same number.
std::string Cp1252ToUtf8(std::string_view bytes);
// UTF-8 decoded to UTF-16 code units; each invalid byte becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view utf8);
std::string Utf16ToCp1252(std::u16string_view text);
std::string Utf8ToCp1252(std::string_view utf8);

} // namespace vorna
