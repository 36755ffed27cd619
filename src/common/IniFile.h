#pragma once
// Reader of private-profile INI files (VORNATST.INI, QuorixDC.ini): "[Section]" headers and
// "key=value" lines; section and key names compare case-insensitively; blanks around names and
// values are dropped; lines starting with ';' are comments. The first occurrence of a key wins.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorna {

class IniFile {
public:
    IniFile() = default;
    // Parses text; never fails (unreadable lines are ignored).
    static IniFile Parse(std::string_view text);
    // Nothing when the file cannot be read.
    static std::optional<IniFile> Load(const std::string& path);

    // The value, or `fallback` when section or key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback = {}) const;
    bool Has(std::string_view section, std::string_view key) const;
    // Integer with the leading-digits rule of the private-profile reader; `fallback` when the
    // key is missing.
    int GetInt(std::string_view section, std::string_view key, int fallback) const;

    std::vector<std::string> Sections() const;
    // Key names of a section in file order (empty when the section is missing).
    std::vector<std::string> Keys(std::string_view section) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Section* FindSection(std::string_view name) const;
    const Entry* FindEntry(std::string_view section, std::string_view key) const;

    std::vector<Section> m_sections;
};

} // namespace vorna
