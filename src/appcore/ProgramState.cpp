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
    // A device type no family knows (a damaged or foreign profile) would index the device
    // tables out of range; the Kestrel family is the program's default.
    if (p.deviceType < 0 || p.deviceType > 4)
        p.deviceType = 0;
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
    m_env.prompt = &m_postingPrompt;
}

void ProgramState::SetPrompt(UserPrompt* prompt) {
    m_prompt = prompt;
    m_postingPrompt.SetUiPrompt(prompt);
    m_env.prompt = &m_postingPrompt;
}

void ProgramState::PublishSettings() {
    m_acqSettings.Publish(AcqSettingsFrom(*m_profile));
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
    m_kestrelHooks = std::move(hooks);
    if (!m_kestrelHooks.saveLiveSpectrumAs) {
        // Before a gain change clears the counts; the Save As question reaches the window
        // through the environment's prompt.
        m_kestrelHooks.saveLiveSpectrumAs = [this](CSpectrum& live) {
            return SaveSpectrum(m_env, live, true, 0) == SaveResult::Saved;
        };
    }
    ApplyDeviceType();
}

void ProgramState::ApplyDeviceType() {
    PublishSettings();
    const bool kestrel = m_profile->deviceType == 0;
    if (kestrel && !m_kestrel && m_line) {
        m_kestrel = std::make_unique<KestrelProgram>(
            *m_line, m_acqSettings, KestrelProgramPorts{m_clock, *m_list, m_mainWindow, m_prompt},
            m_kestrelHooks);
        Note("kestrel");
    } else if (!kestrel && m_kestrel) {
        StopKestrel();
        Note("kestrel stopped");
    }
}

void ProgramState::StopKestrel() {
    // Its threads end: a transfer in progress before its next chunk, a question at once.
    m_kestrel.reset();
}

bool ProgramState::DeviceConnected() const {
    if (m_profile->deviceType != 0)
        return m_dpp && m_dpp->connected() && !m_dpp->connecting();
    return m_kestrel && m_kestrel->Acq().Connected();
}

bool ProgramState::Acquiring() const {
    if (m_profile->deviceType != 0)
        return m_dpp && m_dpp->state() == DppLinkState::Acquiring;
    return m_kestrel && m_kestrel->Acq().State() == AcqState::Acquiring;
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
    if (m_kestrel) {
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
