#include "app/DialogPositions.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "appcore/WindowPlacement.h"
#include "settings/CSProfile.h"

namespace vorna {

void RestoreDialogPosition(QWidget& dialog, const CSProfile& profile, ProfileDialog which) {
    const DialogPosition& saved = profile.Dialog(which);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->availableSize() : QSize(0, 0);
    const QSize own = dialog.frameGeometry().size();
    const PixelPoint p = PlaceDialog({saved.hpos, saved.vpos}, own.width(), own.height(),
                                     ScreenSize{size.width(), size.height()});
    dialog.move(p.x, p.y);
}

void StoreDialogPosition(const QWidget& dialog, CSProfile& profile, ProfileDialog which) {
    DialogPosition& saved = profile.Dialog(which);
    saved.hpos = dialog.frameGeometry().left();
    saved.vpos = dialog.frameGeometry().top();
}

} // namespace vorna
