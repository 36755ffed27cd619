#pragma once
// What the simulated analyzer counts: an Fe-55 source (Mn K-alpha at 5.90 keV, K-beta at
// 6.49 keV) on a falling background. The ADC spans the same energy range at every gain, so the
// channel count decides where the lines fall. Counts arrive as a Poisson process.

#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace vorna {

class KestrelSourceModel {
public:
    static constexpr double kFullScaleKeV = 20.48;

    explicit KestrelSourceModel(uint64_t seed);

    // Probability of each channel; channels below `threshold` get none.
    static std::vector<double> Shape(int channels, int threshold);
    // Adds counts with a Poisson-distributed total of mean `expectedCounts` to `channels`.
    void Accumulate(std::span<uint32_t> channels, double expectedCounts, int threshold);

private:
    const std::vector<double>& Cumulative(int channels, int threshold);

    std::mt19937_64 m_rng;
    int m_cachedChannels = -1;
    int m_cachedThreshold = -1;
    std::vector<double> m_shape;
    std::vector<double> m_cumulative;
};

} // namespace vorna
