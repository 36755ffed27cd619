#pragma once
// The DPP setup and tuning commands of the main window: "DPP Setup...", "&Acquisition Setup ..."
// with a DPP, "Tune Slow/Fast Thresholds", the gain steps, and the window messages the property
// sheet and the oscilloscope send (open USB, scope, send, close and reopen the sheet, tuning).

#include <cstdint>

#include "common/MainWindowSink.h"

namespace vorna {

class CMainFrame;
class CommandRouter;
class DppTuner;
class COscilloscopeDlg;
struct DppSheetState;
struct ShellContext;

void RegisterDppSetupCommands(CommandRouter& router, ShellContext& context);
// "&Acquisition Setup ..." with a DPP selected opens the property sheet.
void OpenDppSetupFromAcquisitionSetup(CMainFrame& frame);

// The one receiver of the DPP messages 0x531 and 0x534..0x53B; false for any other message.
bool HandleDppMessage(CMainFrame& frame, MainMessage message);

// For tests: the sheet's shared state, the tuner and the oscilloscope (nullptr while closed).
DppSheetState* DppSheetStateOf(CMainFrame& frame);
DppTuner* DppTunerOf(CMainFrame& frame);
COscilloscopeDlg* DppScopeOf(CMainFrame& frame);

} // namespace vorna
