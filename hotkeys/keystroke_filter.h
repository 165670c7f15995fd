// The keyboard hook procedure: the port through which the keystroke decision asks the
// window system for the facts of each keystroke and reaches the host.
#pragma once

#include <windows.h>

// The WH_KEYBOARD procedure that EnableShortcuts installs.
LRESULT CALLBACK KeystrokeFilter(int code, WPARAM wParam, LPARAM lParam);
