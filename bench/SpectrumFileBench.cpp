// Reading and writing a 16384-channel spectrum file, each beside its limit: the cheapest work on
// the same data (split the bytes into lines and convert each to a double; format the same
// integers into a buffer). The ratios are what to watch; absolute times vary with the machine.

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "spectrum/CSpectrum.h"
#include "spectrum/SpectrumReader.h"
#include "spectrum/SpectrumWriter.h"

using namespace vorna;

namespace {

// A plausible X-ray spectrum: a falling background with peaks, counts up to about 10^5.
void fillSpectrum(CSpectrum& s) {
    s.m_strTag = "Bench";
    s.m_strDescription = "16384-channel benchmark spectrum";
    s.m_strGeneralNotes = "first line\r\nsecond line";
    s.m_nGain = 6;
    s.m_nThreshold = 40;
    s.m_dLiveTime = 100.25;
    s.m_dRealTime = 101.5;
    s.SetStartTime("12/09/2025 10:15:00");
    s.m_calibrate.SetLabel("keV");
    s.m_calibrate.AddPoint(1180, 5.899);
    s.m_calibrate.AddPoint(1298, 6.49);
    s.m_roi.Append(1150, 1210);
    s.m_roi.Append(1270, 1330);
    s.AllocateData(16384);
    uint64_t state = 12345;
    for (int i = 0; i < 16384; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        double noise = static_cast<double>(state >> 40) / static_cast<double>(1 << 24);
        double peak = 90000.0 * std::exp(-0.5 * std::pow((i - 1180) / 12.0, 2)) +
                      12000.0 * std::exp(-0.5 * std::pow((i - 1298) / 12.5, 2));
        s.m_pData[static_cast<size_t>(i)] =
            std::floor(400.0 * std::exp(-i / 3000.0) + 5.0 + peak + 20.0 * noise);
    }
}

const std::string& fileBytes() {
    static const std::string bytes = [] {
        CSpectrum s;
        fillSpectrum(s);
        std::string out;
        WriteSpectrum(s, SpectrumWriteOptions(), out);
        return out;
    }();
    return bytes;
}

void BM_ReadSpectrum(benchmark::State& state) {
    const std::string& bytes = fileBytes();
    for (auto _ : state) {
        CSpectrum s;
        bool ok = ReadSpectrum(bytes, s);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(s.m_pData.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadSpectrum);

// Limit: every line found with memchr and converted with std::from_chars into a buffer.
void BM_ReadLimit(benchmark::State& state) {
    const std::string& bytes = fileBytes();
    std::vector<double> values(20000);
    for (auto _ : state) {
        const char* p = bytes.data();
        const char* const end = p + bytes.size();
        size_t n = 0;
        while (p < end) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
            const char* lineEnd = lf ? lf : end;
            double v = 0.0;
            std::from_chars(p, lineEnd, v);
            values[n++ % values.size()] = v;
            p = lf ? lf + 1 : end;
        }
        benchmark::DoNotOptimize(values.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadLimit);

void BM_WriteSpectrum(benchmark::State& state) {
    CSpectrum s;
    fillSpectrum(s);
    const size_t size = fileBytes().size();
    for (auto _ : state) {
        std::string out;
        WriteSpectrum(s, SpectrumWriteOptions(), out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_WriteSpectrum);

// Limit: the same channel values, already integers, formatted with std::to_chars and a line
// end into a buffer of the right size.
void BM_WriteLimit(benchmark::State& state) {
    CSpectrum s;
    fillSpectrum(s);
    std::vector<unsigned long long> counts;
    for (double v : s.m_pData)
        counts.push_back(static_cast<unsigned long long>(v));
    std::vector<char> buffer(counts.size() * 22);
    const size_t size = fileBytes().size();
    for (auto _ : state) {
        char* p = buffer.data();
        for (unsigned long long c : counts) {
            p = std::to_chars(p, p + 20, c).ptr;
            *p++ = '\r';
            *p++ = '\n';
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_WriteLimit);

} // namespace

BENCHMARK_MAIN();
