#include "kestrel/AcqUploadMath.h"

#include <algorithm>
#include <numeric>

namespace vorna {

void ZeroTopChannels(std::span<uint32_t> counts) {
    const size_t top = counts.size() / 32;
    std::fill(counts.end() - static_cast<std::ptrdiff_t>(top), counts.end(), 0u);
}

void UploadPlausibility::Apply(std::span<uint32_t> counts, int first) {
    const size_t begin = static_cast<size_t>(std::clamp(first, 0, kChannels));
    const size_t n = std::min(counts.size(), kChannels - begin);
    if (!m_valid) {
        std::copy_n(counts.begin(), n, m_previous.begin() + begin);
        m_valid = true;
        return;
    }
    // Decide every channel against the old values first, so that restoring a neighbour never
    // sees a value accepted earlier in the same pass.
    std::vector<bool> restore(n, false);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t v = counts[i];
        const uint64_t limit = uint64_t{m_previous[begin + i]} + 16384;
        if (v == 0 || (v < limit && (v & 0xFF) != 0))
            continue;
        restore[i] = true;
        if (i > 0)
            restore[i - 1] = true;
        if (i + 1 < n)
            restore[i + 1] = true;
    }
    for (size_t i = 0; i < n; ++i) {
        if (restore[i])
            counts[i] = m_previous[begin + i];
        else
            m_previous[begin + i] = counts[i];
    }
}

void McsBins::Record(std::span<const uint32_t> counts, std::span<double> live) {
    if (!m_running) {
        std::fill(live.begin(), live.end(), 0.0);
        m_bin = 0;
        m_running = true;
        m_previousTotal = 0;
        m_lastDelta = 0;
    }
    const uint32_t total = std::accumulate(counts.begin(), counts.end(), uint32_t{0});
    const uint32_t delta = total - m_previousTotal;
    uint32_t value = delta;
    if (delta == 0) {
        // No new counts read: the bin repeats the last rate instead of showing a hole.
        value = m_lastDelta;
        m_previousTotal += m_lastDelta;
    } else {
        m_previousTotal = total;
        m_lastDelta = delta;
    }
    if (value > kNegative || m_bin == 0)
        value = 0;
    if (static_cast<size_t>(m_bin) < live.size())
        live[m_bin] = value;
    if (m_history.size() < kHistorySize)
        m_history.push_back(value);
    ++m_bin;
    const int lastBin = 256 - (static_cast<int>(live.size()) / 32 + 1);
    if (m_bin > lastBin)
        m_running = false;
}

int McsResultGainIndex(size_t bins) {
    for (int index = 0; index <= 6; ++index)
        if (bins <= (size_t{256} << index))
            return index;
    return 0;
}

} // namespace vorna
