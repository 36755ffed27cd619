#include "app/RepeatMeasurementRunner.h"

#include <QCoreApplication>
#include <QTimer>

#include "app/CMainFrame.h"
#include "app/TextConvert.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"

namespace vorna {

// The series' device steps are the main window's MCA commands, so each device type takes its
// own path; only the wait for the end of a run and the DPP's extras are reached directly.
class RepeatMeasurementRunner::Device : public RepeatDevice {
public:
    Device(ProgramState& state, CMainFrame& frame) : m_state(state), m_frame(frame) {}

    bool DeleteDataAndResetTime() override {
        return m_frame.Execute(ToInt(CommandId::DeleteDataAndResetTime));
    }
    void Start() override { m_frame.Execute(ToInt(CommandId::StartAcquisition)); }
    void UpdateData() override { m_frame.Execute(ToInt(CommandId::UpdateData)); }
    void ShowFullRange() override { m_state.Display().ResetPlotToFullRange(); }
    void SetWaitingForEnd(bool waiting) override {
        if (IsDppType()) {
            if (dpp.setWaitingForEnd)
                dpp.setWaitingForEnd(waiting);
        } else if (CAcq* acq = m_state.Acq()) {
            acq->SetWaitingForEnd(waiting);
        }
    }
    bool IsDpp() const override { return IsDppType() && dpp.setPeakingTime; }
    void SetPeakingTime(int index) override {
        if (dpp.setPeakingTime)
            dpp.setPeakingTime(index);
    }
    void SendConfiguration() override {
        if (dpp.sendConfiguration)
            dpp.sendConfiguration();
    }
    DppTimingText Timing() const override { return dpp.timing ? dpp.timing() : DppTimingText{}; }

    RepeatDppHooks dpp;

private:
    bool IsDppType() const { return m_state.Profile().deviceType != 0; }

    ProgramState& m_state;
    CMainFrame& m_frame;
};

RepeatMeasurementRunner::RepeatMeasurementRunner(ProgramState& state, CMainFrame& frame)
    : m_state(state), m_device(std::make_unique<Device>(state, frame)) {
    // Waits tied to the runner die with it, so none outlives the series.
    StepScheduler schedule = [this](int ms, std::function<void()> action) {
        QTimer::singleShot(ms, this, std::move(action));
    };
    const std::string programDir = PathToCore(QCoreApplication::applicationDirPath()) + "/";
    m_series = std::make_unique<RepeatMeasurement>(state.Profile(), state.Spectra(), *m_device,
                                                   std::move(schedule), state.Prompt(), programDir);
}

RepeatMeasurementRunner::~RepeatMeasurementRunner() = default;

void RepeatMeasurementRunner::AfterStartStop() {
    m_series->OnStartStop(m_state.Acquiring());
}

void RepeatMeasurementRunner::AcquisitionEnded() {
    m_series->Step();
}

void RepeatMeasurementRunner::SettingsChanged() {
    if (m_series->Running() && m_state.Profile().repeatMeasEnable == 0)
        m_series->Stop();
}

void RepeatMeasurementRunner::SetDppHooks(RepeatDppHooks hooks) {
    m_device->dpp = std::move(hooks);
}

} // namespace vorna
