#pragma once
// Threshold, input offset and gain tuning as a queue of timed steps: each step does its part and
// says how long to pause before the next, so the window that drives the tuner from a timer stays
// responsive while the device tunes. Waits for a device flag are steps that repeat every 100 ms
// (refreshing the status every sixth pass) until the flag comes or the limit has passed. No
// transfer is held across a pause.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vorna {

class DppUsbLink;
class UserPrompt;
struct DppDevice;

// What tuning needs of the program besides the link and the device image.
class DppTunerPorts {
public:
    virtual ~DppTunerPorts() = default;
    virtual DppUsbLink& Link() = 0;
    virtual DppDevice& Device() = 0;
    virtual int DeviceType() const = 0;
    virtual UserPrompt& Prompt() = 0;
    // "Send Hardware Configuration", or Connect when not connected.
    virtual void SendConfiguration() = 0;
    virtual void SaveDefaultConfiguration() = 0;
    virtual bool Acquiring() const = 0;
    virtual bool DeltaMode() const = 0;
    virtual void SetDeltaMode(bool on) = 0;
    // The live spectrum's counts (channels beyond its count are zero).
    virtual std::vector<double> LiveCounts() = 0;
    virtual void MarkChannel(int channel) = 0;
    virtual void DeleteDataAndResetTime() = 0;
    // The wait window "Tuning...please wait".
    virtual void ShowWaitWindow(bool shown) = 0;
    virtual void ShowTotalGain(const std::string& text, double value) = 0;
    // Profile: gain-normalised thresholds and the gain-scale flag.
    virtual bool GainScaleThresholds() const = 0;
    virtual double NormalizedSlowThreshold() const = 0;
    virtual double NormalizedFastThreshold() const = 0;
    virtual void StoreNormalizedThresholds(double slow, double fast) = 0;
};

class DppTuner {
public:
    static constexpr int kPassMs = 100;
    static constexpr int kInputOffsetLimitMs = 12000;
    static constexpr int kFastThresholdLimitMs = 5000;

    explicit DppTuner(DppTunerPorts& ports) : m_ports(ports) {}

    // Each call queues a procedure behind whatever runs; Step runs them.
    void TuneInputOffset(bool readBack);
    void TuneFastThreshold();
    void TuneSlowThreshold();
    // "Tune Slow/Fast Thresholds": only for firmware 3.11 or later, else nothing is queued.
    void TuneThresholds();
    // "Increment/Decrement Gain By Delta".
    void StepGain(bool up, double delta);

    // Runs the next step; the pause in ms before the following one, or -1 when all are done.
    int Step();
    bool busy() const { return !m_steps.empty(); }

private:
    // A step's answer: pause before the next, or repeat this step after the pause.
    struct Pause {
        int ms = 0;
        bool again = false;
    };
    using StepFn = std::function<Pause()>;
    void Then(StepFn step) { m_steps.push_back(std::move(step)); }
    void ThenPause(int ms) {
        Then([ms] { return Pause{ms}; });
    }
    // Waits for `done` at most `limitMs`; then `after(flagCame)` gives the pause that follows.
    void ThenWaitFor(std::function<bool()> done, int limitMs, std::function<int(bool)> after);
    void QueueInputOffset(bool readBack, bool* failed);
    void QueueFastThreshold(bool* failed);
    void QueueSlowFromDelta();
    void ReadInputOffsetBack();
    void Stop(const std::string& message);
    void StoreNormalized();

    DppTunerPorts& m_ports;
    std::deque<StepFn> m_steps;
    int m_passes = 0;
    bool m_deltaChanged = false;
    bool m_fastFailed = false;
    bool m_offsetFailed = false;
};

constexpr const char* kTuneInputOffsetError = "Tune input offset error.";
constexpr const char* kTuneFastThresholdError =
    "Tune fast threshold error.\nPlease remove source if present.\nSet thresholds manually if out "
    "of auto tuning range.";
constexpr const char* kStartAcquisitionFirst =
    "Please start an acquisition then remove the source before setting the thresholds.";
constexpr const char* kSlowThresholdTooHigh =
    "Slow threshold value too high. \n Please check your settings.";

} // namespace vorna
