#pragma once
// The arithmetic of an acquisition upload, kept apart from the controller so that it can be
// checked channel by channel: the unused top of the spectrum, the plausibility check against the
// previous upload, and the Limited-MCS bins with their history.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vorna {

// The analyzer's highest n/32 channels hold no counts (8 of 256 ... 512 of 16384).
void ZeroTopChannels(std::span<uint32_t> counts);

// Rejects values that a garbled transfer leaves behind: a value passes when it is 0, or when it
// is below the previous value + 16384 and its low 8 bits are not all zero. A rejected channel and
// its two neighbours get the previous upload's values back; passing values become the previous
// values for the next upload.
class UploadPlausibility {
public:
    static constexpr int kChannels = 16384;

    void Invalidate() { m_valid = false; }
    bool Valid() const { return m_valid; }
    // `counts` holds channels first .. first + size - 1 of the upload.
    void Apply(std::span<uint32_t> counts, int first = 0);

private:
    std::vector<uint32_t> m_previous = std::vector<uint32_t>(kChannels, 0);
    bool m_valid = false;
};

// Limited MCS: each upload of a spectrum of at most 256 channels becomes one time bin, the
// counts added since the previous upload.
class McsBins {
public:
    static constexpr size_t kHistorySize = 16384;
    static constexpr uint32_t kNegative = 4290000000u; // a wrapped difference, stored as 0

    // One upload: `counts` are the device's channels, `live` the live spectrum's channels (the
    // same number), zeroed when a pass starts; the bin goes into live and into the history.
    void Record(std::span<const uint32_t> counts, std::span<double> live);
    void EndPass() { m_running = false; }
    bool Running() const { return m_running; }
    int NextBin() const { return m_bin; }
    // Forgets the history (a new MCS acquisition).
    void ResetHistory() { m_history.clear(); }
    const std::vector<uint32_t>& History() const { return m_history; }

private:
    bool m_running = false;
    int m_bin = 0;
    uint32_t m_previousTotal = 0;
    uint32_t m_lastDelta = 0;
    std::vector<uint32_t> m_history;
};

// Gain index of the MCS result spectrum: the fewest channels (256 << index) that hold `bins`;
// 0 (256 channels) when even 16384 do not.
int McsResultGainIndex(size_t bins);

} // namespace vorna
