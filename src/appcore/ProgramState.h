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
#include "appcore/KestrelProgram.h"
#include "appcore/PortRelays.h"
#include "appcore/RecentFiles.h"
#include "common/Clock.h"
#include "common/PostingPrompt.h"
#include "external/FpCompanionValues.h"
#include "kestrel/AcqSettings.h"
#include "kestrel/CAcq.h"
#include "kestrel/SerialLine.h"
#include "settings/CSProfile.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

class DppController;
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
    // The Kestrel behind `line` (a simulator or a real port). Its link, controller and workers
    // run while the profile's device type is 0; the hooks may reach the window once it exists.
    void StartKestrel(std::unique_ptr<SerialLine> line, AcqHooks hooks);
    // After the device type changed: the Kestrel stack starts or stops to match it.
    void ApplyDeviceType();
    // The UI thread publishes the profile values the workers read.
    void PublishSettings();
    // With the window: the live spectrum at position 0, the template and the library.
    void CreateLiveSpectrum();
    void LoadStartupFiles();
    // The window is going: the worker ends, the profile is saved when "save_on_exit" is set.
    void Shutdown(const WindowPlacement* placement);

    // Each start-up and shutdown step in the order it ran ("profile", "workers", ...).
    const std::vector<std::string>& Journal() const { return m_journal; }
    void Note(std::string step) { m_journal.push_back(std::move(step)); }

    // The window's prompt (UI thread). Core code reaches it through a posting prompt, so a
    // worker that must tell the user something never builds a window.
    void SetPrompt(UserPrompt* prompt);
    UserPrompt* Prompt() const { return m_prompt; }
    UserPrompt& AnyThreadPrompt() { return m_postingPrompt; }

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
    // What the companion analysis program told about itself.
    FpCompanionValues& Companion() { return m_companion; }

    // The Kestrel controller, or nullptr while no Kestrel stack runs.
    CAcq* Acq() { return m_kestrel ? &m_kestrel->Acq() : nullptr; }
    KestrelProgram* Kestrel() { return m_kestrel.get(); }
    // What the Kestrel talks through (a simulator or a real port); null before StartKestrel.
    SerialLine* Line() { return m_line.get(); }
    std::atomic<bool>& QuitFlag() { return m_quit; }

    // The device of the profile's type: the Kestrel controller, or the DPP controller once the
    // window has set it.
    bool DeviceConnected() const;
    bool Acquiring() const;
    void SetDppController(const DppController* controller) { m_dpp = controller; }
    const DppController* Dpp() const { return m_dpp; }

    // The plot's visible absolute range, set by the UI thread, read by the upload worker.
    void SetVisibleRange(int first, int last) {
        m_visibleFirst = first;
        m_visibleLast = last;
    }
    std::pair<int, int> VisibleRange() const {
        return {m_visibleFirst.load(), m_visibleLast.load()};
    }

    // Refreshes the environment after the profile changed.
    void ApplyProfileToEnvironment();

private:
    void ApplyDeviceTypeRules();
    void StopKestrel();

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
    std::atomic<bool> m_quit{false};
    std::atomic<int> m_visibleFirst{0};
    std::atomic<int> m_visibleLast{16383};
    PostingPrompt m_postingPrompt{m_mainWindow, &m_quit};
    PublishedAcqSettings m_acqSettings{m_mainWindow};
    // Declared in build order: the stack goes before the line it talks through.
    std::unique_ptr<SerialLine> m_line;
    AcqHooks m_kestrelHooks;
    std::unique_ptr<KestrelProgram> m_kestrel;
    const DppController* m_dpp = nullptr;
    FpCompanionValues m_companion;
    std::vector<std::string> m_journal;
};

} // namespace vorna
