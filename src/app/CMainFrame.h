#pragma once
// The main window ("LumoWindow"): info pane left, plot above the navigation pane right,
// toolbar, status bar and the menus built from the command table. It builds the window, keeps
// the menu states current and routes commands and posted messages; the handlers live in the
// menu files.

#include <QMainWindow>
#include <deque>
#include <map>
#include <memory>

#include "app/CommandRouter.h"
#include "app/ShellContext.h"
#include "appcore/CTimeQueue.h"
#include "appcore/MenuState.h"
#include "common/MainWindowSink.h"
#include "settings/CSProfile.h"
#include "spectrum/SpectrumEnvironment.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTimer;

namespace vorna {

class CompanionInterface;
class DppSession;
class InfoPane;
class PlotPanes;
class ProgramState;
class QtDisplaySink;
class QtMainWindowSink;
class QtUserPrompt;
class RepeatMeasurementRunner;
class SpectraListWindow;
struct MenuEntry;

inline constexpr const char* kMainWindowName = "LumoWindow";
inline constexpr const char* kMainWindowCaption = " Quorix VORNA";

class CMainFrame : public QMainWindow, public WindowTimers {
    Q_OBJECT
public:
    CMainFrame(ProgramState& state, QtUserPrompt& prompt, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Runs a command by id (menus, toolbar, keys, context menus, tests).
    bool Execute(int commandId);
    QAction* Action(CommandId id) const;
    // Refreshes enabled, ticked and caption states of every action.
    void UpdateCommandStates();
    MenuContext CurrentMenuContext() const;

    // Status bar: pane 0 takes the text; pane 1 recomputes the device pane.
    void SetStatusText(int pane, const QString& text);
    QString StatusText(int pane) const;
    void SetDeviceIndicator(int which, bool on);

    // Posted events, on the UI thread.
    void HandleEvent(MainEvent& event);
    MainWindowSink& Sink();
    vorna::DisplaySink& Display();

    // Live and real time of an acquiring Kestrel, refreshed while an upload runs.
    static constexpr int kTimesTimerId = 1031;
    int StartTimer(int id, int periodMs) override;
    void StopTimer(int id) override;
    bool TimerRunning(int id) const;

    InfoPane* Info() const { return m_info; }
    SpectraListWindow* SpectraList(bool create);
    QSplitter* ColumnSplitter() const { return m_leftSplit; }
    QSplitter* RowSplitter() const { return m_topSplit; }
    QWidget* PlotPane() const { return m_plot; }
    PlotPanes& Panes() { return *m_panes; }
    RepeatMeasurementRunner& Repeat() { return *m_repeat; }
    // The DPP link; the window owns it (a Qt child). Null until the application sets it.
    void SetDpp(DppSession* session);
    DppSession* Dpp() const { return m_dpp; }
    // The companion interface: posted 0x500 commands and the companion-program commands go to
    // it. Null until the application sets it; it stays a child of the window.
    void SetCompanion(CompanionInterface* companion);
    CompanionInterface* Companion() const { return m_companion; }
    // The plot's own commands (views, ROI selection, mouse modes); false for others.
    bool RunPlotCommand(int commandId);

    // The spectra list's context row for the list commands (-1: the active spectrum).
    void SetContextRow(int row) { m_contextRow = row; }
    int ContextRow() const { return m_contextRow; }

    void RebuildRecentFileMenu();
    void RefreshPanes();
    void RefreshAcquisitionTimes();
    void CheckDeviceStillThere();
    // Status pane 1: the Kestrel's power source or battery, or the DPP's link.
    void UpdateDevicePane();
    void ApplySplitters();
    WindowPlacement Placement() const;
    // Shows the context menu "Select" at a global position.
    void ShowSelectMenu(const QPoint& globalPos);
    QMenu* BuildPopup(const struct MenuSpec& menuSpec);

    bool ShutdownDone() const { return m_shutdownDone; }

Q_SIGNALS:
    // The plot's cursor moved (absolute channel); the library window follows it.
    void CursorMoved(int absoluteChannel);

public:
    // Stops the workers and saves the profile; once.
    void Shutdown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    QAction* CaptionedCopy(QAction* action, const std::string& caption, QMenu* menu);
    void AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries);
    void BuildToolbar();
    void BuildStatusBar();
    void BuildPanes();
    void StoreSplitters();
    // A worker's message box; one at a time, in the order posted.
    void ShowWorkerMessage(MessageEvent message);

    ProgramState& m_state;
    QtUserPrompt& m_prompt;
    ShellContext m_context;
    CommandRouter m_router;
    std::map<int, QAction*> m_actions;
    std::unique_ptr<QtMainWindowSink> m_sink;
    std::unique_ptr<QtDisplaySink> m_display;
    QSplitter* m_leftSplit = nullptr;
    QSplitter* m_topSplit = nullptr;
    InfoPane* m_info = nullptr;
    std::unique_ptr<PlotPanes> m_panes;
    std::unique_ptr<RepeatMeasurementRunner> m_repeat;
    QWidget* m_plot = nullptr;
    QWidget* m_nav = nullptr;
    SpectraListWindow* m_spectraList = nullptr;
    DppSession* m_dpp = nullptr;
    CompanionInterface* m_companion = nullptr;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_pane0 = nullptr;
    QLabel* m_pane1Icon = nullptr;
    QLabel* m_pane1 = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentAnchor = nullptr;
    std::vector<QAction*> m_recentActions;
    std::map<int, QTimer*> m_timers;
    std::deque<MessageEvent> m_pendingMessages;
    bool m_showingMessage = false;
    int m_contextRow = -1;
    bool m_shutdownDone = false;
    bool m_splittersApplied = false;
};

} // namespace vorna
