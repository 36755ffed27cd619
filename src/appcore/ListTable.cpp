#include "appcore/ListTable.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <tuple>

namespace vorna {

namespace {

constexpr size_t kTitleLimit = 100;

std::optional<double> leadingNumber(const std::string& text, bool whole) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value =
        whole ? static_cast<double>(std::strtoll(begin, &end, 10)) : std::strtod(begin, &end);
    if (end == begin)
        return std::nullopt;
    return value;
}

// "%m/%d/%Y %H:%M:%S" as the start times are written; the time part may be missing.
std::optional<std::tuple<int, int, int, int, int, int>> dateTime(const std::string& text) {
    int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
    const int n = std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &month, &day, &year, &hour,
                              &minute, &second);
    if (n < 3)
        return std::nullopt;
    return std::make_tuple(year, month, day, hour, minute, second);
}

template <typename T> int compareKeys(const std::optional<T>& a, const std::optional<T>& b) {
    if (a && b)
        return *a < *b ? -1 : (*b < *a ? 1 : 0);
    return a ? -1 : 1; // the cell holding a key first
}

int compareText(const std::string& a, const std::string& b, bool ignoreCase) {
    if (!ignoreCase)
        return a.compare(b);
    const auto lower = [](unsigned char c) { return std::tolower(c); };
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int d =
            lower(static_cast<unsigned char>(a[i])) - lower(static_cast<unsigned char>(b[i]));
        if (d != 0)
            return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace

int CompareListCells(ListSortType type, const std::string& a, const std::string& b) {
    int order = 0;
    switch (type) {
    case ListSortType::Integer:
    case ListSortType::Decimal: {
        const bool whole = type == ListSortType::Integer;
        const auto ka = leadingNumber(a, whole), kb = leadingNumber(b, whole);
        order = ka || kb ? compareKeys(ka, kb) : 0;
        break;
    }
    case ListSortType::DateTime: {
        const auto ka = dateTime(a), kb = dateTime(b);
        order = ka || kb ? compareKeys(ka, kb) : 0;
        break;
    }
    case ListSortType::TextNoCase:
        return compareText(a, b, true);
    case ListSortType::Text:
        return compareText(a, b, false);
    }
    // Equal keys, or no keys at all: text order keeps the result total.
    return order != 0 ? order : compareText(a, b, false);
}

std::string ListCopyText(const std::vector<std::string>& titles,
                         const std::vector<std::vector<std::string>>& rows) {
    std::string text;
    for (const std::string& title : titles)
        text += title.substr(0, kTitleLimit) + '\t';
    text += '\n';
    for (const auto& row : rows) {
        for (const std::string& cell : row)
            text += cell + '\t';
        text += '\n';
    }
    return text;
}

} // namespace vorna
