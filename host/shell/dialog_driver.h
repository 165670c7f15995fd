// Driving dialogs as a user does, by caption and control id: setting texts, choosing
// combo-box strings, clicking buttons, reading list views. Knows nothing of any
// particular dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The visible top-level window of this thread with exactly this caption (GBK).
HWND FindWindowByCaption(const std::string& caption);
// The visible dialog of this thread nearest the top that is not a message box.
HWND TopDialog();
bool IsMessageBoxWindow(HWND window);

bool DialogSetText(HWND dialog, int id, const std::string& text);
std::string DialogText(HWND dialog, int id);
// Selects the string in combo box `id` (0: the dialog's first combo box) and tells
// the dialog, as choosing it with the mouse does.
bool DialogSelectString(HWND dialog, int id, const std::string& text);
bool DialogClick(HWND dialog, int id);
// Clicks the check box when its state differs from `on`.
bool DialogCheck(HWND dialog, int id, bool on);
// Rows of a report list view, columns joined by " | ".
bool DialogListRows(HWND dialog, int id, std::vector<std::string>* rows);
// Selects one row of a list view and sends the click notification a mouse click sends.
bool DialogClickRow(HWND dialog, int id, int row);

// While on, message boxes of this thread are noted in the record and answered with
// OK (Cancel when there is no OK), so that a script never waits on one.
void AnswerMessageBoxes(bool on);
