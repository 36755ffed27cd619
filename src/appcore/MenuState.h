#pragma once
// Which commands are enabled, ticked and how the state-dependent ones are captioned, from a
// snapshot of the program's state taken when a menu opens. Pure rules; the UI applies them.

#include <string>

#include "appcore/CommandIds.h"
#include "kestrel/CAcq.h"

namespace vorna {

struct MenuContext {
    int deviceType = 0; // 0 Kestrel family, 1..4 DPP
    int comPort = 0;    // below 0: no port defined
    bool connected = false;
    bool acquiring = false;
    bool statusValid = false; // the Kestrel status record has been read
    int spectraCount = 0;     // open spectra including the live one
    int activePosition = -1;
    int selectedPosition = -1; // the spectra list's context row, else the active spectrum
    bool selectedHasFile = false;
    bool selectedHidden = false;
    bool activeHasRois = false;
    bool selectedHasRois = false; // Print ROI and Copy ROI act on the selected spectrum
    bool libraryLoaded = false;
    bool startDialogEnabled = false; // start_dlg_show
    int scaleType = 0;               // scale_type 0 lin, 1 log, 2 sqrt
    bool calibrateEnable = false;
    bool showRoi = false;
    bool showAllRoi = false;
    bool toolbarVisible = true;
    bool statusBarVisible = true;
    bool flarePresent = false;
};

struct CommandState {
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
    std::string caption; // empty: the table caption
};

CommandState StateOf(CommandId id, const MenuContext& context);

// The device pane of the status bar (icon index 0..4 and text) is the controller's DevicePane.
// Kestrel: battery < 0 means no answer; DPP: only USB links change the pane (nullopt-like:
// `changed` false).
DevicePane KestrelDevicePane(bool connected, int battery);
DevicePane DppDevicePane(bool connected);

// Pane 0 texts of the start-up report and the connect command.
std::string KestrelConnectionText(bool connected);
std::string DppConnectionText(const std::string& deviceName, bool connected);

} // namespace vorna
