#include "dpp/DppTextParse.h"
#include "common/Text.h"

#include <strings.h>

namespace vorna::dpptext {
namespace {

// Sign and magnitude of the leading decimal number; the magnitude saturates well above 32 bits.
struct Leading {
    bool negative = false;
    uint64_t magnitude = 0;
};

Leading leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    Leading n;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        n.negative = text[i] == '-';
        ++i;
    }
    constexpr uint64_t kCap = uint64_t{1} << 40;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (n.magnitude < kCap)
            n.magnitude = n.magnitude * 10 + static_cast<uint64_t>(text[i] - '0');
        ++i;
    }
    return n;
}

} // namespace

bool IsToken(std::string_view text, std::string_view token) {
    text = Trim(text);
    return text.size() == token.size() && strncasecmp(text.data(), token.data(), text.size()) == 0;
}

int32_t DecimalInt(std::string_view text) {
    Leading n = leadingNumber(text);
    if (n.negative)
        return n.magnitude >= 2147483648u ? INT32_MIN : -static_cast<int32_t>(n.magnitude);
    return n.magnitude > 2147483647u ? INT32_MAX : static_cast<int32_t>(n.magnitude);
}

uint32_t DecimalUInt32(std::string_view text) {
    Leading n = leadingNumber(text);
    if (n.magnitude > UINT32_MAX)
        return UINT32_MAX;
    uint32_t v = static_cast<uint32_t>(n.magnitude);
    return n.negative ? static_cast<uint32_t>(0u - v) : v;
}

} // namespace vorna::dpptext
