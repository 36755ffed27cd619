#include "appcore/SpectrumCommands.h"

#include <mutex>

#include "spectrum/CSpectraList.h"

namespace vorna {

// The questions these may ask run with the lock held; the worker then simply waits, it never
// needs the user-interface thread to go on.
int CloseSpectrum(CSpectraList& list, CSpectrum* spectrum) {
    auto guard = list.Lock();
    return list.Close(spectrum);
}

void CloseAllSpectra(CSpectraList& list, bool ask) {
    auto guard = list.Lock();
    list.CloseAll(ask);
}

} // namespace vorna
