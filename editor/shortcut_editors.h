// Every editor the define action makes, owned by the plug-in until unload.
#pragma once

#include <windows.h>

// FENNOR_KEY_DEFINE: makes a new editor from the template in `module`, owned by `owner`,
// and shows it.
void OpenShortcutEditor(HINSTANCE module, HWND owner);
// Unload: destroys every editor made, not only the newest.
void DestroyAllShortcutEditors();
