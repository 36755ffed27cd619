#pragma once
// What the DPP property sheet needs of the program: the device image, the link's requests, the
// profile values its pages edit, the plot's cursor and ROI, the configuration files, and the
// main window's messages that close, reopen and tune.

#include <cstdint>
#include <string>
#include <vector>

#include "common/MainWindowSink.h"

namespace vorna {

class UserPrompt;
struct DppDevice;

// The General page's configuration sources and outputs.
enum class DppConfigSource {
    RecallPrevious,
    ReadHardware,
    OpenFile,
    SaveToFile,
    Show,
    CopyToClipboard,
};

class DppSheetHost {
public:
    virtual ~DppSheetHost() = default;

    virtual DppDevice& Device() = 0;
    virtual int DeviceType() const = 0;
    virtual bool Connected() const = 0;
    virtual bool Acquiring() const = 0;
    virtual bool LinkBusy() const = 0;
    virtual UserPrompt& Prompt() = 0;

    // The last page's apply: send the configuration (connect when not connected), then save
    // DPP.CFG.
    virtual void SendAndSaveConfiguration() = 0;
    virtual void WriteBootFlags(uint16_t word) = 0;
    virtual void SetSpectrumOffset(int16_t value) = 0;
    // Reads the status into the device image (the Power page's monitors).
    virtual void RefreshStatus() = 0;
    // Reads the device's configuration and takes its input offset into the record.
    virtual void ReadInputOffset() = 0;
    virtual void WriteDescriptorText(const std::string& text) = 0;
    virtual std::string ReadDescriptorText() = 0;
    // Runs a General page source; the note to show after it, empty when it failed or only
    // showed something.
    virtual std::string RunConfigurationSource(DppConfigSource source) = 0;
    virtual std::vector<std::string> DetectorConfigurationNames() = 0;
    virtual std::string LoadDetectorConfiguration(const std::string& name) = 0;

    // Main-window commands the pages offer.
    virtual void StartStopAcquisition() = 0;
    virtual void DeleteDataAndResetTime() = 0;
    virtual void StepVerticalZoom(bool up) = 0;
    // The plot cursor's channel in the live spectrum's channels (at least 1).
    virtual int CursorChannel() const = 0;
    // The selected ROI of the active spectrum; false when none is selected.
    virtual bool SelectedRoi(int& low, int& high) const = 0;
    virtual void Post(MainMessage message) = 0;
    // The main window's total gain display.
    virtual void ShowTotalGain(const std::string& text, double value) = 0;

    // Profile values.
    virtual int DataRefreshMs() const = 0;
    // Stores the period and restarts a running data timer with it.
    virtual void SetDataRefreshMs(int ms) = 0;
    virtual bool StartupUsesHardware() const = 0;
    virtual void SetStartupUsesHardware(bool hardware) = 0;
    virtual bool GainScaleThresholds() const = 0;
    virtual void SetGainScaleThresholds(bool on) = 0;
    virtual bool ShowUpdatesAtStartup() const = 0;
    virtual void SetShowUpdatesAtStartup(bool show) = 0;
};

} // namespace vorna
