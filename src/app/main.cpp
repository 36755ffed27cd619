// VORNA: spectrum acquisition and analysis for pulse-height spectrometers.

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <clocale>

#include "app/CLumoApp.h"
#include "app/CMainFrame.h"

int main(int argc, char* argv[]) {
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
    const QString shot = qEnvironmentVariable("VORNA_SCREENSHOT");
    if (!shot.isEmpty()) {
        QTimer::singleShot(1500, [&lumo, shot] {
            QWidget* window = lumo.MainFrame();
            window->grab().save(shot);
            window->close();
        });
    }
    const int result = app.exec();
    lumo.ExitInstance();
    return result;
}
