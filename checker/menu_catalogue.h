// The buttons that the host's menu-script files (*.men) define, for the check of the
// table's button names and for the list a user picks names from. The reader knows the
// public menu-script statements that define buttons and their texts:
//
//   VERSION 120
//   EDIT UG_GATEWAY_MAIN_MENUBAR       (or CREATE ...; TOP_MENU, MENU name ... END_OF_MENU,
//   MENU MY_MENU                        AFTER / BEFORE name ... END_OF_AFTER / _BEFORE,
//     BUTTON MY_BUTTON                  MODIFY ... END_OF_MODIFY)
//     LABEL My button
//     ACTIONS MY_ACTION
//   END_OF_MENU
//
// BUTTON, TOGGLE_BUTTON and APPLICATION_BUTTON define a button, CASCADE_BUTTON a menu;
// LABEL and ACTIONS belong to the button above them; "!" starts a comment line. Other
// statements are passed over. Texts are kept as the file's bytes.
#pragma once

#include <string>
#include <vector>

struct MenuButton {
    std::string name;
    std::string label;
    std::string actions;
    bool cascade = false; // opens a menu rather than running a command
    std::string file;     // the file's path as found
    int line = 0;
};

// Reads one file's text (any line ends) into buttons.
void ReadMenuText(const std::string& text, const std::string& file,
                  std::vector<MenuButton>* buttons);

// Reads every *.men file of a folder, in name order. Returns 0, or the system's error
// code when the folder cannot be read; *files counts the menu files found.
unsigned long ReadMenuFolder(const std::string& folder, std::vector<MenuButton>* buttons,
                             int* files);

// True when the button's name or label holds the text, ASCII letter case ignored and
// only at whole characters (a GBK trail byte never starts a match).
bool ButtonMatches(const MenuButton& button, const std::string& text);
