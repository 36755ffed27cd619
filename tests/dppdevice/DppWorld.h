#pragma once
// One program's worth of DPP link on the virtual clock: simulated bus, link, device image,
// controller, and recording stand-ins for the profile, the live spectrum and the main window.

#include <string>
#include <vector>

#include "TestSupport.h"
#include "common/CaptionedPrompt.h"
#include "common/Clock.h"
#include "dpp/DppController.h"
#include "dpp/DppDevice.h"
#include "dpp/DppUsbLink.h"
#include "sim/dpp/SimDppBus.h"

namespace vorna::test {

struct FakeProfile : DppProfile {
    int type = 2;
    std::string typeName;
    int refreshMs = 1000;
    bool useHardwareConfiguration = false;
    int DeviceType() const override { return type; }
    void SetDeviceType(int t) override { type = t; }
    void SetDeviceTypeName(const std::string& name) override { typeName = name; }
    int DataRefreshMs() const override { return refreshMs; }
    void SetDataRefreshMs(int ms) override { refreshMs = ms; }
    bool UseConfigurationStoredInHardware() const override { return useHardwareConfiguration; }
};

struct FakeLive : DppLiveSpectrum {
    std::vector<uint32_t> counts;
    int channels = 0;
    double total = 0;
    double realTime = 0;
    double liveTime = 0;
    std::string startTime;
    int replaced = 0;
    int cleared = 0;
    void ReplaceCounts(std::span<const uint32_t> c, int n, double t) override {
        counts.assign(c.begin(), c.end());
        channels = n;
        total = t;
        ++replaced;
    }
    void SetTimes(double real, double live, const std::string& start) override {
        realTime = real;
        liveTime = live;
        startTime = start;
    }
    void ClearData() override { ++cleared; }
    void Redraw() override {}
};

struct FakeWindow : DppWindow {
    bool timerRunning = false;
    int intervalMs = 0;
    bool timerFails = false;
    int choice = 1;
    int choices = 0;
    DppSelectLabels shownLabels;
    std::string gain;
    bool StartDataTimer(int ms) override {
        intervalMs = ms;
        timerRunning = !timerFails;
        return timerRunning;
    }
    void StopDataTimer() override { timerRunning = false; }
    bool DataTimerRunning() const override { return timerRunning; }
    void UpdateControls() override {}
    void ShowGain(const std::string& text) override { gain = text; }
    std::string NowText() override { return "12/10/2026 09:30:00"; }
    int ChooseDevice(const DppSelectLabels& labels) override {
        shownLabels = labels;
        ++choices;
        return choice;
    }
};

// Records the caption of every captioned message beside its text.
struct CaptionPrompt : ScriptedPrompt, CaptionedMessages {
    std::vector<std::string> captions;
    void captionedMessage(const std::string& caption, const std::string& text,
                          PromptStyle style) override {
        captions.push_back(caption);
        message(text, style);
    }
};

class DppWorld {
public:
    DppWorld();
    // DPP.CFG in the world's program folder, from `record` (channel count 1024 by default).
    void WriteDefaultConfiguration(DppConfigRecord record, int deviceType);
    // Lets the data timer fire `ticks` times at its interval.
    void RunDataTimer(int ticks);
    bool Has(const std::vector<std::string>& texts, const std::string& text) const;

    TempDir dir;
    VirtualClock clock{1'000'000};
    SimDppBus bus{clock};
    DppUsbLink link{bus, clock};
    DppDevice device;
    FakeProfile profile;
    FakeLive live;
    FakeWindow window;
    CaptionPrompt prompt;
    DppController controller;
};

} // namespace vorna::test
