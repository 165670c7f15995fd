// Shortcuts are on exactly while the thread keyboard hook is installed.
#pragma once

#include <windows.h>

extern HHOOK KeyboardHook;

// What a switch found and did.
enum class HookSwitch {
    AlreadySo, // the hook was installed (or absent) already; the user has been told
    Switched,  // this call installed (or removed) the hook
    Failed,    // the platform refused; nothing changed and nothing was said
};

// Installs the hook, or says that shortcuts are on already. The success message is the
// caller's to show: from the menu it waits until MODE has been recorded.
HookSwitch InstallKeyboardHook();
// Removes the hook, or says that shortcuts are not on.
HookSwitch RemoveKeyboardHook();
void AnnounceShortcutsOn();
void AnnounceShortcutsOff();

// Start-up: installs the hook and says so.
void EnableShortcuts();

// Removes the hook without a message: at unload, so that no hook procedure of the
// unloaded library stays in the chain, and after a switch-on that could not be recorded.
void RemoveKeyboardHookQuietly();
