#pragma once
// Everything the program shares at run time, owned in one place: the profile, the recent files,
// the spectra list with its environment, the element library, the time queue and the update
// worker. A test builds its own with a memory profile store and a virtual clock.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/ElementLibrary.h"
#include "appcore/CTimeQueue.h"
#include "appcore/CUpdateThread.h"
#include "appcore/PortRelays.h"
#include "appcore/RecentFiles.h"
#include "common/Clock.h"
#include "settings/CSProfile.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

class UserPrompt;

// The DPP preset mode that means "no preset".
inline constexpr int kPresetModeNone = 3;

class ProgramState {
public:
    ProgramState(ProfileStore& store, Clock& clock, ScreenSize screen);
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    // Start-up before the window: recent files, the profile, the device-type rules, the
    // environment of the spectra.
    void LoadProfile();
    // Starts the update worker; `redraw` runs on the worker after each batch.
    void StartWorkers(std::function<void()> redraw);
    // With the window: the live spectrum at position 0, the template and the library.
    void CreateLiveSpectrum();
    void LoadStartupFiles();
    // The window is going: the worker ends, the profile is saved when "save_on_exit" is set.
    void Shutdown(const WindowPlacement* placement);

    // Each start-up and shutdown step in the order it ran ("profile", "workers", ...).
    const std::vector<std::string>& Journal() const { return m_journal; }
    void Note(std::string step) { m_journal.push_back(std::move(step)); }

    void SetPrompt(UserPrompt* prompt);
    UserPrompt* Prompt() const { return m_prompt; }

    ProfileStore& Store() { return m_store; }
    Clock& GetClock() { return m_clock; }
    CSProfile& Profile() { return *m_profile; }
    RecentFiles& Recent() { return m_recent; }
    CSpectraList& Spectra() { return *m_list; }
    SpectrumEnvironment& Environment() { return m_env; }
    ElementLibrary& Library() { return m_library; }
    CTimeQueue& TimeQueue() { return m_queue; }
    MainWindowRelay& MainWindow() { return m_mainWindow; }
    WindowTimersRelay& Timers() { return m_timers; }
    DisplayRelay& Display() { return m_display; }
    CUpdateThread* UpdateThread() { return m_update.get(); }

    // Device state until the device links exist: nothing is ever connected.
    bool DeviceConnected() const { return false; }
    bool Acquiring() const { return false; }

    // Refreshes the environment after the profile changed.
    void ApplyProfileToEnvironment();

private:
    void ApplyDeviceTypeRules();

    ProfileStore& m_store;
    Clock& m_clock;
    std::unique_ptr<CSProfile> m_profile;
    RecentFiles m_recent;
    UserPrompt* m_prompt = nullptr;
    MainWindowRelay m_mainWindow;
    WindowTimersRelay m_timers;
    DisplayRelay m_display;
    SpectrumEnvironment m_env;
    std::unique_ptr<CSpectraList> m_list;
    ElementLibrary m_library;
    CTimeQueue m_queue;
    std::unique_ptr<CUpdateThread> m_update;
    std::vector<std::string> m_journal;
};

} // namespace vorna
