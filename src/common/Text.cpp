#include "common/Text.h"

#include <cstdint>

namespace vorna {
namespace {

// Code points of 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined, which are
// passed through as the C1 control of the same number.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char toCp1252(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    if (u < 0xA0)
        return kHigh[u - 0x80] == 0 ? static_cast<char>(u) : '?';
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return static_cast<char>(0x80 + i);
    return '?';
}

void appendUtf16(std::u16string& out, uint32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

} // namespace

std::string_view TrimLeft(std::string_view s, std::string_view chars) {
    while (!s.empty() && chars.find(s.front()) != std::string_view::npos)
        s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s, std::string_view chars) {
    while (!s.empty() && chars.find(s.back()) != std::string_view::npos)
        s.remove_suffix(1);
    return s;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0) {
            uint32_t cp = kHigh[b - 0x80];
            appendUtf8(out, cp ? cp : b);
        } else {
            appendUtf8(out, b);
        }
    }
    return out;
}

std::u16string DecodeUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        int extra = -1;
        uint32_t cp = 0;
        if (b < 0x80) {
            extra = 0;
            cp = b;
        } else if (b >= 0xC2 && b < 0xE0) {
            extra = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b < 0xF0) {
            extra = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b < 0xF5) {
            extra = 3;
            cp = b & 0x07;
        }
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + static_cast<size_t>(k) >= s.size()) {
                ok = false;
                break;
            }
            auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (c & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are invalid, as in any decoder.
        if (ok && ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) ||
                   (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))))
            ok = false;
        if (!ok) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        appendUtf16(out, cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

std::string Utf16ToCp1252(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        // A surrogate pair is one character, outside Windows-1252.
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            ++i;
        out += (u >= 0xD800 && u < 0xE000) ? '?' : toCp1252(u);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    return Utf16ToCp1252(DecodeUtf8(utf8));
}

} // namespace vorna
