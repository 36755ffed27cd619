#include "appcore/ProgramState.h"

#include <stdexcept>

#include "analysis/RoiStatistics.h"
#include "dpp/DppController.h"
#include "spectrum/SpectrumFile.h"

namespace vorna {

namespace {
constexpr int kLiveGain = 6; // 16384 channels
}

ProgramState::ProgramState(ProfileStore& store, Clock& clock, ScreenSize screen)
    : m_store(store), m_clock(clock), m_profile(std::make_unique<CSProfile>(store, screen)),
      m_recent(store), m_queue(clock, m_timers, m_mainWindow) {
    m_env.display = &m_display;
    // Totals bring every ROI's statistics up to date.
    m_env.recomputeRoiStatistics = RecomputeAllRoiStatistics;
    m_list = std::make_unique<CSpectraList>(m_env);
}

ProgramState::~ProgramState() {
    StopKestrel();
    if (m_update)
        m_update->Stop();
    // Spectra go before the worker object: it reads the list until it has stopped.
    m_list.reset();
    m_update.reset();
}

void ProgramState::LoadProfile() {
    m_recent.Load();
    Note("recent files");
    m_profile->Load();
    Note("profile");
    ApplyDeviceTypeRules();
    Note("device rules");
    ApplyProfileToEnvironment();
}

void ProgramState::ApplyDeviceTypeRules() {
    CSProfile& p = *m_profile;
    if (p.deviceType != 0) {
        // A DPP has no MCS mode and no software presets.
        p.acquireMode = 0;
        p.presetMode = kPresetModeNone;
        p.spTotalCts = 0;
        p.spChanCts = 0;
        p.spChanPosition = 0;
    } else if (p.absolutePeak < 0 || p.absolutePeak > 1) {
        p.absolutePeak = 0;
    }
}

void ProgramState::ApplyProfileToEnvironment() {
    m_profile->FillEnvironment(m_env);
    m_env.prompt = m_prompt;
}

void ProgramState::SetPrompt(UserPrompt* prompt) {
    m_prompt = prompt;
    m_env.prompt = prompt;
}

void ProgramState::StartWorkers(std::function<void()> redraw) {
    m_update = std::make_unique<CUpdateThread>(*m_list, std::move(redraw));
    m_env.updateSignal = m_update.get();
    Note("workers");
}

void ProgramState::StartKestrel(std::unique_ptr<SerialLine> line, AcqHooks hooks) {
    // The controller asks its questions through the prompt, so it must be set first.
    if (!m_prompt)
        throw std::logic_error("StartKestrel before SetPrompt");
    m_line = std::move(line);
    m_link = std::make_unique<KestrelLink>(*m_line, m_clock);
    hooks.quit = &m_quit;
    if (!hooks.wakeUploadWorker) {
        // The worker does not exist yet when the controller is built; wake it once it does.
        hooks.wakeUploadWorker = [this] {
            if (m_upload)
                m_upload->Signal();
        };
    }
    m_acq = std::make_unique<CAcq>(*m_link, m_clock, *m_profile, *m_list, *m_prompt, m_mainWindow,
                                   std::move(hooks));
    m_upload = std::make_unique<CUploadThread>(*m_acq, *m_profile, m_clock, m_quit);
    Note("kestrel");
}

void ProgramState::StopKestrel() {
    // Sets the quit flag: a transfer in progress ends before its next chunk.
    m_upload.reset();
}

bool ProgramState::DeviceConnected() const {
    if (m_profile->deviceType != 0)
        return m_dpp && m_dpp->connected() && !m_dpp->connecting();
    return m_acq && m_acq->Connected();
}

bool ProgramState::Acquiring() const {
    if (m_profile->deviceType != 0)
        return m_dpp && m_dpp->state() == DppLinkState::Acquiring;
    return m_acq && m_acq->State() == AcqState::Acquiring;
}

void ProgramState::CreateLiveSpectrum() {
    auto live = std::make_unique<CSpectrum>(m_env.slots, 0);
    live->m_nGain = kLiveGain;
    m_list->Add(live, true);
    Note("live spectrum");
}

void ProgramState::LoadStartupFiles() {
    const CSProfile& p = *m_profile;
    if (p.loadCalibration || p.loadRoi) {
        TemplateOptions options{p.loadCalibration != 0, p.loadRoi != 0, p.spectrumTemplateFile};
        RecallTemplate(*m_list, options);
    }
    AutoLoadLibrary(m_library, {p.libraryAutoload != 0, p.libraryDirectory, p.libraryFile},
                    m_prompt);
    Note("template and library");
}

void ProgramState::Shutdown(const WindowPlacement* placement) {
    if (m_upload) {
        StopKestrel();
        Note("upload worker stopped");
    }
    if (m_update) {
        m_update->Stop();
        m_env.updateSignal = nullptr;
    }
    Note("workers stopped");
    if (m_profile->saveOnExit) {
        m_profile->Save(placement);
        Note("profile saved");
    }
}

} // namespace vorna
