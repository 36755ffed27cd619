#include "sim/kestrel/KestrelSourceModel.h"

#include <algorithm>
#include <cmath>

namespace vorna {

namespace {

constexpr double kKAlphaKeV = 5.895;
constexpr double kKBetaKeV = 6.490;
constexpr double kKBetaShare = 0.135;
constexpr double kFwhmAtKAlpha = 0.165;  // keV, a good silicon detector
constexpr double kBackgroundShare = 0.3; // relative to the K-alpha line
constexpr double kBackgroundFallKeV = 2.0;

double Gauss(double x, double mean, double sigma) {
    const double z = (x - mean) / sigma;
    return std::exp(-0.5 * z * z) / (sigma * std::sqrt(2.0 * M_PI));
}

double Sigma(double energyKeV) {
    return kFwhmAtKAlpha / 2.3548 * std::sqrt(energyKeV / kKAlphaKeV);
}

} // namespace

KestrelSourceModel::KestrelSourceModel(uint64_t seed) : m_rng(seed) {}

std::vector<double> KestrelSourceModel::Shape(int channels, int threshold) {
    std::vector<double> weight(static_cast<size_t>(std::max(channels, 0)), 0.0);
    const double width = kFullScaleKeV / channels;
    double total = 0.0;
    for (int c = std::max(threshold, 0); c < channels; ++c) {
        const double e = (c + 0.5) * width;
        double density = Gauss(e, kKAlphaKeV, Sigma(kKAlphaKeV)) +
                         kKBetaShare * Gauss(e, kKBetaKeV, Sigma(kKBetaKeV)) +
                         kBackgroundShare * std::exp(-e / kBackgroundFallKeV) / kBackgroundFallKeV;
        weight[c] = density * width;
        total += weight[c];
    }
    if (total > 0.0)
        for (double& w : weight)
            w /= total;
    return weight;
}

const std::vector<double>& KestrelSourceModel::Cumulative(int channels, int threshold) {
    if (channels != m_cachedChannels || threshold != m_cachedThreshold) {
        m_shape = Shape(channels, threshold);
        m_cumulative.resize(m_shape.size());
        double running = 0.0;
        for (size_t i = 0; i < m_shape.size(); ++i)
            m_cumulative[i] = running += m_shape[i];
        m_cachedChannels = channels;
        m_cachedThreshold = threshold;
    }
    return m_cumulative;
}

void KestrelSourceModel::Accumulate(std::span<uint32_t> channels, double expectedCounts,
                                    int threshold) {
    if (expectedCounts <= 0.0 || channels.empty())
        return;
    const auto& cumulative = Cumulative(static_cast<int>(channels.size()), threshold);
    if (cumulative.back() <= 0.0)
        return;
    if (expectedCounts < static_cast<double>(channels.size()) / 4) {
        // Few counts: draw the total, then place each count.
        std::poisson_distribution<uint64_t> total(expectedCounts);
        std::uniform_real_distribution<double> where(0.0, cumulative.back());
        for (uint64_t n = total(m_rng); n > 0; --n) {
            auto it = std::upper_bound(cumulative.begin(), cumulative.end(), where(m_rng));
            size_t c = std::min(static_cast<size_t>(it - cumulative.begin()), channels.size() - 1);
            ++channels[c];
        }
        return;
    }
    // Many counts: every channel is its own Poisson process.
    for (size_t c = 0; c < channels.size(); ++c) {
        const double mean = expectedCounts * m_shape[c];
        if (mean > 0.0)
            channels[c] += static_cast<uint32_t>(std::poisson_distribution<uint64_t>(mean)(m_rng));
    }
}

} // namespace vorna
