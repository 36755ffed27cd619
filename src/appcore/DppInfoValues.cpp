#include "appcore/DppInfoValues.h"

#include <cstdio>

#include "analysis/NumberFormat.h"
#include "dpp/DppDevice.h"
#include "dpp/DppModels.h"
#include "dpp/DppTypes.h"

namespace vorna {

namespace {

constexpr double kSlowClockTau = 400e-9;
constexpr double kFastClockTau = 100e-9;
constexpr double kDeadTimeShownAboveRate = 500;

std::string Printf(const char* format, auto... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

// The counting window for a count preset: SCA 8, a positive width below the channel count.
bool PresetCountValid(const DppConfigRecord& c) {
    if (c.PresetCount == 0)
        return false;
    const uint32_t window = c.Sca[7];
    const uint32_t low = window & 0xFFFF;
    const uint32_t high = (window >> 16) & 0x7FFF;
    return high > low && high < static_cast<uint32_t>(c.channels);
}

bool ShowsDetectorReadings(int deviceType) {
    return deviceType == 2 || deviceType == 4;
}

} // namespace

double DppInputRate(double fastCount, double accumulationTime, bool fastClock) {
    if (accumulationTime <= 0)
        return 0;
    const double r = fastCount / accumulationTime;
    const double c = 1.0 - r * (fastClock ? kFastClockTau : kSlowClockTau);
    const double rate = c > 0 ? r / c : r;
    return rate > 0 ? rate : 0;
}

std::pair<std::string, std::string> DppPresetTexts(uint32_t presetTenths, uint32_t presetCount,
                                                   bool countValid) {
    const unsigned long seconds = presetTenths / 10;
    if (presetTenths > 0 && countValid)
        return {"Secs/Cnts", Printf("%lu/%lu", seconds, static_cast<unsigned long>(presetCount))};
    if (presetTenths > 0)
        return {"Seconds", Printf("%lu", seconds)};
    if (countValid)
        return {"Counts", Printf("%lu", static_cast<unsigned long>(presetCount))};
    return {"None", "0"};
}

std::string DppSourceName(int deviceType, const std::string& storedName) {
    const std::string typeName = DppDeviceTypeName(deviceType);
    return typeName.empty() ? storedName : typeName;
}

std::string DppStartupName(int deviceType, const std::string& savedName) {
    const std::string typeName = DppDeviceTypeName(deviceType);
    const bool useType = savedName.empty() || savedName.size() == 8 || savedName != typeName;
    return useType ? typeName : savedName;
}

double ScaledGainDelta(double delta, bool up) {
    if (up)
        return delta < 100 ? delta * 10 : delta;
    return delta > 0.01 ? delta / 10 : delta;
}

DppLiveInfo MakeDppLiveInfo(const DppLiveInfoInput& in) {
    DppLiveInfo info;
    info.name = in.name;
    info.connected = in.connected;
    info.gainDelta = ShowsDetectorReadings(in.deviceType) ? FormatFixed(in.gainDelta, 2)
                                                          : std::string("Coarse Set");
    if (!in.device)
        return info;
    const DppConfigRecord& c = in.device->config;
    const DppStatusRecord& s = in.device->status;
    info.serial = in.connected ? s.serialNumber : 0;
    info.mode = std::string(c.AcqMode == 1 ? "MCS" : "MCA") + (in.deltaMode ? ":DELTA" : "");
    // The same texts a saved spectrum's configuration block holds, so a spectrum shows the same
    // values live and when read back.
    info.lldThreshold = Printf("%.2f%% FS", c.SlowChThreshold * 400.0 / 4096.0);
    info.fastThreshold = Printf("%i", static_cast<int>(c.FastChThreshold));
    info.peakTime = Printf("%.1fuS", PeakingTimeUs(c.Rise, c.Avg, s.FastClock()));
    info.gain = in.device->totalGainText;
    const auto [mode, value] = DppPresetTexts(c.Preset, c.PresetCount, PresetCountValid(c));
    info.presetMode = mode;
    info.presetValue = value;
    info.inputCount = FormatNumber(s.fastCount);
    const double rate = DppInputRate(s.fastCount, s.accumulationTime, s.FastClock());
    info.inputRate = FormatNumber(rate);
    info.deadTime = rate > kDeadTimeShownAboveRate ? s.deadTimeText : std::string();
    info.boardTemperature = s.boardTempText;
    if (ShowsDetectorReadings(in.deviceType)) {
        info.detectorTemperature = s.tecText;
        info.detectorHighVoltage = s.hvText;
    }
    return info;
}

} // namespace vorna
