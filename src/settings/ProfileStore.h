#pragma once
// Port to the persistent per-user store of the profile: named sections ("Config" and one per
// profile name) holding integer and text values. The program's backend is QSettings; tests use
// MemoryProfileStore; batch tools read the user's settings file without Qt.

#include <optional>
#include <string>
#include <string_view>

namespace vorna {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // Nothing when the value is missing or does not hold what was asked for (an integer read of
    // a text that is not a whole decimal number in range).
    virtual std::optional<int> ReadInt(std::string_view section, std::string_view key) const = 0;
    virtual std::optional<std::string> ReadText(std::string_view section,
                                                std::string_view key) const = 0;

    // Texts are Windows-1252 bytes, as everywhere in core code.
    virtual void WriteInt(std::string_view section, std::string_view key, int value) = 0;
    virtual void WriteText(std::string_view section, std::string_view key,
                           std::string_view value) = 0;

    // Makes the writes durable; false when the medium refused them.
    virtual bool Flush() = 0;

    int GetInt(std::string_view section, std::string_view key, int fallback) const {
        return ReadInt(section, key).value_or(fallback);
    }
    std::string GetText(std::string_view section, std::string_view key,
                        std::string_view fallback) const {
        auto v = ReadText(section, key);
        return v ? *v : std::string(fallback);
    }
};

// The full path of a value as the QSettings backend addresses it: "section/key" with runs of
// '/' collapsed and no leading or trailing '/'. Every store keys its values by this path, so a
// profile name holding '/' resolves the same way in all of them.
std::string ProfileValuePath(std::string_view section, std::string_view key);

// Whole decimal number with optional surrounding white space and sign, in int range; the rule
// the QSettings backend applies to text it is asked to read as an integer.
std::optional<int> ParseProfileInt(std::string_view text);

} // namespace vorna
