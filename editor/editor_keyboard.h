// The editors' dialog keys inside any host. A modeless dialog gets Tab, Shift+Tab and
// Esc only from a message loop that calls IsDialogMessage for it, and the host's own
// loop does not know the plug-in's windows; a message hook on the host's thread does
// it for them while an editor exists.
#pragma once

#include <windows.h>

// Gives the editor window its dialog keys; installs the hook with the first editor.
void AttachEditorKeyboard(HWND editor);
// Removes the hook and forgets every editor (unload).
void DetachEditorKeyboard();
