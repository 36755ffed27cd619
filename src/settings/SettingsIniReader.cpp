#include "settings/SettingsIniReader.h"

#include <cstdlib>
#include <strings.h>

#include "common/AtomicFile.h"
#include "common/Text.h"
#include "settings/SettingsKey.h"

namespace vorna {
namespace {

bool isLineEnd(char ch) {
    return ch == '\n' || ch == '\r';
}
int hexValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// One logical line: a value may run on past a line end inside quotes or after a backslash; a
// ';' outside quotes ends the line (the rest is a comment).
struct IniLine {
    std::string_view text;
    size_t equals = std::string_view::npos; // position of the first '=' in text
};

class LineReader {
public:
    explicit LineReader(std::string_view data) : m_data(data) {}

    bool Next(IniLine& line) {
        for (;;) {
            while (m_pos < m_data.size() && IsSpace(m_data[m_pos]))
                ++m_pos;
            if (m_pos >= m_data.size())
                return false;
            if (m_data[m_pos] == ';') { // comment line
                while (m_pos < m_data.size() && !isLineEnd(m_data[m_pos]))
                    ++m_pos;
                continue;
            }
            break;
        }
        size_t start = m_pos;
        size_t equals = std::string_view::npos;
        bool inQuotes = false;
        size_t i = start;
        while (i < m_data.size()) {
            char ch = m_data[i];
            if (ch == '=') {
                if (equals == std::string_view::npos)
                    equals = i - start;
            } else if (isLineEnd(ch) || ch == ';') {
                if (!inQuotes)
                    break;
            } else if (ch == '\\') {
                // The escaped character belongs to the value, a line end included.
                if (i + 1 < m_data.size()) {
                    char next = m_data[++i];
                    if (i + 1 < m_data.size() && isLineEnd(next) && isLineEnd(m_data[i + 1]) &&
                        m_data[i + 1] != next)
                        ++i;
                }
            } else if (ch == '"') {
                inQuotes = !inQuotes;
            }
            ++i;
        }
        line.text = m_data.substr(start, i - start);
        line.equals = equals;
        m_pos = i;
        if (m_pos < m_data.size() && m_data[m_pos] == ';') // the rest is a comment
            while (m_pos < m_data.size() && !isLineEnd(m_data[m_pos]))
                ++m_pos;
        return true;
    }

private:
    std::string_view m_data;
    size_t m_pos = 0;
};

// Section and key names: '\' stands for '/', "%XX" and "%UXXXX" for the character of that code.
std::u16string unescapeName(std::string_view raw) {
    std::u16string decoded = DecodeUtf8(raw);
    std::u16string out;
    size_t i = 0;
    while (i < decoded.size()) {
        char16_t ch = decoded[i];
        if (ch == u'\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i + 1 == decoded.size()) {
            out += ch;
            ++i;
            continue;
        }
        size_t first = i + 1;
        size_t digits = 2;
        if (decoded[first] == u'U') {
            ++first;
            digits = 4;
        }
        unsigned value = 0;
        bool ok = first + digits <= decoded.size();
        for (size_t k = 0; ok && k < digits; ++k) {
            char16_t d = decoded[first + k];
            int v = d < 0x80 ? hexValue(static_cast<char>(d)) : -1;
            ok = v >= 0;
            value = value * 16 + static_cast<unsigned>(v);
        }
        if (!ok) {
            out += u'%';
            ++i;
            continue;
        }
        out += static_cast<char16_t>(value);
        i = first + digits;
    }
    return out;
}

// A value: quotes group text (blanks inside kept), C-style escapes, and unquoted commas
// separating the items of a list.
struct IniValue {
    std::u16string text;
    std::vector<std::u16string> list; // items when the value is a list
    bool isList = false;
};

IniValue unescapeValue(std::string_view raw) {
    IniValue v;
    std::u16string& cur = v.text;
    bool inQuotes = false;
    bool quoted = false;
    size_t chopLimit = 0; // blanks before this position came from quotes or escapes: kept
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < raw.size() && IsBlank(raw[i]))
            ++i;
        chopLimit = cur.size();
    };
    auto chopTrailingBlanks = [&] {
        while (cur.size() > chopLimit && (cur.back() == u' ' || cur.back() == u'\t'))
            cur.pop_back();
    };
    // A backslash or a numeric escape cut off by the end of the value keeps trailing blanks.
    bool cutOff = false;
    skipBlanks();
    while (i < raw.size() && !cutOff) {
        char ch = raw[i];
        if (ch == '\\') {
            if (++i >= raw.size()) {
                cutOff = true;
                break;
            }
            char e = raw[i++];
            static constexpr char kFrom[] = "abfnrtv\"?'\\";
            static constexpr char kTo[] = "\a\b\f\n\r\t\v\"?'\\";
            bool simple = false;
            for (size_t k = 0; k + 1 < sizeof kFrom; ++k)
                if (e == kFrom[k]) {
                    cur += static_cast<char16_t>(kTo[k]);
                    simple = true;
                    break;
                }
            bool hex = e == 'x';
            if (!simple && hex && i >= raw.size()) {
                cutOff = true;
                break;
            }
            if (!simple && ((hex && hexValue(raw[i]) >= 0) || (e >= '0' && e <= '7'))) {
                char16_t value = hex ? 0 : static_cast<char16_t>(e - '0');
                for (;;) {
                    if (i >= raw.size()) {
                        cutOff = true;
                        break;
                    }
                    int d = hex ? hexValue(raw[i])
                                : (raw[i] >= '0' && raw[i] <= '7' ? raw[i] - '0' : -1);
                    if (d < 0)
                        break;
                    value = static_cast<char16_t>(value * (hex ? 16 : 8) + d);
                    ++i;
                }
                cur += value;
            } else if (!simple && isLineEnd(e)) {
                if (i < raw.size() && isLineEnd(raw[i]) && raw[i] != e)
                    ++i;
            }
            // Any other escaped character is dropped.
            chopLimit = cur.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (ch == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingBlanks();
            v.isList = true;
            v.list.push_back(std::move(cur));
            cur.clear();
            quoted = false;
            ++i;
            skipBlanks();
        } else {
            size_t j = i + 1;
            while (j < raw.size() && raw[j] != '\\' && raw[j] != '"' && raw[j] != ',')
                ++j;
            cur += DecodeUtf8(raw.substr(i, j - i));
            i = j;
        }
    }
    if (!quoted && !cutOff)
        chopTrailingBlanks();
    if (v.isList)
        v.list.push_back(std::move(cur));
    return v;
}

bool startsWith(std::u16string_view s, std::u16string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// The value's text as the QSettings backend hands it out; nothing for values that are no text.
std::optional<std::string> valueText(const IniValue& v) {
    if (v.isList) {
        std::string joined;
        for (size_t k = 0; k < v.list.size(); ++k)
            joined += (k ? "," : "") + Utf16ToCp1252(v.list[k]);
        return joined;
    }
    std::u16string_view s = v.text;
    if (!s.empty() && s.front() == u'@') {
        if (s.back() == u')') {
            if (startsWith(s, u"@ByteArray(")) {
                // Raw bytes, one per character.
                std::string bytes;
                for (char16_t c : s.substr(11, s.size() - 12))
                    bytes += static_cast<char>(c & 0xFF);
                return bytes;
            }
            if (startsWith(s, u"@String("))
                return Utf16ToCp1252(s.substr(8, s.size() - 9));
            if (s == u"@Invalid()" || startsWith(s, u"@Variant(") || startsWith(s, u"@DateTime(") ||
                startsWith(s, u"@Rect(") || startsWith(s, u"@Size(") || startsWith(s, u"@Point("))
                return std::nullopt;
        }
        if (startsWith(s, u"@@"))
            return Utf16ToCp1252(s.substr(1));
    }
    return Utf16ToCp1252(s);
}

} // namespace

MemoryProfileStore ParseSettingsIni(std::string_view data) {
    MemoryProfileStore store;
    if (data.substr(0, 3) == "\xEF\xBB\xBF")
        data.remove_prefix(3);
    LineReader reader(data);
    IniLine line;
    std::string section; // Windows-1252, empty for the top level
    while (reader.Next(line)) {
        if (line.text.front() == '[') {
            size_t close = line.text.find(']');
            std::string_view name = Trim(line.text.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            if (name.size() == 7 && strncasecmp(name.data(), "general", 7) == 0)
                section.clear(); // the top level
            else if (name.size() == 8 && strncasecmp(name.data(), "%general", 8) == 0)
                section = std::string(name.substr(1)); // a section really named "General"
            else
                section = Utf16ToCp1252(unescapeName(name));
            continue;
        }
        if (line.equals == std::string_view::npos)
            continue;
        std::string_view keyText = line.text.substr(0, line.equals);
        while (!keyText.empty() && IsBlank(keyText.back()))
            keyText.remove_suffix(1);
        std::string key = Utf16ToCp1252(unescapeName(keyText));
        if (key.empty())
            continue; // unreachable through QSettings as well
        auto text = valueText(unescapeValue(line.text.substr(line.equals + 1)));
        std::string path = ProfileValuePath(section, key);
        if (text)
            store.SetValue(std::move(path), std::move(*text));
        else
            store.Erase(path); // a later @Invalid() hides an earlier value
    }
    return store;
}

std::optional<MemoryProfileStore> LoadSettingsIni(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes).ok)
        return std::nullopt;
    return ParseSettingsIni(bytes);
}

std::string UserSettingsIniPath(const std::string& settingsKey) {
    std::string base;
#ifdef _WIN32
    if (const char* appData = std::getenv("APPDATA"))
        base = appData;
    return base + "\\" + settingsKey + "\\" + kSettingsApplication + ".ini";
#else
    const char* home = std::getenv("HOME");
    std::string homeDir = home && *home ? home : "/";
    if (!homeDir.empty() && homeDir.back() == '/' && homeDir.size() > 1)
        homeDir.pop_back();
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg)
        base = xdg[0] == '/' ? std::string(xdg) : homeDir + "/" + xdg;
    else
        base = (homeDir == "/" ? "" : homeDir) + "/.config";
    return base + "/" + settingsKey + "/" + kSettingsApplication + ".ini";
#endif
}

MemoryProfileStore ReadUserSettings(const std::string& settingsKey) {
    auto store = LoadSettingsIni(UserSettingsIniPath(settingsKey));
    return store ? std::move(*store) : MemoryProfileStore{};
}

} // namespace vorna
