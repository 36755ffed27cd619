#pragma once
// Spectra with known peaks, and a display sink that records what the ROI operations ask for.

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "spectrum/CSpectrum.h"
#include "spectrum/SpectrumEnvironment.h"

namespace vorna::test {

inline std::unique_ptr<CSpectrum> makeSpectrum(int gain, double level = 0.0) {
    auto s = std::make_unique<CSpectrum>();
    s->m_nGain = gain;
    s->m_nChannels = CSpectrum::ChannelsForGain(gain);
    s->AllocateData(s->m_nChannels);
    for (double& v : s->m_pData)
        v = level;
    return s;
}

// Adds counts of a Gaussian line: `area` counts spread with standard deviation `sigma`.
inline void addGaussian(std::vector<double>& data, double centre, double sigma, double area) {
    const double height = area / (sigma * std::sqrt(2.0 * std::numbers::pi));
    for (size_t k = 0; k < data.size(); ++k) {
        double d = static_cast<double>(k) - centre;
        data[k] += height * std::exp(-d * d / (2.0 * sigma * sigma));
    }
}

struct RecordingDisplay : DisplaySink {
    std::vector<std::pair<int, int>> ranges;
    int plotRedraws = 0;
    int infoRefreshes = 0;
    int activations = 0;
    int cursorAbsolute = 0;

    void RedrawAbsoluteRange(int first, int lastExclusive) override {
        ranges.emplace_back(first, lastExclusive);
    }
    void RedrawPlot() override { ++plotRedraws; }
    void RefreshInfoPane() override { ++infoRefreshes; }
    void RefreshSpectraListWindow() override {}
    void ResetPlotToFullRange() override {}
    void SpectrumActivated(const CSpectrum&) override { ++activations; }
    int CursorChannelAbsolute() const override { return cursorAbsolute; }
};

} // namespace vorna::test
