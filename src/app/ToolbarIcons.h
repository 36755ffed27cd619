#pragma once
// Icons of the program, the toolbar and the status bar's device pane: the style's standard
// icons where one fits, small drawn ones elsewhere.

#include <QIcon>

#include "appcore/CommandIds.h"

namespace vorna {

QIcon ProgramIcon();
// Null when the command has no icon.
QIcon CommandIcon(CommandId id);
QIcon ConnectIcon(bool connected);
QIcon AcquisitionIcon(bool running);
QIcon DevicePaneIcon(int index); // 0..4

} // namespace vorna
