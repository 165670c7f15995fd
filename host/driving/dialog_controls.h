// Finding a program's windows and driving its dialogs as a user does, by caption and
// control id: setting texts, choosing combo-box strings, clicking buttons. Texts are
// read and set through the window's own messages, so that the calls work as well on
// the windows of another process, whose edit fields a cached caption would not show.
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
// The visible top-level windows of a process (0: of every process), from the top down.
std::vector<HWND> VisibleTopWindows(DWORD process = 0);
// The visible controls of this window class at any depth under `window` (the controls
// of a dialog's pages, say), in the order the system lists them.
std::vector<HWND> VisibleControls(HWND window, const std::string& class_name);

bool SetText(HWND control, const std::string& text);
bool DialogSetText(HWND dialog, int id, const std::string& text);
std::string DialogText(HWND dialog, int id);
// Selects the string in combo box `id` (0: the dialog's first combo box) and tells
// the dialog, as choosing it with the mouse does. False when the box lacks it.
bool DialogSelectString(HWND dialog, int id, const std::string& text);
// BM_CLICK: the button's own click, with the notification a mouse click sends.
bool Click(HWND button);
bool DialogClick(HWND dialog, int id);
// The command of button `id`, posted: returns at once, where a click waits for a box
// the dialog opens in answer to be closed.
bool DialogPostCommand(HWND dialog, int id);
// Clicks the check box when its state differs from `on`.
bool DialogCheck(HWND dialog, int id, bool on);

} // namespace driving
