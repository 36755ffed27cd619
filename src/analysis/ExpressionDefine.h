#pragma once
// Defining a derived spectrum's expression: compile against the open plain spectra, install the
// program and link the spectrum to the operands it reads.

#include <string>

namespace vorna {

class CSpectraList;
class CSpectrum;

inline constexpr const char* kExpressionMissingMessage = "Expression must be defined!";
inline constexpr const char* kExpressionInvalidMessage = "Invalid expression!";

// Compiles `text` with every open spectrum that is not derived as a candidate operand, in list
// order. On success the new program replaces the old one, the text is stored, the spectrum is
// linked both ways to the operands the program reads (and unlinked from those it read before),
// and true is returned; evaluation is left to the caller. On failure the message is shown
// through the list's prompt and the old program and text stay. `target` is a derived spectrum
// or a new one that is not in the list yet.
bool SetExpression(CSpectraList& list, CSpectrum& target, const std::string& text);

} // namespace vorna
