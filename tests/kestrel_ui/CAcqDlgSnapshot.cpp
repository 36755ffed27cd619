// Pictures of the acquisition setup dialog in MCA and Limited MCS mode, for looking at the
// layout without a display: CAcqDlgSnapshot OUTPUT_PREFIX.

#include <QApplication>
#include <QComboBox>
#include <QPixmap>

#include "kestrel/ui/CAcqDlg.h"
#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"

using namespace vorna;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString prefix = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("acqdlg");
    MemoryProfileStore store;
    CSProfile profile(store, ScreenSize{1920, 1080});
    profile.presetMode = 2;
    profile.spChanCts = 10000;
    profile.spChanPosition = 512;
    AcqSetup values;
    values.threshold = 40;
    CAcqDlg dlg(values, profile, KestrelDeviceType::KestrelA, {});
    dlg.show();
    bool ok = dlg.grab().save(prefix + QStringLiteral("-mca.png"));
    auto* mode = dlg.findChild<QComboBox*>(QStringLiteral("acquisitionMode"));
    mode->setCurrentIndex(1);
    Q_EMIT mode->activated(1);
    ok = dlg.grab().save(prefix + QStringLiteral("-mcs.png")) && ok;
    return ok ? 0 : 1;
}
