// The main window's menu bar: the shell's own menus (file, host buttons, application
// modules, help) with the menus that menu-script files add, bound by action name to
// the actions the plug-in registers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "menu_file.h"
#include "shell_host.h"

struct LoadedMenuFile {
    std::string name; // shown in the transcript
    MenuFile file;
};

// Builds the menu bar. Problems (an unknown menu edited, an anchor not found) are
// noted in the record.
HMENU ShellMenus_Create(const std::vector<HostButtonSetting>& buttons,
                        const std::vector<LoadedMenuFile>& files);
// Greys the items whose action is not registered and checks module and part items.
void ShellMenus_Update(HMENU menu);
// The command handler for the main window's own menu items.
void ShellMenus_Command(int id);
// Notes how each action item is bound after start-up.
void ShellMenus_NoteBindings();

enum MenuChoice { MenuChosen, MenuNotFound, MenuGreyed };
// Chooses the item with this label (GBK, "&" ignored) as the user would: its command
// is posted to the main window.
MenuChoice ShellMenus_Choose(const std::string& label);
