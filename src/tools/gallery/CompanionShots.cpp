// Windows of the companion launcher: the locate dialog, before and after a file was located.

#include "Gallery.h"
#include "app/CMainFrame.h"
#include "app/companion/CFileBrowseDlg.h"
#include "external/CompanionLauncher.h"

namespace vorna::gallery {
namespace {

void LocateMissing(CMainFrame& frame, ProgramState&) {
    CFileBrowseDlg dialog(QString::fromStdString(ElemixProgram().locateTitle),
                          QString::fromLatin1(LaunchErrorText(LaunchError::FileNotFound)), &frame);
    dialog.exec();
}

void LocateFound(CMainFrame& frame, ProgramState&) {
    CFileBrowseDlg dialog(QString::fromStdString(FlareProgram().locateTitle),
                          QString::fromLatin1(LaunchErrorText(LaunchError::FileNotFound)), &frame);
    dialog.TakeChosenFile(QStringLiteral("/bin/sh"));
    dialog.exec();
}

const Registrar locateMissing{{"companion-locate", LocateMissing}};
const Registrar locateFound{{"companion-located", LocateFound}};

} // namespace
} // namespace vorna::gallery
