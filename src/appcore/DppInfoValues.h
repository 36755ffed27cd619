#pragma once
// The connected DPP's values in the info pane's DPP layout (live spectrum): the texts the pane
// shows for mode, thresholds, peaking time, gain and gain step, preset, counts, rates and the
// device readings, worked out from the device image.

#include <cstdint>
#include <string>

namespace vorna {

struct DppDevice;

struct DppLiveInfo {
    std::string name;    // device-type name, for the source row
    uint32_t serial = 0; // 0: unknown
    bool connected = false;
    std::string mode; // "MCA" / "MCS", ":DELTA" in delta mode
    std::string lldThreshold;
    std::string fastThreshold;
    std::string peakTime;
    std::string gain;
    std::string gainDelta; // Plover and Osprey: the step; others: "Coarse Set"
    std::string presetMode;
    std::string presetValue;
    std::string inputCount;
    std::string inputRate;
    std::string deadTime; // blank unless the input rate exceeds 500
    std::string detectorTemperature;
    std::string boardTemperature;
    std::string detectorHighVoltage;
};

struct DppLiveInfoInput {
    const DppDevice* device = nullptr;
    int deviceType = 0;
    std::string name;
    bool connected = false;
    bool deltaMode = false;
    double gainDelta = 1.0;
};

DppLiveInfo MakeDppLiveInfo(const DppLiveInfoInput& input);

// The name of the source row: the selected device type's name; the profile's stored name (the
// last one a device gave) only for a type without a name of its own.
std::string DppSourceName(int deviceType, const std::string& storedName);
// The name in the start-up report: the saved name only when it is the type's own; empty when
// neither has one (the report then says "DPP").
std::string DppStartupName(int deviceType, const std::string& savedName);

// "Multiplty Delta By 10" / "Divide Delta By 10": the gain step stays within 0.01..100.
double ScaledGainDelta(double delta, bool up);

// Corrected input count rate of a status: fast count over accumulation time, corrected for the
// fast channel's pulse-pair time; 0 without a positive time or rate.
double DppInputRate(double fastCount, double accumulationTime, bool fastClock);
// "Secs/Cnts", "Seconds", "Counts" or "None" and the matching value text.
std::pair<std::string, std::string> DppPresetTexts(uint32_t presetTenths, uint32_t presetCount,
                                                   bool countValid);

} // namespace vorna
