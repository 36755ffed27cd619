// vorna_window_gallery OUTDIR [NAME...]: pictures of the program's windows, for looking at their
// layout (scripts/screenshot.sh --windows runs it on a virtual screen).

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <set>
#include <vector>

#include "Gallery.h"
#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/TextConvert.h"
#include "settings/MemoryProfileStore.h"

namespace vorna::gallery {

namespace {

std::vector<Shot>& Shots() {
    static std::vector<Shot> shots;
    return shots;
}

// The window a shot opened: the modal one, else a visible top-level window that was not there
// before.
QWidget* OpenedWindow(const std::set<QWidget*>& before) {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !before.count(w))
            return w;
    return nullptr;
}

void Close(QWidget* window) {
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    else
        window->close();
}

// Runs one shot; true when a picture was saved.
bool Take(const Shot& shot, CMainFrame& frame, ProgramState& state, const QDir& out) {
    std::set<QWidget*> before;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            before.insert(w);
    bool saved = false;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(100);
    // The window gets a few polls to lay itself out before the picture is taken.
    int settled = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* window = OpenedWindow(before);
        if (!window) {
            if (waited.elapsed() > 10000)
                poll.stop();
            return;
        }
        if (++settled < 4)
            return;
        const QString file = out.filePath(QString::fromStdString(shot.name) + ".png");
        saved = window->grab().save(file);
        std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write",
                     file.toLocal8Bit().constData());
        poll.stop();
        Close(window);
    });
    poll.start();
    shot.open(frame, state);
    // A window that does not block: wait here until it has been taken.
    while (poll.isActive())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!saved)
        std::fprintf(stderr, "%s: no window opened\n", shot.name.c_str());
    return saved;
}

} // namespace

void Register(Shot shot) {
    Shots().push_back(std::move(shot));
}

} // namespace vorna::gallery

int main(int argc, char** argv) {
    using namespace vorna;
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: vorna_window_gallery OUTDIR [NAME...]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    std::set<std::string> wanted(argv + 2, argv + argc);

    QTemporaryDir folder;
    MemoryProfileStore store;
    store.WriteInt("Standard", "start_dlg_show", 0);
    store.WriteText("Standard", "spectra_directory", PathToCore(folder.path()) + "/");
    CLumoApp::Options options;
    options.programDir = folder.path();
    options.commandLineFile = QStringLiteral(VORNA_EXAMPLES_DIR "/fe55.mca");
    options.store = &store;
    options.allowStartDialog = false;
    CLumoApp lumo(std::move(options));
    if (!lumo.InitInstance())
        return 1;
    CMainFrame& frame = *lumo.MainFrame();
    frame.resize(1100, 700);
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);

    auto shots = gallery::Shots();
    std::sort(shots.begin(), shots.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    int failed = 0;
    for (const auto& shot : shots) {
        if (!wanted.empty() && !wanted.count(shot.name))
            continue;
        if (!gallery::Take(shot, frame, lumo.State(), out))
            ++failed;
    }
    frame.close();
    lumo.ExitInstance();
    return failed == 0 ? 0 : 1;
}
