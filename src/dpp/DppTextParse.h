#pragma once
// How configuration lines are read: C-library decimal conversion and case-blind tokens.

#include <cstdint>
#include <string>
#include <string_view>

namespace vorna::dpptext {

// Case-insensitive equality after trimming `text`.
bool IsToken(std::string_view text, std::string_view token);

// atoi: leading blanks, sign, decimal digits; 0 when no digit. Saturates at the int32 range.
int32_t DecimalInt(std::string_view text);
// strtoul for a 32-bit value: a negative number wraps as the C library's does; beyond 32 bits
// it saturates at 4294967295.
uint32_t DecimalUInt32(std::string_view text);

} // namespace vorna::dpptext
