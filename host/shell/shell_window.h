// The host shell's main window around the core's host window: the menu bar, a command
// log, the listing window and the status line (the core's), and the message loop.
#pragma once

#include <windows.h>

#include "host_core.h"

// Adds the shell's children to the core's main window and takes over its closing
// (closing ends the message loop; the shell then unloads the plug-in).
void ShellWindow_Attach(HWND main, HMENU menu);
// Record observer: mirrors listing writes and the commands run into the window.
void ShellWindow_Observe(const HostEvent* event);
// Gives the keyboard focus back to the main window itself, where typed codes go.
void ShellWindow_FocusMain();

// Dispatches the thread's messages for at least `milliseconds` and until none is
// waiting. Returns false once WM_QUIT has been seen (it is posted again, so outer
// loops see it too).
bool ShellPump(DWORD milliseconds);
// The message loop of a shell used by hand; returns when the main window is closed.
void ShellMessageLoop();
