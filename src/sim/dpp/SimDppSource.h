#pragma once
// Pulses of an Fe-55 source on a flat background: the Mn K-alpha and K-beta lines at 5.90 and
// 6.49 keV with detector resolution, drawn as a Poisson process from a seedable generator.

#include <cstdint>
#include <random>

namespace vorna {

class SimDppSource {
public:
    explicit SimDppSource(uint64_t seed) : m_random(seed) {}

    double ratePerSecond = 2500;
    double fwhmKeV = 0.14;
    double alphaShare = 0.78; // K-alpha
    double betaShare = 0.12;  // K-beta; the rest is background
    double backgroundMaxKeV = 20;

    // How many pulses arrive in `seconds`.
    uint64_t PulsesIn(double seconds);
    // The energy of one pulse in keV (never negative).
    double NextEnergyKeV();
    // A uniform number in [0, 1) from the same generator (noise of scope traces).
    double Uniform();
    // A standard normal number from the same generator (input noise).
    double Gaussian();

private:
    std::mt19937_64 m_random;
};

} // namespace vorna
