#include <gtest/gtest.h>

#include <set>

#include "appcore/CommandTable.h"
#include "appcore/MenuState.h"

using namespace vorna;

namespace {

void CollectIds(const std::vector<MenuEntry>& entries, std::vector<int>& ids) {
    for (const MenuEntry& e : entries) {
        if (e.kind == MenuEntry::Kind::Command)
            ids.push_back(ToInt(e.id));
        CollectIds(e.children, ids);
    }
}

} // namespace

TEST(CommandTable, EveryMenuEntryHasACaptionAndNoIdIsListedTwice) {
    std::set<int> seen;
    for (const CommandSpec& c : Commands())
        EXPECT_TRUE(seen.insert(ToInt(c.id)).second) << ToInt(c.id);
    std::vector<int> ids;
    for (const MenuSpec& m : MainMenu())
        CollectIds(m.entries, ids);
    CollectIds(SelectContextMenu().entries, ids);
    CollectIds(SpectraListContextMenu().entries, ids);
    CollectIds(ToolbarButtons(), ids);
    for (int id : ids)
        EXPECT_NE(FindCommand(id), nullptr) << id;
}

TEST(CommandTable, CaptionsKeepTheirMnemonicsAndKeyTexts) {
    EXPECT_STREQ(FindCommand(CommandId::FileOpen)->caption, "&Open...\tCtrl+O");
    EXPECT_STREQ(FindCommand(CommandId::FileSaveAs)->caption, "Save &As...\tCtrl+S");
    EXPECT_STREQ(FindCommand(CommandId::CopySpectrumData)->caption, "Copy Spect&rum Data\tCtrl+R");
    EXPECT_STREQ(FindCommand(CommandId::MultiplyDelta)->caption, "Multiplty Delta By 10");
    EXPECT_STREQ(FindCommand(CommandId::About)->caption, "&About VORNA...");
    EXPECT_STREQ(FindCommand(32966)->caption, "Re&vert");
    // The window-wide keys of the accelerator table.
    EXPECT_STREQ(FindCommand(CommandId::PrintRoi)->accelerator, "Ctrl+E");
    EXPECT_STREQ(FindCommand(CommandId::CapturePlot)->accelerator, "Ctrl+C");
    EXPECT_EQ(MainMenu()[2].caption, "&MCA");
    EXPECT_EQ(MainMenu()[3].caption, "&Display");
    EXPECT_EQ(MainMenu()[4].caption, "&Analyze");
}

TEST(MenuState, McaMenuFollowsPortAndConnection) {
    MenuContext c;
    c.comPort = -1;
    EXPECT_FALSE(StateOf(CommandId::Connect, c).enabled);
    EXPECT_FALSE(StateOf(CommandId::ConfigureMca, c).enabled);
    c.comPort = 1;
    EXPECT_TRUE(StateOf(CommandId::Connect, c).enabled);
    EXPECT_FALSE(StateOf(CommandId::DeleteData, c).enabled);
    EXPECT_EQ(StateOf(CommandId::Connect, c).caption, "Connect\tF2");
    c.connected = true;
    EXPECT_EQ(StateOf(CommandId::Connect, c).caption, "Disconnect\tF2");
    EXPECT_TRUE(StateOf(CommandId::DeleteData, c).enabled);
    c.deviceType = 2; // a connected DPP has no Delete Data / Reset Time
    EXPECT_FALSE(StateOf(CommandId::DeleteData, c).enabled);
    EXPECT_FALSE(StateOf(CommandId::ResetTime, c).enabled);
    EXPECT_TRUE(StateOf(CommandId::DeleteDataAndResetTime, c).enabled);
    c.deviceType = 0;
    c.acquiring = true;
    EXPECT_EQ(StateOf(CommandId::StartAcquisition, c).caption, "&Start Acquisition\tF3");
    c.statusValid = true;
    EXPECT_EQ(StateOf(CommandId::StartAcquisition, c).caption, "&Stop Acquisition\tF3");
}

TEST(MenuState, ScaleTicksExactlyOneAndLibraryAndCloseRules) {
    MenuContext c;
    c.scaleType = 2;
    EXPECT_FALSE(StateOf(CommandId::ScaleLin, c).checked);
    EXPECT_FALSE(StateOf(CommandId::ScaleLog, c).checked);
    EXPECT_TRUE(StateOf(CommandId::ScaleSqrt, c).checked);
    EXPECT_FALSE(StateOf(CommandId::ShowLibrary, c).enabled);
    c.libraryLoaded = true;
    EXPECT_TRUE(StateOf(CommandId::ShowLibrary, c).enabled);
    c.spectraCount = 1;
    EXPECT_FALSE(StateOf(CommandId::CloseAll, c).enabled);
    c.selectedPosition = 0; // the live spectrum is never closed
    EXPECT_FALSE(StateOf(CommandId::ListClose, c).enabled);
    EXPECT_FALSE(StateOf(CommandId::OpenStartDialog, c).enabled);
    c.selectedHidden = true;
    EXPECT_EQ(StateOf(CommandId::ListHide, c).caption, "Show");
}

TEST(MenuState, DevicePaneTexts) {
    EXPECT_EQ(KestrelDevicePane(false, 50).text, "MCA not connected");
    EXPECT_EQ(KestrelDevicePane(true, 100).text, "Battery - 100 %");
    EXPECT_EQ(KestrelDevicePane(true, 100).icon, 2);
    EXPECT_EQ(KestrelDevicePane(true, 101).text, "AC Power");
    EXPECT_EQ(DppDevicePane(false).icon, 3);
    EXPECT_EQ(DppConnectionText("", false), "DPP not connected please reset and try again...");
    EXPECT_EQ(DppConnectionText("Plover", true), "Plover connected...");
}
