// Finding a program's windows and driving its dialogs as a user does, by caption and
// control id: setting texts, choosing combo-box strings, clicking buttons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driving {

std::string WindowText(HWND window);
std::string WindowClass(HWND window);

// The top-level windows of this thread with exactly this caption, shown or not, from
// the top down.
std::vector<HWND> ThreadWindowsWithCaption(const std::string& caption);
// The visible top-level window of this thread with exactly this caption.
HWND FindWindowByCaption(const std::string& caption);
// The visible dialog of this thread nearest the top that is not a message box.
HWND TopDialog();

bool DialogSetText(HWND dialog, int id, const std::string& text);
std::string DialogText(HWND dialog, int id);
// Selects the string in combo box `id` (0: the dialog's first combo box) and tells
// the dialog, as choosing it with the mouse does. False when the box lacks it.
bool DialogSelectString(HWND dialog, int id, const std::string& text);
// BM_CLICK: the button's own click, with the notification a mouse click sends.
bool DialogClick(HWND dialog, int id);
// Clicks the check box when its state differs from `on`.
bool DialogCheck(HWND dialog, int id, bool on);

} // namespace driving
