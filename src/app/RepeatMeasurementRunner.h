#pragma once
// The repeated-measurement series in the running program: its waits become single-shot timers
// on the UI thread, so the window keeps working through the settle pauses and the delay between
// loops, and its device steps are the main window's own commands.
//
//   runner.AfterStartStop();     // after every Start/Stop command
//   runner.AcquisitionEnded();   // message 0x532
//   runner.SettingsChanged();    // the profile's repeat settings were edited

#include <QObject>
#include <functional>
#include <memory>

#include "appcore/RepeatMeasurement.h"

namespace vorna {

class CMainFrame;
class ProgramState;

// What a DPP adds to a series (peaking time, configuration, waiting for its data timer); the
// DPP link fills these in. Without them the series treats the device as a Kestrel.
struct RepeatDppHooks {
    std::function<void(int index)> setPeakingTime;
    std::function<void()> sendConfiguration;
    std::function<DppTimingText()> timing;
    std::function<void(bool waiting)> setWaitingForEnd;
};

class RepeatMeasurementRunner : public QObject {
public:
    RepeatMeasurementRunner(ProgramState& state, CMainFrame& frame);
    ~RepeatMeasurementRunner() override;

    // After each Start or Stop command, once the acquisition state is current.
    void AfterStartStop();
    // An acquisition the series waited for has ended.
    void AcquisitionEnded();
    // A series switched off ends now instead of restarting the device after its pending wait;
    // one switched off and on again starts afresh at the next Start.
    void SettingsChanged();

    void SetDppHooks(RepeatDppHooks hooks);
    RepeatMeasurement& Series() { return *m_series; }

private:
    class Device;

    ProgramState& m_state;
    std::unique_ptr<Device> m_device;
    std::unique_ptr<RepeatMeasurement> m_series;
};

} // namespace vorna
