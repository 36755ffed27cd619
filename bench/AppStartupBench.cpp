// Start-up to a shown main window with the example spectrum open, offscreen, beside its limit:
// creating and showing a bare main window with a menu bar, status bar and three panes, the
// least any window of this shape costs. Process start and library loading are measured
// separately (docs/PERFORMANCE.md).

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>

#include <benchmark/benchmark.h>

#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "settings/MemoryProfileStore.h"

using namespace vorna;

namespace {

void StartupToShownWindow(benchmark::State& state) {
    for (auto _ : state) {
        MemoryProfileStore store;
        store.WriteInt("Standard", "start_dlg_show", 0);
        store.WriteInt("Standard", "save_on_exit", 0);
        CLumoApp::Options o;
        o.programDir = QCoreApplication::applicationDirPath();
        o.commandLineFile = QStringLiteral(VORNA_SOURCE_DIR "/examples/fe55.mca");
        o.store = &store;
        CLumoApp app(o);
        app.InitInstance();
        QCoreApplication::processEvents(); // the posted open and status messages
        benchmark::DoNotOptimize(app.MainFrame()->isVisible());
        app.ExitInstance();
    }
}
BENCHMARK(StartupToShownWindow)->Unit(benchmark::kMillisecond);

void LimitBareWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        QMainWindow window;
        window.menuBar()->addMenu(QStringLiteral("&File"));
        auto* split = new QSplitter(&window);
        split->addWidget(new QLabel(QStringLiteral("info")));
        split->addWidget(new QLabel(QStringLiteral("plot")));
        window.setCentralWidget(split);
        window.statusBar()->showMessage(QStringLiteral("ready"));
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(LimitBareWindowShown)->Unit(benchmark::kMillisecond);

} // namespace
