#include "settings/ProfileStore.h"

#include <climits>
#include <cstdint>

namespace vorna {

std::string ProfileValuePath(std::string_view section, std::string_view key) {
    std::string path;
    path.reserve(section.size() + key.size() + 1);
    auto append = [&path](std::string_view part) {
        for (char ch : part) {
            if (ch == '/' && (path.empty() || path.back() == '/'))
                continue;
            path += ch;
        }
    };
    append(section);
    if (!path.empty() && path.back() != '/')
        path += '/';
    append(key);
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

std::optional<int> ParseProfileInt(std::string_view text) {
    auto isSpace = [](char ch) {
        return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v';
    };
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    size_t firstDigit = i;
    int64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i++] - '0');
        if (value > int64_t(INT_MAX) + 1)
            return std::nullopt;
    }
    if (i == firstDigit)
        return std::nullopt;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace vorna
