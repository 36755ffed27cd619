#include "app/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/DppSession.h"
#include "app/InfoPane.h"
#include "app/PlotPanes.h"
#include "app/QtDisplaySink.h"
#include "app/QtMainWindowSink.h"
#include "app/QtUserPrompt.h"
#include "app/RepeatMeasurementRunner.h"
#include "app/SpectraListWindow.h"
#include "app/TextConvert.h"
#include "app/ToolbarIcons.h"
#include "app/companion/CompanionInterface.h"
#include "appcore/CommandTable.h"
#include "appcore/ProgramState.h"
#include "appcore/SpectraListRows.h"
#include "appcore/WindowPlacement.h"
#include "common/NumberText.h"
#include "display/CPlot.h"
#include "display/PlotDisplaySink.h"
#include "dpp/DppModels.h"
#include "spectrum/SpectrumFile.h"

namespace vorna {

namespace {
// Label and value columns of the info pane with room for a long value, in characters.
constexpr int kInfoNaturalChars = 30;
} // namespace

CMainFrame::CMainFrame(ProgramState& state, QtUserPrompt& prompt, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_prompt(prompt), m_context{state, *this, prompt} {
    setObjectName(QString::fromLatin1(kMainWindowName));
    setWindowTitle(QString::fromLatin1(kMainWindowCaption));
    setWindowIcon(ProgramIcon());
    m_sink = std::make_unique<QtMainWindowSink>(this, [this](MainEvent& e) { HandleEvent(e); });
    DisplayTargets targets;
    targets.redrawRange = [this](int a, int b) { m_panes->Sink().RedrawAbsoluteRange(a, b); };
    targets.redrawPlot = [this] { m_panes->Sink().RedrawPlot(); };
    targets.refreshInfo = [this] { m_info->Refresh(); };
    targets.refreshSpectraList = [this] {
        if (m_spectraList)
            m_spectraList->Refresh();
        UpdateCommandStates();
    };
    targets.resetFullRange = [this] { m_panes->Sink().ResetPlotToFullRange(); };
    targets.activated = [this](const std::string& title) {
        setWindowTitle(FromCore(title));
        m_panes->Model().UnitsChanged();
        RefreshPanes();
    };
    m_display = std::make_unique<QtDisplaySink>(this, std::move(targets));

    BuildPanes();
    m_repeat = std::make_unique<RepeatMeasurementRunner>(state, *this);
    RegisterFileCommands(m_router, m_context);
    RegisterViewCommands(m_router, m_context);
    RegisterAnalyzeCommands(m_router, m_context);
    RegisterRoiCommands(m_router, m_context);
    RegisterDeviceCommands(m_router, m_context);
    RegisterHelpCommands(m_router, m_context);
    RegisterPreferencesCommands(m_router, m_context);
    RegisterCalibrationCommands(m_router, m_context);
    RegisterPropertiesCommands(m_router, m_context);
    BuildActions();
    BuildMenus();
    BuildToolbar();
    BuildStatusBar();

    const CSProfile& p = state.Profile();
    const QSize screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableSize()
                             : QSize(1280, 1024);
    const PixelRect r =
        MainWindowRect({p.placementLeft, p.placementTop, p.placementRight, p.placementBottom},
                       ScreenSize{screen.width(), screen.height()});
    setGeometry(r.left, r.top, r.Width(), r.Height());

    state.MainWindow().Attach(m_sink.get());
    state.Timers().Attach(this);
    state.Display().Attach(m_display.get());
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
    Shutdown();
}

void CMainFrame::BuildPanes() {
    m_leftSplit = new QSplitter(Qt::Horizontal, this);
    m_leftSplit->setObjectName("left_split");
    // In a window too low for all its rows the info pane scrolls instead of cutting them off.
    auto* infoArea = new QScrollArea(m_leftSplit);
    infoArea->setObjectName("InfoPaneArea");
    infoArea->setWidgetResizable(true);
    infoArea->setFrameShape(QFrame::NoFrame);
    infoArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_info = new InfoPane(m_state);
    infoArea->setWidget(m_info);
    m_topSplit = new QSplitter(Qt::Vertical, m_leftSplit);
    m_topSplit->setObjectName("top_split");
    PlotPanes::Hooks hooks;
    hooks.command = [this](int id) { Execute(id); };
    hooks.keyCommand = [this](int id) { RunPlotKeyCommand(m_context, id); };
    hooks.refreshInfo = [this] { m_info->Refresh(); };
    hooks.context = [this](const QPoint& p) { ShowSelectMenu(p); };
    hooks.cursorMoved = [this](int absolute) {
        m_display->SetCursor(absolute);
        Q_EMIT CursorMoved(absolute);
    };
    hooks.autoCalibrate = [this] { RunAutoCalibration(m_context); };
    hooks.thresholdAtCursor = [this](int channel) { SetThresholdAtCursor(m_context, channel); };
    m_panes = std::make_unique<PlotPanes>(m_state, m_prompt, m_topSplit, std::move(hooks));
    m_plot = m_panes->Plot();
    m_nav = m_panes->Navigation();
    m_topSplit->addWidget(m_plot);
    m_topSplit->addWidget(m_nav);
    m_leftSplit->setChildrenCollapsible(false);
    m_topSplit->setChildrenCollapsible(false);
    infoArea->setMinimumWidth(kMinimumSplit);
    m_plot->setMinimumHeight(kMinimumSplit);
    setCentralWidget(m_leftSplit);
    connect(m_leftSplit, &QSplitter::splitterMoved, this, [this] { StoreSplitters(); });
    connect(m_topSplit, &QSplitter::splitterMoved, this, [this] { StoreSplitters(); });
    // The plot and the navigation pane ask for the "Select" menu themselves.
    m_info->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_info, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { ShowSelectMenu(m_info->mapToGlobal(p)); });
}

void CMainFrame::BuildActions() {
    for (const CommandSpec& c : Commands()) {
        auto* action = new QAction(QString::fromLatin1(c.caption), this);
        action->setObjectName(QString::number(ToInt(c.id)));
        action->setData(ToInt(c.id));
        action->setStatusTip(PlainCaption(c.caption));
        action->setToolTip(PlainCaption(c.caption));
        const QIcon icon = CommandIcon(c.id);
        if (!icon.isNull())
            action->setIcon(icon);
        if (*c.accelerator) {
            action->setShortcut(QKeySequence(QString::fromLatin1(c.accelerator)));
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action); // keys work while the menus are closed
        }
        const int id = ToInt(c.id);
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        m_actions[id] = action;
    }
}

void CMainFrame::AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& e : entries) {
        switch (e.kind) {
        case MenuEntry::Kind::Command:
            if (e.caption.empty())
                menu->addAction(Action(e.id));
            else
                menu->addAction(CaptionedCopy(Action(e.id), e.caption, menu));
            break;
        case MenuEntry::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuEntry::Kind::SubMenu:
            AddEntries(menu->addMenu(QString::fromStdString(e.caption)), e.children);
            break;
        case MenuEntry::Kind::RecentFiles:
            m_fileMenu = menu;
            m_recentAnchor = menu->addSeparator();
            break;
        }
    }
}

// A menu entry with a caption of its own: the command's action under another text. Pop-up
// menus are built after the command states are updated, so the copy starts out current.
QAction* CMainFrame::CaptionedCopy(QAction* action, const std::string& caption, QMenu* menu) {
    auto* copy = new QAction(action->icon(), QString::fromStdString(caption), menu);
    copy->setEnabled(action->isEnabled());
    copy->setCheckable(action->isCheckable());
    copy->setChecked(action->isChecked());
    copy->setData(action->data());
    connect(copy, &QAction::triggered, action, &QAction::trigger);
    return copy;
}

void CMainFrame::BuildMenus() {
    for (const MenuSpec& menuSpec : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromStdString(menuSpec.caption));
        AddEntries(menu, menuSpec.entries);
        connect(menu, &QMenu::aboutToShow, this, [this] {
            CheckDeviceStillThere();
            UpdateCommandStates();
        });
    }
    RebuildRecentFileMenu();
}

QMenu* CMainFrame::BuildPopup(const MenuSpec& menuSpec) {
    auto* menu = new QMenu(QString::fromStdString(menuSpec.caption), this);
    AddEntries(menu, menuSpec.entries);
    return menu;
}

void CMainFrame::ShowSelectMenu(const QPoint& globalPos) {
    UpdateCommandStates();
    std::unique_ptr<QMenu> menu(BuildPopup(SelectContextMenu()));
    menu->exec(globalPos);
}

void CMainFrame::BuildToolbar() {
    m_toolbar = addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setObjectName("toolbar");
    m_toolbar->setIconSize(QSize(20, 20));
    for (const MenuEntry& e : ToolbarButtons()) {
        if (e.kind == MenuEntry::Kind::Separator)
            m_toolbar->addSeparator();
        else
            m_toolbar->addAction(Action(e.id));
    }
    // The Flare controller is offered only when its program is installed beside ours.
    const QString flare = QCoreApplication::applicationDirPath() + "/FlareCtrl.exe";
    if (!QFileInfo::exists(flare)) {
        QAction* a = Action(CommandId::FlareController);
        m_toolbar->removeAction(a);
        for (QMenu* menu : menuBar()->findChildren<QMenu*>())
            menu->removeAction(a);
    }
}

void CMainFrame::BuildStatusBar() {
    m_pane0 = new QLabel(this);
    m_pane0->setObjectName("pane0");
    m_pane1Icon = new QLabel(this);
    m_pane1 = new QLabel(this);
    m_pane1->setObjectName("pane1");
    m_pane1->setMinimumWidth(16 * fontMetrics().averageCharWidth());
    statusBar()->addWidget(m_pane0, 1);
    statusBar()->addPermanentWidget(m_pane1Icon);
    statusBar()->addPermanentWidget(m_pane1);
    UpdateDevicePane();
}

QAction* CMainFrame::Action(CommandId id) const {
    auto it = m_actions.find(ToInt(id));
    return it == m_actions.end() ? nullptr : it->second;
}

bool CMainFrame::RunPlotCommand(int commandId) {
    const bool done = m_panes->RunCommand(commandId);
    if (done)
        RefreshPanes();
    return done;
}

bool CMainFrame::Execute(int commandId) {
    const bool handled = m_router.Execute(commandId);
    // Whatever the command changed in the profile, the workers read from now on.
    m_state.PublishSettings();
    m_contextRow = -1;
    UpdateCommandStates();
    return handled;
}

MenuContext CMainFrame::CurrentMenuContext() const {
    MenuContext c;
    const CSProfile& p = m_state.Profile();
    c.deviceType = p.deviceType;
    c.comPort = p.comPort;
    c.connected = m_state.DeviceConnected();
    c.acquiring = m_state.Acquiring();
    if (const CAcq* acq = m_state.Acq())
        c.statusValid = acq->StatusValid();
    CSpectraList& list = m_state.Spectra();
    auto guard = list.Lock();
    c.spectraCount = list.GetCount();
    c.activePosition = list.GetActivePosition();
    c.selectedPosition = m_contextRow >= 0 ? m_contextRow : c.activePosition;
    if (const CSpectrum* s = list.At(c.selectedPosition)) {
        c.selectedHasFile = !s->m_strFileName.empty();
        c.selectedHidden = s->m_bHidden != 0;
        c.selectedHasRois = s->m_roi.GetCount() > 0;
    }
    if (const CSpectrum* a = list.GetActive())
        c.activeHasRois = a->m_roi.GetCount() > 0;
    c.libraryLoaded = m_state.Library().IsLoaded();
    c.startDialogEnabled = p.startDlgShow != 0;
    c.scaleType = p.scaleType;
    c.calibrateEnable = p.calibrateEnable != 0;
    c.showRoi = p.showRoi != 0;
    c.showAllRoi = p.showAllRoi != 0;
    c.toolbarVisible = m_toolbar ? m_toolbar->isVisible() || !isVisible() : true;
    c.statusBarVisible = statusBar()->isVisible() || !isVisible();
    c.flarePresent = QFileInfo::exists(QCoreApplication::applicationDirPath() + "/FlareCtrl.exe");
    return c;
}

void CMainFrame::UpdateCommandStates() {
    const MenuContext context = CurrentMenuContext();
    for (auto& [id, action] : m_actions) {
        const CommandState s = StateOf(static_cast<CommandId>(id), context);
        action->setEnabled(s.enabled);
        action->setCheckable(s.checkable);
        if (s.checkable)
            action->setChecked(s.checked);
        if (!s.caption.empty())
            action->setText(QString::fromStdString(s.caption));
    }
    // The mouse modes are the plot's state.
    const CPlot& plot = m_panes->Model();
    for (auto [id, mode] : {std::pair{CommandId::SelectView, MouseMode::SelectView},
                            std::pair{CommandId::EditRoi, MouseMode::EditRoi}}) {
        QAction* a = Action(id);
        a->setCheckable(true);
        a->setChecked(plot.Mode() == mode && !(mode == MouseMode::EditRoi && plot.IsDragging()));
    }
}

void CMainFrame::SetStatusText(int pane, const QString& text) {
    if (pane == 0)
        m_pane0->setText(text);
    else if (pane == 1)
        UpdateDevicePane();
}

QString CMainFrame::StatusText(int pane) const {
    return pane == 0 ? m_pane0->text() : m_pane1->text();
}

void CMainFrame::UpdateDevicePane() {
    const bool dpp = m_state.Profile().deviceType != 0;
    CAcq* acq = m_state.Acq();
    // From the last status the worker read: the window never waits for the analyzer.
    const DevicePane pane = dpp   ? DppDevicePane(m_state.DeviceConnected())
                            : acq ? acq->CachedDevicePane()
                                  : KestrelDevicePane(false, -1);
    m_pane1->setText(QString::fromStdString(pane.text));
    m_pane1Icon->setPixmap(DevicePaneIcon(pane.icon).pixmap(16, 16));
}

void CMainFrame::SetDeviceIndicator(int which, bool on) {
    if (which == 1) {
        Action(CommandId::Connect)->setIcon(ConnectIcon(on));
        if (!on)
            Action(CommandId::StartAcquisition)->setIcon(AcquisitionIcon(false));
    } else {
        Action(CommandId::StartAcquisition)->setIcon(AcquisitionIcon(on));
    }
    UpdateCommandStates();
}

MainWindowSink& CMainFrame::Sink() {
    return *m_sink;
}
DisplaySink& CMainFrame::Display() {
    return *m_display;
}

void CMainFrame::CheckDeviceStillThere() {
    // A Kestrel unplugged since the last command: the menus then offer Connect again. The
    // battery request runs on the command thread; the menu opens at once with what is known.
    KestrelProgram* kestrel = m_state.Kestrel();
    if (m_state.Profile().deviceType != 0 || !kestrel || !kestrel->Acq().Connected() ||
        kestrel->Busy())
        return;
    kestrel->Run([](CAcq& a) { a.CheckStillConnected(); }, [this] { UpdateDevicePane(); });
}

void CMainFrame::RefreshAcquisitionTimes() {
    // Never wait here for the link an upload holds: the worker reads them between chunks.
    if (CAcq* acq = m_state.Acq(); acq && acq->Connected())
        acq->RequestTimesRead();
}

int CMainFrame::StartTimer(int id, int periodMs) {
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (id == CTimeQueue::kTimerId)
                m_state.TimeQueue().Process();
            else if (id == kTimesTimerId)
                RefreshAcquisitionTimes();
        });
    }
    timer->start(periodMs);
    return id;
}

void CMainFrame::StopTimer(int id) {
    auto it = m_timers.find(id);
    if (it != m_timers.end() && it->second)
        it->second->stop();
}

bool CMainFrame::TimerRunning(int id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second && it->second->isActive();
}

void CMainFrame::SetDpp(DppSession* session) {
    m_dpp = session;
    if (!session) {
        m_info->SetDppSource({});
        m_repeat->SetDppHooks({});
        return;
    }
    m_info->SetDppSource([session] { return session->LiveInfo(); });
    RepeatDppHooks hooks;
    hooks.setPeakingTime = [session](int index) { session->SetPeakingTimeIndex(index); };
    hooks.sendConfiguration = [session] { session->SendHardwareConfiguration(); };
    hooks.timing = [session] {
        const DppConfigRecord& c = session->Device().config;
        const bool fast = session->Device().status.FastClock();
        DppTimingText t;
        t.peakingTime = Format("%.1fuS", PeakingTimeUs(c.Rise, c.Avg, fast));
        t.flatTop = FlatTopText(c.FlatTop, c.Avg, fast);
        return t;
    };
    hooks.setWaitingForEnd = [session](bool waiting) { session->SetWaitingForEnd(waiting); };
    m_repeat->SetDppHooks(std::move(hooks));
    UpdateDevicePane();
    UpdateCommandStates();
}

void CMainFrame::SetCompanion(CompanionInterface* companion) {
    m_companion = companion;
    if (!companion)
        return;
    m_router.Register(ToInt(CommandId::FundamentalParameters),
                      [companion] { companion->ShowElemix(); });
    m_router.Register(ToInt(CommandId::FlareController), [this, companion] {
        // Without the program beside ours the command is gone from menu and toolbar.
        if (CurrentMenuContext().flarePresent)
            companion->ShowFlareController();
    });
}

SpectraListWindow* CMainFrame::SpectraList(bool create) {
    if (!m_spectraList && create) {
        m_spectraList = new SpectraListWindow(m_state, *this);
        connect(m_spectraList, &QObject::destroyed, this, [this] { m_spectraList = nullptr; });
    }
    return m_spectraList;
}

void CMainFrame::RebuildRecentFileMenu() {
    if (!m_fileMenu)
        return;
    for (QAction* a : m_recentActions) {
        m_fileMenu->removeAction(a);
        delete a;
    }
    m_recentActions.clear();
    const auto& entries = m_state.Recent().Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const int id = ToInt(CommandId::RecentFile1) + static_cast<int>(i);
        auto* a =
            new QAction(PathFromCore(RecentFiles::MenuText(static_cast<int>(i), entries[i])), this);
        a->setData(id);
        a->setObjectName(QString::number(id));
        connect(a, &QAction::triggered, this, [this, id] { Execute(id); });
        m_fileMenu->insertAction(m_recentAnchor, a);
        m_recentActions.push_back(a);
    }
}

void CMainFrame::RefreshPanes() {
    m_info->Refresh();
    m_panes->Model().Invalidate();
    m_nav->update();
    if (m_spectraList)
        m_spectraList->Refresh();
    RebuildRecentFileMenu();
    UpdateCommandStates();
}

void CMainFrame::ApplySplitters() {
    const CSProfile& p = m_state.Profile();
    const int width = m_leftSplit->width();
    const int height = m_topSplit->height();
    int info = ClampSplit(p.leftSplit, width);
    // A stored column wider than half the window would squeeze the plot: the pane then takes
    // the width its texts need.
    if (info > std::max(kMinimumSplit, width / 2))
        info = ClampSplit(kInfoNaturalChars * m_info->fontMetrics().averageCharWidth(), width);
    const int plot = ClampSplit(p.topSplit, height);
    // The handles take their pixels from the panes' share.
    m_leftSplit->setSizes({info, std::max(0, width - info - m_leftSplit->handleWidth())});
    m_topSplit->setSizes({plot, std::max(0, height - plot - m_topSplit->handleWidth())});
    m_splittersApplied = true;
}

void CMainFrame::StoreSplitters() {
    CSProfile& p = m_state.Profile();
    p.leftSplit = m_leftSplit->sizes().value(0);
    p.topSplit = m_topSplit->sizes().value(0);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!m_splittersApplied && isVisible())
        ApplySplitters();
    else if (m_splittersApplied)
        StoreSplitters();
}

WindowPlacement CMainFrame::Placement() const {
    WindowPlacement w;
    const QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
    w.showCmd = isMaximized() ? 3 : (isMinimized() ? 2 : 1);
    w.left = r.left();
    w.top = r.top();
    w.right = r.right() + 1;
    w.bottom = r.bottom() + 1;
    return w;
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_plot->setFocus();
}

void CMainFrame::Shutdown() {
    if (m_shutdownDone)
        return;
    m_shutdownDone = true;
    const WindowPlacement placement = Placement();
    m_state.Shutdown(&placement);
    m_state.MainWindow().Attach(nullptr);
    m_state.Display().Attach(nullptr);
    m_state.Timers().Attach(nullptr);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Windows store their places as they close, so they close before the profile is saved.
    if (m_spectraList)
        m_spectraList->close();
    for (QDialog* dialog : findChildren<QDialog*>())
        if (dialog->isVisible() && !dialog->isModal())
            dialog->close();
    Shutdown();
    event->accept();
}

} // namespace vorna
