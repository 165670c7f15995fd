// The keyboard hook procedure: gathers the facts of each keystroke and hands them to
// DecideKeystroke, with the host's status line, message box, the lookup and Sleep as
// its effects.
#pragma once

#include <windows.h>

// The WH_KEYBOARD procedure that EnableShortcuts installs.
LRESULT CALLBACK KeystrokeFilter(int code, WPARAM wParam, LPARAM lParam);
