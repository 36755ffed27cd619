#include "common/CText.h"

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
class CLocaleScope {
public:
    CLocaleScope() : m_previous(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_previous;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::string cFormatV(const char* fmt, va_list args) {
    CLocaleScope scope;
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

std::string cFormat(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = cFormatV(fmt, args);
    va_end(args);
    return s;
}

void cAppendFormat(std::string& out, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    out += cFormatV(fmt, args);
    va_end(args);
}

std::optional<int> scanIntPrefix(std::string_view text, size_t& consumed) {
    consumed = 0;
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
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

std::optional<int> scanInt(std::string_view text) {
    size_t consumed = 0;
    return scanIntPrefix(text, consumed);
}

std::optional<double> scanDoublePrefix(std::string_view text, size_t& consumed) {
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

std::optional<double> scanDouble(std::string_view text) {
    size_t consumed = 0;
    return scanDoublePrefix(text, consumed);
}

int scanTwoDoubles(std::string_view text, double& a, double& b) {
    size_t used = 0;
    auto first = scanDoublePrefix(text, used);
    if (!first)
        return 0;
    a = *first;
    auto second = scanDoublePrefix(text.substr(used), used);
    if (!second)
        return 1;
    b = *second;
    return 2;
}

int scanTwoInts(std::string_view text, int& a, int& b) {
    size_t used = 0;
    auto first = scanIntPrefix(text, used);
    if (!first)
        return 0;
    a = *first;
    auto second = scanIntPrefix(text.substr(used), used);
    if (!second)
        return 1;
    b = *second;
    return 2;
}

} // namespace vorna
