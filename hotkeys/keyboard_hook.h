// Shortcuts are on exactly while the thread keyboard hook is installed.
#pragma once

#include <windows.h>

extern HHOOK KeyboardHook;

void EnableShortcuts();
void DisableShortcuts();
// Unload: removes the hook without a message, so no hook procedure of the unloaded
// library stays in the chain.
void RemoveKeyboardHookAtUnload();
