// The typed code the keystroke decision builds, key name by key name, and the keystroke
// being decided while a message of its own is open.
#pragma once

#include <windows.h>

#include "keystroke_port.h"
#include "shortcut_store.h"

enum { TypedShortcutSize = 256, TypedShortcutMax = ShortcutTextMax };

struct KeystrokeInProgress {
    bool active;
    WPARAM key;
    LPARAM flags;
};

struct TypedCode {
    char TypedShortcut[TypedShortcutSize]; // key names taken since the last reset
    char LastShortcut[TypedShortcutSize];  // TypedShortcut after the latest append
    // A message shown while a keystroke is handled runs a message loop, and the system
    // offers that same keystroke to the hook again until the hook has returned for it.
    KeystrokeInProgress in_progress;
};

// The typed code of the host's UI thread, the one the keyboard hook serves.
extern TypedCode HostTypedCode;

// Empties the whole buffer and shows the now empty code in the status line.
void ClearTypedShortcutAfterLaunch(TypedCode& typed, KeystrokePort& port);
