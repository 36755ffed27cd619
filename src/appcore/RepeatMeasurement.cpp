#include "appcore/RepeatMeasurement.h"

#include <cmath>
#include <utility>

#include "common/DataFolders.h"
#include "common/ScratchFile.h"
#include "settings/CSProfile.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumFile.h"

namespace vorna {

RepeatMeasurement::RepeatMeasurement(CSProfile& profile, CSpectraList& spectra,
                                     RepeatDevice& device, StepScheduler schedule,
                                     UserPrompt* prompt, std::string programDirectory,
                                     std::string userDataFolder)
    : m_profile(profile), m_spectra(spectra), m_device(device), m_schedule(std::move(schedule)),
      m_prompt(prompt), m_programDirectory(std::move(programDirectory)),
      m_userDataFolder(std::move(userDataFolder)) {}

void RepeatMeasurement::OnStartStop(bool acquiring) {
    if (!acquiring || m_profile.repeatMeasEnable == 0) {
        EndSeries();
        return;
    }
    if (!m_running) {
        BeginSeries();
        m_loop = 0;
        return;
    }
    if (m_loop > m_profile.repeatMeasLoops)
        EndSeries();
}

bool RepeatMeasurement::BeginSeries() {
    if (!PrepareLogs()) {
        m_running = false;
        m_waiting = false;
        return false;
    }
    m_device.DeleteDataAndResetTime();
    if (m_device.IsDpp() && m_resolutionTest) {
        const int start = m_profile.spectrumResStartInt;
        m_resolutionStep = start >= 0 && start < kPeakingTimes ? start : 0;
        if (m_profile.repeatMeasLoops + m_resolutionStep > kPeakingTimes)
            m_profile.repeatMeasLoops = kPeakingTimes - m_resolutionStep;
        m_device.SetPeakingTime(m_resolutionStep);
        m_device.SendConfiguration();
    }
    // A header that cannot be written was reported; the series still runs.
    WriteLogHeader(LogKind(), Destination(), m_prompt);
    ++m_generation;
    m_running = true;
    m_waiting = true;
    m_device.SetWaitingForEnd(true);
    return true;
}

// The logs need a folder that takes a file of some size: the repeat folder, or the program's
// own folder the log lines fall back to.
bool RepeatMeasurement::PrepareLogs() {
    const LogDestination where = Destination();
    const std::string folder = ResolveFolder(where.directory, where.userDataFolder);
    if (IsUnsetFolder(where.directory))
        EnsureFolder(folder);
    return WriteTestAt(folder + "temp.tmp", 40000) ||
           WriteTestAt(WithTrailingSeparator(where.programDirectory) + "temp.tmp", 40000);
}

void RepeatMeasurement::Step() {
    if (!m_running)
        return;
    if (m_profile.repeatMeasEnable == 0) {
        EndSeries();
        return;
    }
    m_waiting = false; // the acquisition it waited for is over
    ++m_loop;
    if (LogKind() == DataLogKind::ResolutionTest) {
        After(kSettleMs, &RepeatMeasurement::SaveAndLogResolution);
        return;
    }
    SaveAndLog();
}

// The log line first, naming the file the spectrum is then saved to.
void RepeatMeasurement::LogAndSave(DataLogKind kind) {
    const std::string path = FileName();
    CSpectrum* live = m_spectra.At(0);
    if (!live)
        return;
    // The log's file-access message must not be shown with the live spectrum locked: a paint
    // behind the message box would wait for that lock forever. It is shown once the line is
    // written and the lock released.
    SilentPrompt held(PromptAnswer::No);
    const DppTimingText timing = m_device.Timing();
    {
        auto s = live->Lock();
        WriteLogDataLine(kind, Destination(), *s, m_spectra.Environment().settings, path, timing,
                         m_prompt ? &held : nullptr);
    }
    if (m_prompt && !held.lastMessage().empty())
        m_prompt->message(held.lastMessage(), PromptStyle::Warning);
    SaveSpectrumToPath(m_spectra.Environment(), *live, path, 0);
}

void RepeatMeasurement::SaveAndLog() {
    LogAndSave(DataLogKind::SpectrumData);
    ShowAndUpdate();
}

void RepeatMeasurement::SaveAndLogResolution() {
    LogAndSave(DataLogKind::ResolutionTest);
    ++m_resolutionStep;
    if (m_resolutionStep < m_profile.repeatMeasLoops + m_profile.spectrumResStartInt) {
        m_device.SetPeakingTime(m_resolutionStep);
        m_device.SendConfiguration();
    }
    ShowAndUpdate();
}

void RepeatMeasurement::ShowAndUpdate() {
    m_device.ShowFullRange();
    m_device.UpdateData();
    After(kSettleMs, &RepeatMeasurement::AfterDelay);
}

// The settle pause is over; now the user's delay between loops.
void RepeatMeasurement::AfterDelay() {
    const double seconds = m_profile.repeatMeasDelay;
    const int ms = seconds > 0.0 ? static_cast<int>(std::lround(seconds * 1000.0)) : 0;
    After(ms, &RepeatMeasurement::Restart);
}

void RepeatMeasurement::Restart() {
    if (m_loop >= m_profile.repeatMeasLoops) {
        Finish();
        return;
    }
    m_device.DeleteDataAndResetTime();
    After(kSettleMs, &RepeatMeasurement::StartNext);
}

// The Start command judges the series again; a start that failed has ended it, and the wait
// with it. The controller already waits when the run begins.
void RepeatMeasurement::StartNext() {
    m_waiting = true;
    m_device.SetWaitingForEnd(true);
    m_device.Start();
}

void RepeatMeasurement::EndSeries() {
    if (m_waiting)
        m_device.SetWaitingForEnd(false);
    m_running = false;
    m_waiting = false;
    m_loop = 0;
    ++m_generation;
}

void RepeatMeasurement::Finish() {
    m_profile.repeatMeasEnable = 0;
    EndSeries();
    m_resolutionStep = 0;
    m_resolutionTest = false;
}

void RepeatMeasurement::After(int ms, void (RepeatMeasurement::*action)()) {
    std::weak_ptr<int> alive = m_alive;
    const unsigned generation = m_generation;
    m_schedule(ms, [this, alive, generation, action] {
        if (!alive.expired() && generation == m_generation && m_running)
            (this->*action)();
    });
}

DataLogKind RepeatMeasurement::LogKind() const {
    return m_device.IsDpp() && m_resolutionTest ? DataLogKind::ResolutionTest
                                                : DataLogKind::SpectrumData;
}

LogDestination RepeatMeasurement::Destination() const {
    return LogDestination{m_profile.repeatMeasDirectory, m_programDirectory, m_userDataFolder};
}

std::string RepeatMeasurement::FileName() const {
    return NumberedFileName(ResolveFolder(m_profile.repeatMeasDirectory, m_userDataFolder),
                            m_profile.repeatMeasFilename, m_profile.repeatMeasLoops,
                            static_cast<unsigned long>(m_loop));
}

} // namespace vorna
