// Windows of the DPP connect: the device selection and the update notice.

#include "Gallery.h"
#include "app/CMainFrame.h"
#include "dppui/CDppSelectDlg.h"
#include "dppui/CDppUpdateNoticeDlg.h"

namespace vorna::gallery {
namespace {

// Three DPPs on the bus, labelled as the connect labels them.
void SelectDpp(CMainFrame& frame, ProgramState&) {
    DppSelectLabels labels;
    labels[0] = "Serial Number 1001 [Heron]";
    labels[1] = "Serial Number 1002 [Plover]";
    labels[2] = "Serial Number 1003 [PLOVEREMUL]";
    ChooseDppEntry(labels, &frame);
}

// A Plover whose firmware (3.2) is older than the program needs.
void UpdateNotice(CMainFrame& frame, ProgramState&) {
    DppUpdateNoticeInput input;
    input.programLines = "VORNA\r\nVersion 1.0\r\nQuorix\r\n";
    input.serialNumber = 1002;
    input.firmwareByte = 0x32;
    input.fpgaByte = 0x40;
    input.deviceType = 2;
    input.liveSpectrumActive = true;
    input.updateInfoUrl = "file:///usr/share/vorna/manual/index.html#dpp-updates";
    CDppUpdateNoticeDlg dialog(input, &frame);
    dialog.exec();
}

const Registrar selectDpp{{"dpp-select", SelectDpp}};
const Registrar updateNotice{{"dpp-update-notice", UpdateNotice}};

} // namespace
} // namespace vorna::gallery
