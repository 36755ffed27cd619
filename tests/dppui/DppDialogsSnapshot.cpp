// Pictures of the DPP dialogs, for checking the layout without a display:
// QT_QPA_PLATFORM=offscreen dppui_snapshot <folder>
#include <QApplication>
#include <QWidget>

#include "dppui/CDppSelectDlg.h"
#include "dppui/CDppUpdateNoticeDlg.h"

using namespace vorna;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    DppSelectLabels labels;
    const char* families[] = {" [Heron]", " [Plover]", " [HERONEMUL]", " [PLOVEREMUL]"};
    for (int i = 0; i < 7; ++i)
        labels[static_cast<size_t>(i)] = "Serial Number " +
                                         std::to_string(4000000000u + static_cast<unsigned>(i)) +
                                         families[i % 4];
    CDppSelectDlg select(labels);
    select.adjustSize();
    bool ok = select.grab().save(dir + QStringLiteral("/dpp_select.png"));

    DppUpdateNoticeInput in;
    in.programLines = "VORNA spectrum acquisition and analysis\r\n0.1.0\r\n"
                      "Copyright (C) 2026 VORNA developers\r\n";
    in.serialNumber = 1002;
    in.firmwareByte = 0x40;
    in.fpgaByte = 0x3F;
    in.deviceType = 2;
    in.liveSpectrumActive = true;
    CDppUpdateNoticeDlg notice(in);
    notice.adjustSize();
    ok = notice.grab().save(dir + QStringLiteral("/dpp_update_notice.png")) && ok;
    return ok ? 0 : 1;
}
