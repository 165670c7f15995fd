// Keys pressed through SendInput, as a user's keyboard presses them: the events pass
// the system's input queue, so the thread's keyboard hooks and the focus rules apply.
// Names: "A", "7", "Space", "Esc", "Backspace", "Enter", "Tab", "F1".."F24", "Num0",
// "Left", "Home", "Delete", "Caps Lock" ..., with "Shift+", "Ctrl+", "Alt+" in front.
#pragma once

#include <windows.h>

#include <string>

namespace driving {

// One key event, with the key's scan code and, for the keys that carry it on a
// standard keyboard, the extended flag. Returns at once: the event reaches the
// thread's queue a moment later.
bool SendKeyEvent(WORD vk, bool up);

// One key event, then the thread's messages are pumped for InputSettleMs, so that
// the hooks and the focused window have seen it when the call returns.
void KeyDown(WORD vk);
void KeyUp(WORD vk);
void PressKey(WORD vk); // down, then up
// A key pressed while another (a modifier, or any key) is held.
void PressWith(WORD held, WORD vk);
// Each character as the virtual key of its own code, one press each: 'A'..'Z' and
// '0'..'9' are those keys, ' ' is Space.
void TypeKeys(const std::string& keys);

// The virtual key a name names; false when it names none.
bool KeyOfName(const std::string& name, WORD* vk);
// Presses and releases the named key, modifiers down first and up last, in one
// SendInput call; nothing is pumped. False when a name names no key.
bool PressNamedKey(const std::string& spec);
// The name of the key a character of typed text is typed with ("A" for 'a' and 'A');
// empty when there is none.
std::string KeyOfCharacter(char c);

} // namespace driving
