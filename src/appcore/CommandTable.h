#pragma once
// The main window's commands as data: caption (with its '&' mnemonic and the '\t' key text),
// the key that reaches it from anywhere in the window, and where it sits in the menus. The UI
// builds menus, toolbar and context menus from these tables; handlers are looked up by id.

#include <string>
#include <vector>

#include "appcore/CommandIds.h"

namespace vorna {

struct CommandSpec {
    CommandId id;
    const char* caption;     // exactly as the menu shows it
    const char* accelerator; // window-wide key ("Ctrl+O"), empty when none
};

// One entry of a menu: a command, a separator, a sub-menu or the recent-file block.
struct MenuEntry {
    enum class Kind { Command, Separator, SubMenu, RecentFiles };
    Kind kind = Kind::Command;
    CommandId id{};
    std::string caption; // sub-menus; a command's own caption in this menu (else the table's)
    std::vector<MenuEntry> children;
};

struct MenuSpec {
    std::string caption;
    std::vector<MenuEntry> entries;
};

// Every command with its caption, in the order of the main menu, then the context-menu and key
// commands.
const std::vector<CommandSpec>& Commands();
// nullptr for an unknown id.
const CommandSpec* FindCommand(CommandId id);
const CommandSpec* FindCommand(int id);

// The main menu, top-level menus in order (MCA at position 2, Display 3, Analyze 4).
const std::vector<MenuSpec>& MainMenu();
// The plot, info pane and navigation pane pop-up ("Select").
const MenuSpec& SelectContextMenu();
// The spectra list window's pop-up ("Slist").
const MenuSpec& SpectraListContextMenu();
// The keyboard map dialog's pop-up ("Keyboard").
const MenuSpec& KeyboardContextMenu();

// Toolbar buttons in order; Separator entries split the groups.
const std::vector<MenuEntry>& ToolbarButtons();

// Captions that follow the state of the device.
const char* ConnectCaption(bool connected);
const char* AcquisitionCaption(bool acquiring);
const char* HideCaption(bool hidden);

} // namespace vorna
