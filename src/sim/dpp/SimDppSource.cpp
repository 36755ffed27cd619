#include "sim/dpp/SimDppSource.h"

#include <algorithm>

namespace vorna {
namespace {

constexpr double kAlphaKeV = 5.899;
constexpr double kBetaKeV = 6.490;
constexpr double kFwhmPerSigma = 2.3548;

} // namespace

uint64_t SimDppSource::PulsesIn(double seconds) {
    const double mean = ratePerSecond * seconds;
    if (!(mean > 0))
        return 0;
    std::poisson_distribution<uint64_t> pulses(mean);
    return pulses(m_random);
}

double SimDppSource::Uniform() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_random);
}

double SimDppSource::Gaussian() {
    return std::normal_distribution<double>(0.0, 1.0)(m_random);
}

double SimDppSource::NextEnergyKeV() {
    const double pick = Uniform();
    if (pick >= alphaShare + betaShare)
        return Uniform() * backgroundMaxKeV;
    const double line = pick < alphaShare ? kAlphaKeV : kBetaKeV;
    std::normal_distribution<double> spread(line, fwhmKeV / kFwhmPerSigma);
    return std::max(0.0, spread(m_random));
}

} // namespace vorna
