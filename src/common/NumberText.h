#pragma once
// printf/scanf-style number text that never depends on the process locale.
// Files and reports must read "1.5", never "1,5", whatever LC_NUMERIC says.

#include <cstdarg>
#include <optional>
#include <string>
#include <string_view>

namespace vorna {

// snprintf with the "C" locale, into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, va_list args);

// Appends to `out` (avoids a temporary for hot writers).
void AppendFormat(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// The C conversion "%i": leading blanks skipped, optional sign, "0x" hexadecimal, leading "0"
// octal. Returns nothing when no digit converts. Out-of-range values wrap to 32 bits as the
// C library's scanf does on common platforms.
std::optional<int> ScanInt(std::string_view text);
std::optional<int> ScanIntPrefix(std::string_view text, size_t& consumed);

// The C conversion "%lf" (also atof-like): leading blanks, sign, decimal or hexadecimal
// floating point, "inf"/"nan". Returns nothing when no number converts.
std::optional<double> ScanDouble(std::string_view text);

// Like ScanDouble, and also reports how many characters were consumed (0 when none).
std::optional<double> ScanDoublePrefix(std::string_view text, size_t& consumed);

// Two numbers separated by blanks, as sscanf("%lf %lf") / ("%i %i"); the count converted.
int ScanTwoDoubles(std::string_view text, double& a, double& b);
int ScanTwoInts(std::string_view text, int& a, int& b);

} // namespace vorna
