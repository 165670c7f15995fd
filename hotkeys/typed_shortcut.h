// The typed code the keystroke filter builds, key name by key name.
#pragma once

enum { TypedShortcutSize = 256, TypedShortcutMax = 5 };

extern char TypedShortcut[TypedShortcutSize]; // key names taken since the last reset
extern char LastShortcut[TypedShortcutSize];  // TypedShortcut after the latest append

// Empties the whole buffer and shows the now empty code in the status line.
void ClearTypedShortcutAfterLaunch();
