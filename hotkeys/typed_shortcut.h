// The typed code the keystroke filter builds, key name by key name.
#pragma once

#include "shortcut_store.h"

enum { TypedShortcutSize = 256, TypedShortcutMax = ShortcutTextMax };

extern char TypedShortcut[TypedShortcutSize]; // key names taken since the last reset
extern char LastShortcut[TypedShortcutSize];  // TypedShortcut after the latest append

// Empties the whole buffer and shows the now empty code in the status line.
void ClearTypedShortcutAfterLaunch();
