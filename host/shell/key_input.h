// Keys by name, pressed through SendInput as a user's keyboard would press them:
// "A", "7", "Space", "Esc", "Backspace", "Enter", "Tab", "F1".."F12", "Left", "Home",
// "Delete", "Caps Lock" ..., with modifiers "Shift+", "Ctrl+", "Alt+" in front.
#pragma once

#include <string>

// Presses and releases the key (modifiers down first, up last). False when the name
// names no key.
bool PressKey(const std::string& spec);
// The key a character of `type` text is typed with ("A" for 'a' and 'A'); empty when
// there is none.
std::string KeyOfCharacter(char c);
