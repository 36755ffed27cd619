// Windows of the program's shell.

#include <QDir>
#include <QTemporaryDir>

#include "Gallery.h"
#include "app/CMainFrame.h"
#include "appcore/CommandIds.h"

namespace vorna::gallery {
namespace {

void Run(CMainFrame& frame, CommandId id) {
    frame.Execute(ToInt(id));
}

const Registrar about{{"about", [](CMainFrame& f, ProgramState&) { Run(f, CommandId::About); }}};
// The capture file goes to the working folder: a folder of its own, not the caller's.
const Registrar capturePreview{{"capture-preview", [](CMainFrame& f, ProgramState&) {
                                    static QTemporaryDir folder;
                                    const QString previous = QDir::currentPath();
                                    QDir::setCurrent(folder.path());
                                    Run(f, CommandId::CapturePlot);
                                    Run(f, CommandId::CapturePreview);
                                    QDir::setCurrent(previous);
                                }}};
const Registrar keyboardMap{
    {"keyboard-map", [](CMainFrame& f, ProgramState&) { Run(f, CommandId::KeyboardMap); }}};

} // namespace
} // namespace vorna::gallery
