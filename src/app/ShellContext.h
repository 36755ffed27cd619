#pragma once
// What the command handlers of the menu files work with.

#include "appcore/CommandIds.h"
#include "settings/PreferencesPages.h"

namespace vorna {

class ProgramState;
class CMainFrame;
class QtUserPrompt;
class CommandRouter;
class CSpectrum;

struct ShellContext {
    ProgramState& state;
    CMainFrame& frame;
    QtUserPrompt& prompt;
};

// The spectrum the spectra list's context menu acts on, else the active one.
CSpectrum* SelectedSpectrum(ShellContext& context);
// Commands whose windows belong to work not yet in the program say so in status pane 0.
void ReportNotAvailable(ShellContext& context, CommandId id);

void RegisterFileCommands(CommandRouter& router, ShellContext& context);
// Printing and capture of the main window (registered with the File menu's commands).
void RegisterOutputCommands(CommandRouter& router, ShellContext& context);
void RegisterViewCommands(CommandRouter& router, ShellContext& context);
void RegisterAnalyzeCommands(CommandRouter& router, ShellContext& context);
void RegisterRoiCommands(CommandRouter& router, ShellContext& context);
void RegisterDeviceCommands(CommandRouter& router, ShellContext& context);
// F8 in the plot: the device's threshold at the cursor channel.
void SetThresholdAtCursor(ShellContext& context, int channel);
void RegisterHelpCommands(CommandRouter& router, ShellContext& context);
void RegisterPreferencesCommands(CommandRouter& router, ShellContext& context);
// The preferences sheet on one of its pages; the reloads its changes call for follow its close.
void ShowPreferences(ShellContext& context, PreferencesPage page);
void RegisterCalibrationCommands(CommandRouter& router, ShellContext& context);
// Ctrl+F5 in the plot: a two-point calibration of the active spectrum.
void RunAutoCalibration(ShellContext& context);
void RegisterPropertiesCommands(CommandRouter& router, ShellContext& context);

} // namespace vorna
