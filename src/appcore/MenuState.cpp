#include "appcore/MenuState.h"

#include <cstdio>

#include "appcore/CommandTable.h"

namespace vorna {

namespace {

using C = CommandId;

bool IsDpp(const MenuContext& c) {
    return c.deviceType != 0;
}

// The MCA menu: no port greys the device entries; a link that is down greys what needs it.
bool McaEntryEnabled(CommandId id, const MenuContext& c) {
    const bool kestrelOnly = id == C::DeleteData || id == C::ResetTime;
    if (c.comPort < 0 && !IsDpp(c)) {
        return id == C::StartAcquisition;
    }
    if (!c.connected)
        return id == C::Connect || id == C::StartAcquisition || id == C::ConfigureMca;
    if (kestrelOnly)
        return !IsDpp(c);
    return true;
}

bool FileEntryEnabled(CommandId id, const MenuContext& c) {
    switch (id) {
    case C::CloseAll:
        return c.spectraCount > 1;
    case C::Modify:
    case C::FileSave:
    case C::FileSaveAs:
    case C::PrintSpectrum:
    case C::CopySpectrumData:
        return c.activePosition >= 0;
    case C::ListSave:
    case C::ListSaveAs:
    case C::ListModify:
    case C::ListHide:
        return c.selectedPosition >= 0;
    case C::ListClose:
        // The live spectrum stays open for the whole run.
        return c.selectedPosition > 0;
    case C::Revert:
        return c.selectedPosition > 0 && c.selectedHasFile;
    default:
        return true;
    }
}

bool AnalyzeEntryEnabled(CommandId id, const MenuContext& c) {
    switch (id) {
    case C::ShowLibrary:
        return c.libraryLoaded;
    case C::FlareController:
        return c.flarePresent;
    case C::OpenStartDialog:
        return c.startDialogEnabled;
    case C::PrintRoi:
    case C::CopyRoi:
        return c.selectedHasRois;
    case C::NextRoi:
    case C::PreviousRoi:
    case C::ClearAllRois:
    case C::ClearCursorRoi:
        return c.activeHasRois;
    case C::DppSetup:
    case C::SendHardwareConfiguration:
    case C::TuneThresholds:
    case C::McaDeltaMode:
    case C::MultiplyDelta:
    case C::DivideDelta:
    case C::IncrementGain:
    case C::DecrementGain:
        return IsDpp(c);
    default:
        return true;
    }
}

bool IsMcaEntry(CommandId id) {
    switch (id) {
    case C::AcquisitionSetup:
    case C::StartAcquisition:
    case C::UpdateData:
    case C::DeleteData:
    case C::ResetTime:
    case C::DeleteDataAndResetTime:
    case C::Connect:
    case C::ConfigureMca:
        return true;
    default:
        return false;
    }
}

void ApplyChecks(CommandId id, const MenuContext& c, CommandState& s) {
    auto check = [&s](bool on) {
        s.checkable = true;
        s.checked = on;
    };
    switch (id) {
    case C::ScaleLin:
        check(c.scaleType == 0);
        break;
    case C::ScaleLog:
        check(c.scaleType == 1);
        break;
    case C::ScaleSqrt:
        check(c.scaleType == 2);
        break;
    case C::Calibration:
        check(c.calibrateEnable);
        break;
    case C::ShowRoi:
        check(c.showRoi);
        break;
    case C::ShowAllRoi:
        check(c.showAllRoi);
        break;
    case C::ViewToolbar:
        check(c.toolbarVisible);
        break;
    case C::ViewStatusBar:
        check(c.statusBarVisible);
        break;
    default:
        break;
    }
}

} // namespace

CommandState StateOf(CommandId id, const MenuContext& c) {
    CommandState s;
    s.enabled = IsMcaEntry(id) ? McaEntryEnabled(id, c)
                               : FileEntryEnabled(id, c) && AnalyzeEntryEnabled(id, c);
    ApplyChecks(id, c, s);
    if (id == C::Connect)
        s.caption = ConnectCaption(c.connected);
    else if (id == C::StartAcquisition)
        s.caption = AcquisitionCaption(c.acquiring && (IsDpp(c) || c.statusValid));
    else if (id == C::ListHide)
        s.caption = HideCaption(c.selectedHidden);
    return s;
}

DevicePane KestrelDevicePane(bool connected, int battery) {
    if (!connected)
        return {0, "MCA not connected"};
    if (battery >= 101)
        return {1, "AC Power"};
    char text[32];
    std::snprintf(text, sizeof text, "Battery - %d %%", battery < 0 ? 0 : battery);
    return {2, text};
}

DevicePane DppDevicePane(bool connected) {
    return connected ? DevicePane{4, "USB Dpp connected"} : DevicePane{3, "USB Dpp not connected"};
}

std::string KestrelConnectionText(bool connected) {
    return connected ? "MCA connected..." : "MCA not connected...";
}

std::string DppConnectionText(const std::string& deviceName, bool connected) {
    const std::string name = deviceName.empty() ? "DPP" : deviceName;
    return name + (connected ? " connected..." : " not connected please reset and try again...");
}

} // namespace vorna
