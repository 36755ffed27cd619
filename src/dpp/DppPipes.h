#pragma once
// The DPP's pipe numbers: which endpoint carries what. The link and the simulated devices must
// agree on them, so they are named once.

namespace vorna::dpppipe {

constexpr int kCommand = 0;
constexpr int kStatus = 1;
constexpr int kSpectrum = 2;
constexpr int kOspreyData = 3; // in Osprey mode pipe 3 carries the data
constexpr int kSpare3 = 3;
constexpr int kSpare4 = 4;
constexpr int kData = 5;
constexpr int kScope = 6;

} // namespace vorna::dpppipe
