// VORNA: spectrum acquisition and analysis for pulse-height spectrometers.

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/DppSession.h"
#include "appcore/CommandIds.h"

// Wall time since the kernel started this process (Linux), for the start-up measurement.
static double MsSinceProcessStart() {
    std::ifstream statFile("/proc/self/stat");
    std::ifstream uptimeFile("/proc/uptime");
    std::string stat((std::istreambuf_iterator<char>(statFile)), {});
    double uptime = 0;
    uptimeFile >> uptime;
    // Field 22 (start time in clock ticks) counts from the field after the command's ')'.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (uptime - std::stod(field) / ticks) * 1000.0;
}

int main(int argc, char* argv[]) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    // Numbers in files and reports never follow the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    vorna::CLumoApp::Options options;
    options.programDir = QCoreApplication::applicationDirPath();
    const QStringList args = QCoreApplication::arguments();
    // The only argument the program takes is a spectrum file name.
    if (args.size() > 1)
        options.commandLineFile = args.at(1);
    vorna::CLumoApp lumo(std::move(options));
    if (!lumo.InitInstance())
        return 1;
    // VORNA_SCREENSHOT=<file.png>: save the main window once it has settled, then quit (the
    // README's picture is made this way).
    // VORNA_QUIT_WHEN_SHOWN=1: close as soon as the event loop runs (start-up timing).
    if (qEnvironmentVariableIsSet("VORNA_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, lumo.MainFrame(), [&lumo, &sinceMain] {
            std::fprintf(stderr, "shown: %lld ms after main, %.0f ms after process start\n",
                         static_cast<long long>(sinceMain.elapsed()), MsSinceProcessStart());
            lumo.MainFrame()->close();
        });
    // VORNA_AUTOSTART=1: Connect and Start as if F2 and F3 were pressed (demonstrations and
    // the screenshot of a running acquisition); a screenshot then waits for some data.
    const bool autostart = qEnvironmentVariableIntValue("VORNA_AUTOSTART") == 1;
    if (autostart) {
        QTimer::singleShot(0, lumo.MainFrame(), [&lumo] {
            lumo.MainFrame()->Execute(vorna::ToInt(vorna::CommandId::Connect));
        });
        // A DPP connect runs in timed steps: Start follows its end.
        QTimer::singleShot(0, lumo.MainFrame(), [&lumo] {
            vorna::CMainFrame* frame = lumo.MainFrame();
            auto start = [frame] {
                frame->Execute(vorna::ToInt(vorna::CommandId::StartAcquisition));
            };
            vorna::DppSession* dpp = frame->Dpp();
            if (dpp && dpp->Connecting())
                QObject::connect(dpp, &vorna::DppSession::ConnectFinished, frame, start,
                                 Qt::SingleShotConnection);
            else
                QTimer::singleShot(1000, frame, start);
        });
    }
    const QString shot = qEnvironmentVariable("VORNA_SCREENSHOT");
    if (!shot.isEmpty()) {
        QTimer::singleShot(autostart ? 12000 : 1500, [&lumo, shot] {
            QWidget* window = lumo.MainFrame();
            window->grab().save(shot);
            window->close();
        });
    }
    const int result = app.exec();
    lumo.ExitInstance();
    return result;
}
