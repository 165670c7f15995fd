// The host's menu-script files (*.men): which menus a file adds and where, and which
// action name each button runs. The shell reads the subset that add-on menus use:
//
//   VERSION 120
//   EDIT UG_GATEWAY_MAIN_MENUBAR
//   AFTER UG_HELP                  (or BEFORE name, TOP, BOTTOM)
//     CASCADE_BUTTON MY_MENU
//     LABEL My menu
//   END_OF_AFTER
//   MENU MY_MENU
//     BUTTON MY_BUTTON
//     LABEL My button
//     ACTIONS MY_ACTION
//     SEPARATOR
//   END_OF_MENU
//
// Lines starting with "!" are comments. Texts are kept as the file's bytes (GBK).
#pragma once

#include <string>
#include <vector>

struct MenuItem {
    enum Kind { Button, Cascade, Separator };
    Kind kind = Button;
    std::string name;   // BUTTON or CASCADE_BUTTON name; for a cascade, the menu it opens
    std::string label;  // LABEL; empty when the file gave none
    std::string action; // ACTIONS of a button
};

struct MenuDefinition {
    std::string name;
    std::vector<MenuItem> items;
};

// Items placed into an existing menu.
struct MenuEdit {
    enum Place { After, Before, Top, Bottom };
    std::string target; // the menu edited (EDIT name)
    Place place = Bottom;
    std::string anchor; // the item AFTER/BEFORE names
    std::vector<MenuItem> items;
};

struct MenuFile {
    int version = 0;
    std::vector<MenuEdit> edits;
    std::vector<MenuDefinition> menus;
    std::vector<std::string> problems; // "line N: what", in file order
};

// Never fails: what cannot be understood is left out and named in `problems`.
MenuFile ParseMenuFile(const std::string& text);
