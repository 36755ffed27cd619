#pragma once
// What the DPP commands need of the rest of the program: the profile values they read and
// store, the live spectrum they fill, and the main window's timers, indicators and dialogs.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace vorna {

class DppProfile {
public:
    virtual ~DppProfile() = default;
    // 0 for the Kestrel family, 1..4 for the DPP families.
    virtual int DeviceType() const = 0;
    virtual void SetDeviceType(int deviceType) = 0;
    virtual void SetDeviceTypeName(const std::string& name) = 0;
    // "data_refresh" in milliseconds.
    virtual int DataRefreshMs() const = 0;
    virtual void SetDataRefreshMs(int ms) = 0;
    // The startup option "Use Configuration Stored In Hardware".
    virtual bool UseConfigurationStoredInHardware() const = 0;
};

class DppLiveSpectrum {
public:
    virtual ~DppLiveSpectrum() = default;
    // Replaces the live spectrum's contents: `channels` channels and their total.
    virtual void ReplaceCounts(std::span<const uint32_t> counts, int channels, double total) = 0;
    virtual void SetTimes(double realTime, double liveTime, const std::string& startTime) = 0;
    // Delete Data and Reset Time on the program side.
    virtual void ClearData() = 0;
    virtual void Redraw() = 0;
};

// Entries 1..10 of the selection dialog; an empty label is an absent entry.
using DppSelectLabels = std::array<std::string, 10>;

class DppWindow {
public:
    virtual ~DppWindow() = default;
    // Data timer (id 1). False when it cannot be created.
    virtual bool StartDataTimer(int intervalMs) = 0;
    virtual void StopDataTimer() = 0;
    virtual bool DataTimerRunning() const = 0;
    // Toolbar, menus and device indicators follow the link state.
    virtual void UpdateControls() = 0;
    virtual void ShowGain(const std::string& text) = 0;
    // Wall-clock time as "%m/%d/%Y %H:%M:%S".
    virtual std::string NowText() = 0;
    // "Please Select A DPP": the chosen entry 1..6, or 0 for Cancel.
    virtual int ChooseDevice(const DppSelectLabels& labels) = 0;
};

} // namespace vorna
