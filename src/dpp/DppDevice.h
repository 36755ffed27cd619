#pragma once
// The program's one image of the connected DPP: configuration, decoded status, counts, and the
// flags that decide what a connect sends.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dpp/DppConfigRecord.h"
#include "dpp/DppConfigStrings.h"
#include "dpp/DppStatusRecord.h"

namespace vorna {

struct DppDevice {
    static constexpr int kMaxChannels = 8192;

    DppConfigRecord config;
    DppConfigStrings strings; // the text form the property pages and files start from
    DppStatusRecord status;
    std::vector<uint32_t> counts = std::vector<uint32_t>(kMaxChannels);
    std::vector<uint8_t> rawSpectrum = std::vector<uint8_t>(kMaxChannels * 3);
    std::string totalGainText;
    double totalGain = 0;
    bool configurationLoaded = false;
    bool pendingSend = false;

    // Decodes a status packet; the configuration's acquisition-enable bit follows the device.
    void DecodeStatus(std::span<const uint8_t> packet) {
        status.Decode(packet);
        config.MCAEnable = status.AcquisitionEnabled() ? 1 : 0;
    }
    void SetTotalGain(const DppTotalGain& gain) {
        totalGainText = gain.text;
        totalGain = gain.value;
    }
};

} // namespace vorna
