#include "appcore/CommandTable.h"

#include <algorithm>

namespace vorna {

namespace {

using K = MenuEntry::Kind;
using C = CommandId;

MenuEntry Cmd(CommandId id, std::string caption = {}) {
    return {K::Command, id, std::move(caption), {}};
}
MenuEntry Sep() {
    return {K::Separator, {}, {}, {}};
}
MenuEntry Sub(std::string caption, std::vector<MenuEntry> children) {
    return {K::SubMenu, {}, std::move(caption), std::move(children)};
}
MenuEntry Recent() {
    return {K::RecentFiles, {}, {}, {}};
}

// Function keys and single letters in the captions are the plot's keys; only the keys of the
// main window's own accelerator table are window-wide. The function keys are added too so that
// they work while a pane other than the plot has the focus.
const std::vector<CommandSpec> kCommands = {
    {C::FileOpen, "&Open...\tCtrl+O", "Ctrl+O"},
    {C::CloseAll, "Close All", ""},
    {C::Modify, "&Modify...", ""},
    {C::FileSave, "&Save", ""},
    {C::FileSaveAs, "Save &As...\tCtrl+S", "Ctrl+S"},
    {C::PrintSpectrum, "&Print Spectrum\tCtrl+P", "Ctrl+P"},
    {C::CopySpectrumData, "Copy Spect&rum Data\tCtrl+R", "Ctrl+R"},
    {C::CapturePlot, "&Capture Plot\tCtrl+C", "Ctrl+C"},
    {C::CapturePreview, "Capture Pre&view...", ""},
    {C::AppExit, "E&xit", ""},
    {C::ViewToolbar, "&Toolbar", ""},
    {C::ViewStatusBar, "&Status Bar", ""},
    {C::SpectraList, "Spectra &List ...\tF6", "F6"},
    {C::SpectraDialog, "Spectra ...", ""},
    {C::Preferences, "P&references ...", ""},
    {C::AcquisitionSetup, "&Acquisition Setup ...\tF9", "F9"},
    {C::StartAcquisition, "&Start Acquisition\tF3", "F3"},
    {C::UpdateData, "&Update Data From MCA\tF4", "F4"},
    {C::DeleteData, "Delete Data\tD", ""},
    {C::ResetTime, "Reset Time\tT", ""},
    {C::DeleteDataAndResetTime, "Delete Data and Reset Time\tA", ""},
    {C::Connect, "Connect\tF2", "F2"},
    {C::InfoPaneFont, "Font", ""},
    {C::InfoPaneBackground, "Background", ""},
    {C::SelectPaneFont, "Font", ""},
    {C::SelectPaneBackground, "Background", ""},
    {C::PlotPane, "&Plot Pane ...", ""},
    {C::AllPanes, "All Panes", ""},
    {C::ScaleLin, "Lin", ""},
    {C::ScaleLog, "Log", ""},
    {C::ScaleSqrt, "Sqrt", ""},
    {C::Calibration, "Calibration\tF7", "F7"},
    {C::Calibrate, "&Calibrate ...\tF5", "F5"},
    {C::PeakSearch, "&Peak Search ...", ""},
    {C::Expression, "&Expression ...", ""},
    {C::Smooth, "Smooth", ""},
    {C::LoadLibrary, "Load &Library ...", ""},
    {C::ShowLibrary, "Show Library ...", ""},
    {C::DefineRoi, "Define &ROI ...", ""},
    {C::RoiDetails, "ROI Details ...", ""},
    {C::FundamentalParameters, "Fundamental Parameters", ""},
    {C::FlareController, "Flare Controller", ""},
    {C::OpenStartDialog, "Open Start Dialog", ""},
    {C::DppSetup, "DPP Setup...", ""},
    {C::ConfigureMca, "Configure MCA properties", ""},
    {C::SendHardwareConfiguration, "Send Hardware Configuration", ""},
    {C::TuneThresholds, "Tune Slow/Fast Thresholds", ""},
    {C::McaDeltaMode, "MCA/DELTA Mode", ""},
    {C::DisplaySettings, "Display Settings", ""},
    {C::MultiplyDelta, "Multiplty Delta By 10", ""},
    {C::DivideDelta, "Divide Delta By 10", ""},
    {C::IncrementGain, "Increment Gain By Delta", ""},
    {C::DecrementGain, "Decrement Gain By Delta", ""},
    {C::HelpTopics, "&Help Topics\tF1", "F1"},
    {C::KeyboardMap, "&Keyboard Map ...", ""},
    {C::About, "&About VORNA...", ""},
    // Context menus and keys.
    {C::ListSave, "&Save\tCtrl+S", ""},
    {C::ListSaveAs, "Save &As ...", ""},
    {C::ListModify, "&Modify", ""},
    {C::ListClose, "Close", ""},
    {C::ListHide, "Hide", ""},
    {C::Revert, "Re&vert", ""},
    {C::RoiListPrint, "Print", ""},
    {C::RoiListCopy, "Copy", ""},
    {C::PrintRoi, "Prin&t ROI\tCtrl+T", "Ctrl+E"},
    {C::CopyRoi, "Copy &ROI\tCtrl+R", ""},
    {C::NextRoi, "Next ROI", ""},
    {C::PreviousRoi, "Previous ROI", ""},
    {C::ShowRoi, "Show", ""},
    {C::ShowAllRoi, "Show", ""},
    {C::ClearAllRois, "Clear\tR", ""},
    {C::ClearCursorRoi, "Clear\tE", ""},
    {C::PreviousView, "Previous View", ""},
    {C::SelectView, "Select View", ""},
    {C::EditRoi, "Edit ROI", ""},
    {C::Center, "Center\tC", ""},
    {C::FullRange, "Full Horizontal Range\tH", ""},
    {C::Autoscale, "Autoscale Vertical Range\tV", ""},
    {C::ContextHelp, "Context Help", ""},
    {C::Capture, "Capture", ""},
    {C::KeyboardPrint, "&Print\tCtrl+Shift+P", ""},
    {C::KeyboardCopy, "&Copy\tCtrl+Shift+C", ""},
};

std::vector<MenuSpec> BuildMainMenu() {
    return {
        {"&File",
         {Cmd(C::FileOpen), Cmd(C::CloseAll), Cmd(C::Modify), Sep(), Cmd(C::FileSave),
          Cmd(C::FileSaveAs), Sep(), Cmd(C::PrintSpectrum), Cmd(C::CopySpectrumData),
          Cmd(C::CapturePlot), Cmd(C::CapturePreview), Sep(), Recent(), Sep(), Cmd(C::AppExit)}},
        {"&View",
         {Cmd(C::ViewToolbar), Cmd(C::ViewStatusBar), Sep(), Cmd(C::SpectraList),
          Cmd(C::SpectraDialog), Sep(), Cmd(C::Preferences)}},
        {"&MCA",
         {Cmd(C::AcquisitionSetup), Sep(), Cmd(C::StartAcquisition), Cmd(C::UpdateData), Sep(),
          Cmd(C::DeleteData), Cmd(C::ResetTime), Cmd(C::DeleteDataAndResetTime), Sep(),
          Cmd(C::Connect), Cmd(C::ConfigureMca)}},
        {"&Display",
         {Sub("Info Pane", {Cmd(C::InfoPaneFont), Cmd(C::InfoPaneBackground)}),
          Sub("Select Pane", {Cmd(C::SelectPaneFont), Cmd(C::SelectPaneBackground)}),
          Cmd(C::PlotPane), Cmd(C::AllPanes), Sep(),
          Sub("Scale", {Cmd(C::ScaleLin), Cmd(C::ScaleLog), Cmd(C::ScaleSqrt)}),
          Cmd(C::Calibration)}},
        {"&Analyze",
         {Cmd(C::Calibrate), Cmd(C::PeakSearch), Cmd(C::Expression), Cmd(C::Smooth), Sep(),
          Cmd(C::LoadLibrary), Cmd(C::ShowLibrary), Sep(), Cmd(C::DefineRoi), Cmd(C::RoiDetails),
          Sep(), Cmd(C::FundamentalParameters), Cmd(C::FlareController)}},
        {"&Setup",
         {Cmd(C::OpenStartDialog), Cmd(C::DppSetup), Sep(), Cmd(C::SendHardwareConfiguration),
          Cmd(C::TuneThresholds), Cmd(C::McaDeltaMode), Cmd(C::DisplaySettings), Sep(),
          Cmd(C::MultiplyDelta), Cmd(C::DivideDelta), Cmd(C::IncrementGain),
          Cmd(C::DecrementGain)}},
        {"&Help", {Cmd(C::HelpTopics), Cmd(C::KeyboardMap), Sep(), Cmd(C::About)}},
    };
}

} // namespace

const std::vector<CommandSpec>& Commands() {
    return kCommands;
}

const CommandSpec* FindCommand(CommandId id) {
    auto it = std::find_if(kCommands.begin(), kCommands.end(),
                           [id](const CommandSpec& c) { return c.id == id; });
    return it == kCommands.end() ? nullptr : &*it;
}

const CommandSpec* FindCommand(int id) {
    return FindCommand(static_cast<CommandId>(id));
}

const std::vector<MenuSpec>& MainMenu() {
    static const std::vector<MenuSpec> menu = BuildMainMenu();
    return menu;
}

const MenuSpec& SelectContextMenu() {
    static const MenuSpec menu{
        "Select",
        {Cmd(C::PreviousView),
         Cmd(C::SelectView),
         Cmd(C::Center),
         Cmd(C::FullRange),
         Cmd(C::Autoscale),
         Sep(),
         Cmd(C::EditRoi),
         Cmd(C::NextRoi),
         Cmd(C::PreviousRoi),
         Cmd(C::DefineRoi, "Define ROI..."),
         Cmd(C::PrintRoi),
         Cmd(C::CopyRoi),
         Sub("All ROIs", {Cmd(C::ShowAllRoi), Cmd(C::ClearAllRois)}),
         Sub("Cursor ROI", {Cmd(C::ShowRoi), Cmd(C::ClearCursorRoi)}),
         Sep(),
         Cmd(C::Calibrate, "Calibrate...\tF5"),
         Cmd(C::SpectraList),
         Sep(),
         Cmd(C::PlotPane, "Plot Pane..."),
         Sub("Select Pane", {Cmd(C::SelectPaneFont), Cmd(C::SelectPaneBackground)}),
         Sub("Info Pane", {Cmd(C::InfoPaneFont), Cmd(C::InfoPaneBackground)})}};
    return menu;
}

const MenuSpec& SpectraListContextMenu() {
    static const MenuSpec menu{"Slist",
                               {Cmd(C::ListHide), Sep(), Cmd(C::Revert), Cmd(C::ListSave),
                                Cmd(C::ListSaveAs), Cmd(C::ListModify), Cmd(C::ListClose), Sep(),
                                Cmd(C::PrintRoi), Cmd(C::CopyRoi)}};
    return menu;
}

const MenuSpec& KeyboardContextMenu() {
    static const MenuSpec menu{"Keyboard", {Cmd(C::KeyboardPrint), Cmd(C::KeyboardCopy)}};
    return menu;
}

const std::vector<MenuEntry>& ToolbarButtons() {
    static const std::vector<MenuEntry> buttons = {
        Cmd(C::FileOpen),
        Cmd(C::FileSave),
        Cmd(C::PrintSpectrum),
        Sep(),
        Cmd(C::Connect),
        Cmd(C::StartAcquisition),
        Cmd(C::UpdateData),
        Cmd(C::DeleteDataAndResetTime),
        Sep(),
        Cmd(C::Calibration),
        Cmd(C::Calibrate),
        Cmd(C::SpectraList),
        Sep(),
        Cmd(C::FlareController),
        Cmd(C::HelpTopics),
    };
    return buttons;
}

const char* ConnectCaption(bool connected) {
    return connected ? "Disconnect\tF2" : "Connect\tF2";
}

const char* AcquisitionCaption(bool acquiring) {
    return acquiring ? "&Stop Acquisition\tF3" : "&Start Acquisition\tF3";
}

const char* HideCaption(bool hidden) {
    return hidden ? "Show" : "Hide";
}

} // namespace vorna
