#pragma once
// Closing spectra while the update worker runs. Close and Close All take the spectra-list lock
// for their whole length: the worker evaluates a derived spectrum under the same lock, so an
// operand is never unlinked or removed in the middle of an evaluation that reads it.

namespace vorna {

class CSpectraList;
class CSpectrum;

// 1 closed, 0 not closed (refused, or a question answered Cancel).
int CloseSpectrum(CSpectraList& list, CSpectrum* spectrum);
void CloseAllSpectra(CSpectraList& list, bool ask);

} // namespace vorna
