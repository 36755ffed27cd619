#include "common/IniFile.h"

#include <strings.h>

#include "common/AtomicFile.h"
#include "common/NumberText.h"
#include "common/Text.h"

namespace vorna {
namespace {

// Blanks at the front; blanks and the CR of a CR LF line end at the back.
std::string_view trim(std::string_view s) {
    return TrimRight(TrimLeft(s, " \t"), " \t\r");
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace

IniFile IniFile::Parse(std::string_view text) {
    IniFile ini;
    Section* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        std::string_view line = trim(
            text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos));
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            std::string_view name = trim(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            current = nullptr;
            for (auto& s : ini.m_sections)
                if (sameName(s.name, name))
                    current = &s;
            if (!current) {
                ini.m_sections.push_back({std::string(name), {}});
                current = &ini.m_sections.back();
            }
            continue;
        }
        if (!current)
            continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        std::string_view key = trim(line.substr(0, eq));
        std::string_view value = trim(line.substr(eq + 1));
        if (key.empty())
            continue;
        // Values may be quoted; the reader strips one pair of enclosing quotes.
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        current->entries.push_back({std::string(key), std::string(value)});
    }
    return ini;
}

std::optional<IniFile> IniFile::Load(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes).ok)
        return std::nullopt;
    return Parse(bytes);
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    for (const auto& s : m_sections)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Entry* IniFile::FindEntry(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s)
        return nullptr;
    for (const auto& e : s->entries)
        if (sameName(e.key, key))
            return &e;
    return nullptr;
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    const Entry* e = FindEntry(section, key);
    return e ? e->value : std::string(fallback);
}

bool IniFile::Has(std::string_view section, std::string_view key) const {
    return FindEntry(section, key) != nullptr;
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
    const Entry* e = FindEntry(section, key);
    if (!e)
        return fallback;
    return ScanInt(e->value).value_or(0);
}

std::vector<std::string> IniFile::Sections() const {
    std::vector<std::string> names;
    for (const auto& s : m_sections)
        names.push_back(s.name);
    return names;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const auto& e : s->entries)
            keys.push_back(e.key);
    return keys;
}

} // namespace vorna
