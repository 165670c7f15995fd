// What becomes of one keystroke while shortcuts are on: the pass-through rules, the
// typed code's rules and the Space, Backspace and Esc handling, written once as one list
// of rules. The rules ask for the facts they need through the port, and the port does
// all the decision does to the host.
#pragma once

#include <windows.h>

#include "keystroke_port.h"
#include "typed_shortcut.h"

// What the hook procedure does with the keystroke.
enum class KeystrokeVerdict {
    PassOn,      // CallNextHookEx with the keystroke as it came
    PassOnAsEsc, // CallNextHookEx with the key 27: Esc still reaches the host
    Swallow,     // return 1: the host never sees the key
};

// The whole decision for one keystroke (hook code, virtual key, flags), in the mode
// space_mode gives (exactly 1: Space mode). The first rule that holds decides; the
// port is told which before any effect on the typed code, the status line or the lookup.
KeystrokeVerdict DecideKeystroke(int code, WPARAM key, LPARAM flags, int space_mode,
                                 TypedCode& typed, KeystrokePort& port);

// The trace's name of a rule. The names are stable: admins read them in traces of every
// release.
//   offered-again  the keystroke being decided, offered again: swallowed
//   host-key       F1-F12, Page Up to Delete, Enter, a modifier key: passed on
//   not-first-down a peek, a repeat or a release: passed on
//   key-held       Shift, Ctrl, Alt or Enter held: passed on
//   own-window     the focus is in the plug-in's own window: passed on
//   text-field     the focus is in a text field (Edit, RICHEDIT50W): passed on
//   forms-field    the focus is in a WindowsForms control: passed on
//   host-dialog    the foreground window is one of the named host dialogs: passed on
//   space          Space mode, Space: looked up (or the last code repeated): swallowed
//   backspace      Space mode, Backspace: the code emptied: swallowed
//   esc            Space mode, Esc: the code emptied, Esc passed on to the host
//   code-key       Space mode, any other key: taken into the code: swallowed
//   immediate      immediate mode: taken into the code and looked up: swallowed
const char* DecidingRuleName(KeystrokeRule rule);
// True for the rules whose keystroke the host never sees.
bool RuleSwallows(KeystrokeRule rule);
