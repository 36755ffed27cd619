// Spectrum file reader on arbitrary bytes: it must never crash or read out of bounds, a loaded
// spectrum must be consistent, and what it loaded must survive a write and a second read
// unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/RoiStatistics.h"
#include "spectrum/CSpectrum.h"
#include "spectrum/SpectrumEnvironment.h"
#include "spectrum/SpectrumReader.h"
#include "spectrum/SpectrumWriter.h"

using namespace vorna;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

std::string write(CSpectrum& s, int deviceType) {
    SpectrumWriteOptions options;
    options.dppDeviceType = deviceType;
    std::string out;
    WriteSpectrum(s, options, out);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The input's length also picks the fit and the DPP selection, so every path gets its turn
    // without changing what the bytes mean.
    SpectrumReadOptions options;
    options.calibEquationType = static_cast<int>(size & 1);
    const int deviceType = static_cast<int>((size >> 1) % 5);

    CSpectrum s;
    if (!ReadSpectrum(bytes, s, options)) {
        check(!s.HasData());
        return 0;
    }
    check(s.m_nGain >= 0 && s.m_nGain <= 6);
    check(s.m_nChannels == CSpectrum::ChannelsForGain(s.m_nGain));
    check(s.m_pData.size() == static_cast<size_t>(s.m_nChannels));
    for (const CRoiEntry& r : s.m_roi.Entries())
        check(r.start >= 0 && r.start < r.end && r.end < s.m_nChannels);
    check(s.m_szStartTime.size() <= 20);

    // What the program does right after opening: totals and ROI statistics.
    SpectrumEnvironment env;
    env.dppDeviceType = deviceType;
    env.recomputeRoiStatistics = RecomputeAllRoiStatistics;
    s.UpdateTotals(env, 1);

    const std::string first = write(s, deviceType);
    CSpectrum again;
    check(ReadSpectrum(first, again, options));
    check(write(again, deviceType) == first);
    return 0;
}
