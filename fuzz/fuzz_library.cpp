// Element library files from anywhere: the reader must take any bytes, keep its lines in
// ascending order, and answer matches and window lists without reading out of bounds.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "analysis/ElementLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vorna::ElementLibrary lib;
    lib.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));

    for (int i = 1; i < lib.GetCount(); ++i)
        if (lib.Line(i - 1).energy > lib.Line(i).energy)
            std::abort();

    for (double energy : {0.0, 1.0, 6.4, 100.0, -5.0}) {
        int m = lib.Match(energy, 0.15, 10.0);
        if (m < -1 || m >= lib.GetCount())
            std::abort();
        if (m >= 0 && !(std::fabs(lib.Line(m).energy - energy) < 1.5))
            std::abort();
        for (int i : lib.LinesAround(energy, 5.0))
            if (i < 0 || i >= lib.GetCount())
                std::abort();
        (void)vorna::LibraryWindowRows(lib, energy, 2.0);
    }
    return 0;
}
