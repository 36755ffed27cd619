#include "external/FpText.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/NumberText.h"
#include "common/Text.h"

namespace vorna {

std::vector<std::string> SplitListFields(std::string_view text) {
    std::vector<std::string> fields;
    if (text.empty())
        return fields;
    std::string field;
    bool any = false;
    for (char c : text) {
        if (IsBlank(c))
            continue;
        any = true;
        if (c == ',' || c == ';') {
            fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    // A text of blanks alone normalises to the empty text: no fields.
    if (any)
        fields.push_back(std::move(field));
    return fields;
}

long long FieldInteger(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && IsSpace(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    long long value = 0;
    constexpr long long kMax = std::numeric_limits<long long>::max();
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        const int digit = field[i] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

double FieldNumber(std::string_view field) {
    return ScanDouble(field).value_or(0.0);
}

std::optional<FpCalibrationRequest> ParseCalibrationRequest(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    std::string_view header[3];
    for (auto& part : header) {
        const size_t colon = text.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        part = text.substr(0, colon);
        text.remove_prefix(colon + 1);
    }
    FpCalibrationRequest r;
    r.count = FieldInteger(header[0]);
    r.label = std::string(header[1]);
    r.group = FieldInteger(header[2]);
    for (long long i = 0; i < r.count; ++i) {
        const size_t end = text.find(';');
        if (end == std::string_view::npos)
            return std::nullopt; // fewer entries than announced
        const std::string_view entry = text.substr(0, end);
        text.remove_prefix(end + 1);
        const size_t comma = entry.find(',');
        FpCalibrationRequest::Point p;
        p.channel = FieldNumber(entry.substr(0, comma));
        if (comma != std::string_view::npos)
            p.energy = FieldNumber(entry.substr(comma + 1));
        if (!std::isfinite(p.channel) || !std::isfinite(p.energy))
            return std::nullopt;
        r.points.push_back(p);
    }
    return r;
}

std::optional<FpSaveRequest> ParseSaveRequest(std::string_view text) {
    std::vector<std::string> fields = SplitListFields(text);
    if (fields.empty() || fields.size() > 3)
        return std::nullopt;
    FpSaveRequest r;
    r.name = fields[0];
    r.tag = fields.size() > 1 && !fields[1].empty() ? fields[1] : "UnknownTag";
    r.description = fields.size() > 2 ? fields[2] : "No Description";
    return r;
}

bool HasFolder(std::string_view name) {
    return name.find_first_of("/\\") != std::string_view::npos;
}

std::string SpectrumPathForName(const std::string& name, const std::string& spectraDirectory) {
    if (HasFolder(name))
        return name;
    return spectraDirectory + name + ".mca";
}

std::string FolderOfPath(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string DotsFileName(const std::string& path, const std::string& spectraDirectory) {
    std::string full = HasFolder(path) ? path : spectraDirectory + path;
    const size_t slash = full.find_last_of("/\\");
    const size_t dot = full.rfind('.');
    const size_t insertAt =
        dot != std::string::npos && (slash == std::string::npos || dot > slash) ? dot : full.size();
    full.insert(insertAt, "_1");
    return full;
}

std::string CleanCompanionText(std::string_view text, int maxLength) {
    if (maxLength >= 0 && text.size() > static_cast<size_t>(maxLength))
        text = text.substr(0, static_cast<size_t>(maxLength));
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return out;
}

std::string CountText(double value) {
    if (!std::isfinite(value))
        return "0";
    const double whole = std::trunc(value);
    if (whole >= -9.2e18 && whole <= 9.2e18)
        return Format("%lld", static_cast<long long>(whole));
    return Format("%.0f", whole);
}

std::string JoinCounts(const std::vector<double>& values, size_t limit) {
    std::string text;
    const size_t n = values.size() < limit ? values.size() : limit;
    for (size_t i = 0; i < n; ++i) {
        if (i)
            text += ',';
        text += CountText(values[i]);
    }
    return text;
}

std::string GText(double value) {
    return Format("%g", value);
}

} // namespace vorna
