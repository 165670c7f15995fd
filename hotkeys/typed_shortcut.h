// The typed code and the settings the keystroke filter works from.
#pragma once

enum { TypedShortcutSize = 256, TypedShortcutMax = 5 };

extern char TypedShortcut[TypedShortcutSize];  // key names taken since the last reset
extern char LastShortcut[TypedShortcutSize];   // TypedShortcut after the latest append
extern int SpaceMode;                          // exactly 1: Space mode; else immediate
