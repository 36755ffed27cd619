#include "common/NumberText.h"
#include "common/Text.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace vorna {
namespace {

locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Switches the calling thread to the C locale for the scope of one conversion.
class LocaleScope {
public:
    LocaleScope() : m_previous(uselocale(cLocale())) {}
    ~LocaleScope() { uselocale(m_previous); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    locale_t m_previous;
};

} // namespace

std::string FormatV(const char* fmt, va_list args) {
    LocaleScope scope;
    char buffer[256];
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(buffer, sizeof buffer, fmt, copy);
    va_end(copy);
    if (n < 0)
        return {};
    if (static_cast<size_t>(n) < sizeof buffer)
        return std::string(buffer, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n), '\0');
    std::vsnprintf(out.data(), out.size() + 1, fmt, args);
    return out;
}

std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = FormatV(fmt, args);
    va_end(args);
    return s;
}

void AppendFormat(std::string& out, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    out += FormatV(fmt, args);
    va_end(args);
}

std::optional<int> ScanIntPrefix(std::string_view text, size_t& consumed) {
    consumed = 0;
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '0') {
        if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            base = 16;
            i += 2;
        } else {
            base = 8;
        }
    }
    unsigned long long value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int d = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : 99;
        if (d >= base)
            break;
        any = true;
        if (value < (1ULL << 60))
            value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
    if (!any)
        return std::nullopt;
    consumed = i;
    auto bits = static_cast<unsigned int>(value & 0xFFFFFFFFULL);
    if (negative)
        bits = 0U - bits;
    return static_cast<int>(bits);
}

std::optional<int> ScanInt(std::string_view text) {
    size_t consumed = 0;
    return ScanIntPrefix(text, consumed);
}

std::optional<double> ScanDoublePrefix(std::string_view text, size_t& consumed) {
    consumed = 0;
    // strtod needs a terminated string; lines are short, so copy into a small buffer.
    char local[128];
    std::string heap;
    const char* p;
    if (text.size() < sizeof local) {
        text.copy(local, text.size());
        local[text.size()] = '\0';
        p = local;
    } else {
        heap.assign(text);
        p = heap.c_str();
    }
    char* end = nullptr;
    double v = strtod_l(p, &end, cLocale());
    if (end == p)
        return std::nullopt;
    consumed = static_cast<size_t>(end - p);
    return v;
}

std::optional<double> ScanDouble(std::string_view text) {
    size_t consumed = 0;
    return ScanDoublePrefix(text, consumed);
}

int ScanTwoDoubles(std::string_view text, double& a, double& b) {
    size_t used = 0;
    auto first = ScanDoublePrefix(text, used);
    if (!first)
        return 0;
    a = *first;
    auto second = ScanDoublePrefix(text.substr(used), used);
    if (!second)
        return 1;
    b = *second;
    return 2;
}

int ScanTwoInts(std::string_view text, int& a, int& b) {
    size_t used = 0;
    auto first = ScanIntPrefix(text, used);
    if (!first)
        return 0;
    a = *first;
    auto second = ScanIntPrefix(text.substr(used), used);
    if (!second)
        return 1;
    b = *second;
    return 2;
}

} // namespace vorna
