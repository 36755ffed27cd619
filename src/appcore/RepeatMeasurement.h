#pragma once
// Repeated measurements: an acquisition restarted a set number of times, each result saved under
// a numbered file name and logged. The series is judged at every Start/Stop command and advanced
// once per finished acquisition. Its waits (the settle pauses and the delay between loops) go
// through a scheduler so the window keeps running while a series waits; tests run them at once.
//
//   RepeatMeasurement series(profile, spectra, device, schedule, prompt, programDirectory);
//   series.OnStartStop(acquiring);   // after every Start/Stop command
//   series.Step();                   // when an acquisition the series waits for has ended

#include <functional>
#include <memory>
#include <string>

#include "analysis/DataLog.h"

namespace vorna {

class CSProfile;
class CSpectraList;
class UserPrompt;

// Runs `action` once after `ms` milliseconds, on the thread that owns the series.
using StepScheduler = std::function<void(int ms, std::function<void()> action)>;

// The device commands a series needs, so the Kestrel and the DPP can both drive one.
class RepeatDevice {
public:
    virtual ~RepeatDevice() = default;
    virtual bool DeleteDataAndResetTime() = 0;
    // The Start command of the main window (it judges the series again on its own).
    virtual void Start() = 0;
    virtual void UpdateData() = 0;
    virtual void ShowFullRange() = 0;
    // The series waits for the end of the acquisition now running.
    virtual void SetWaitingForEnd(bool waiting) = 0;
    // Only a DPP runs the resolution test: peaking time by index 0..23, sending the
    // configuration, and the timing texts of its log.
    virtual bool IsDpp() const = 0;
    virtual void SetPeakingTime(int index) = 0;
    virtual void SendConfiguration() = 0;
    virtual DppTimingText Timing() const = 0;
};

class RepeatMeasurement {
public:
    static constexpr int kSettleMs = 20;
    static constexpr int kPeakingTimes = 24;

    RepeatMeasurement(CSProfile& profile, CSpectraList& spectra, RepeatDevice& device,
                      StepScheduler schedule, UserPrompt* prompt, std::string programDirectory,
                      std::string userDataFolder = UserDataFolder());
    RepeatMeasurement(const RepeatMeasurement&) = delete;
    RepeatMeasurement& operator=(const RepeatMeasurement&) = delete;

    // After each Start or Stop command, with the acquisition state as it is now.
    void OnStartStop(bool acquiring);
    // An acquisition the series waited for has ended: save, log, wait, restart or finish.
    void Step();
    // Ends a running series at once; its pending waits are dropped.
    void Stop() { EndSeries(); }

    // The Analysis page's "Spectrum Resolution Test Option" (never stored).
    void SetResolutionTestOption(bool on) { m_resolutionTest = on; }

    bool Running() const { return m_running; }
    bool Waiting() const { return m_waiting; }
    int LoopCounter() const { return m_loop; }
    int ResolutionStep() const { return m_resolutionStep; }

private:
    bool BeginSeries();
    bool PrepareLogs();
    void LogAndSave(DataLogKind kind);
    void SaveAndLog();
    void SaveAndLogResolution();
    void ShowAndUpdate();
    void AfterDelay();
    void Restart();
    void StartNext();
    void EndSeries();
    void Finish();
    // `action` after `ms`, dropped when the series ended or restarted in the meantime.
    void After(int ms, void (RepeatMeasurement::*action)());
    DataLogKind LogKind() const;
    LogDestination Destination() const;
    std::string FileName() const;

    CSProfile& m_profile;
    CSpectraList& m_spectra;
    RepeatDevice& m_device;
    StepScheduler m_schedule;
    UserPrompt* m_prompt;
    std::string m_programDirectory;
    std::string m_userDataFolder;

    bool m_running = false;
    bool m_waiting = false;
    int m_loop = 0;
    bool m_resolutionTest = false;
    int m_resolutionStep = 0;
    // Waits still pending belong to one series; a newer one (or none) makes them void.
    unsigned m_generation = 0;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace vorna
