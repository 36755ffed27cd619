#pragma once
// The application object: chooses where the settings live, loads the profile, starts the
// worker, builds and shows the main window, runs the start dialog, opens the file named on the
// command line and reports the device state; at the end the window stops the worker and saves
// the profile.

#include <QString>
#include <memory>

#include "appcore/ProgramState.h"
#include "common/Clock.h"

namespace vorna {

class CMainFrame;
class QtUserPrompt;

class CLumoApp {
public:
    struct Options {
        QString programDir;      // where VORNATST.INI and the companion programs are looked for
        QString commandLineFile; // empty: none
        ProfileStore* store = nullptr; // tests: their own store; else the user's settings
        Clock* clock = nullptr;        // tests: a virtual clock; else the steady clock
        bool allowStartDialog = true;
        // Take the companion interface's name on the session bus (tests that do not exercise it
        // stay off the user's bus).
        bool companionBus = true;
    };

    explicit CLumoApp(Options options);
    ~CLumoApp();

    bool InitInstance();
    // The window is gone (or going): workers stopped, profile saved; then the profile goes.
    int ExitInstance();

    const std::string& SettingsKey() const { return m_settingsKey; }
    bool DetectorIniPresent() const { return m_detectorIni; }
    ProgramState& State() { return *m_state; }
    CMainFrame* MainFrame() const { return m_frame.get(); }

private:
    void ReportDeviceState();
    void AutoConnect();
    // Takes the companion interface's bus name (the first VORNA of the user does).
    void StartCompanionInterface();
    // The "Update DPP Notice" when the profile asks for it and a DPP answered.
    void ShowDppUpdateNotice();
    AcqHooks KestrelHooks();

    Options m_options;
    std::string m_settingsKey;
    bool m_detectorIni = false;
    std::unique_ptr<ProfileStore> m_ownStore;
    SteadyClock m_steadyClock;
    std::unique_ptr<QtUserPrompt> m_prompt;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace vorna
