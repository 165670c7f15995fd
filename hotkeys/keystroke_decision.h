// What becomes of one keystroke while shortcuts are on: the pass-through rules, the
// typed code's rules and the Space, Backspace and Esc handling, decided from the facts
// the hook procedure gathered and acting on the host only through a port of effects.
#pragma once

#include <windows.h>

#include "shortcut_lookup.h"

enum {
    KeyStateSize = 256,
    KeyNameSize = 256,
    FocusClassSize = 50,
    ForegroundTitleSize = 50,
    ClassNameCut = 12,
};

// The facts of one keystroke, as the system gives them; texts that could not be read
// are empty and match nothing.
struct Keystroke {
    int code;     // hook code
    WPARAM key;   // virtual-key code
    LPARAM flags; // repeat count, scan code, extended, previous state (30), transition (31)
    BYTE key_state[KeyStateSize]; // the thread's key state (GetKeyboardState), high bit: held
    bool focus_is_own; // the focused window is the plug-in's own (the editor or a control of it)
    char focus_class[FocusClassSize];           // focused window's class, cut to 12
    char foreground_title[ForegroundTitleSize]; // foreground window's title
    char key_name[KeyNameSize];                 // GetKeyNameTextA of the flags
};

// What the hook procedure does with the keystroke.
enum class KeystrokeVerdict {
    PassOn,      // CallNextHookEx with the keystroke as it came
    PassOnAsEsc, // CallNextHookEx with the key 27: Esc still reaches the host
    Swallow,     // return 1: the host never sees the key
};

// Everything the decision does to the world besides the typed code. The host's message
// runs a message loop, so show_message and look_up may enter the decision again.
struct KeystrokeEffects {
    void (*show_status)(const char* text);            // the host's status line
    void (*show_message)(const char* text, int flag); // the host's message box
    void (*look_up)(LookupVariant variant);           // ShortcutLookup
    void (*wait)(DWORD milliseconds);
};

// The pass-through rules fall into groups by the facts they need. Each answers
// true when the keystroke goes on to the host by its group; none has an effect, so the
// hook procedure may try the groups cheapest first and skip the dearer facts.
bool PassesByArguments(const Keystroke& keystroke);  // code, key and flags alone
bool PassesByKeyState(const Keystroke& keystroke);   // Shift, Ctrl, Alt or Enter held
bool PassesByFocus(const Keystroke& keystroke);      // the focused window: own, or its class
bool PassesByForeground(const Keystroke& keystroke); // the foreground window's title

// The whole decision for one keystroke: the offer of a keystroke already being decided
// is swallowed, then the pass-through rules in their order, then the taken key's effects
// on TypedShortcut and LastShortcut, the status line and the lookup.
KeystrokeVerdict DecideKeystroke(const Keystroke& keystroke, const KeystrokeEffects& effects);

// True while a message shown for this same keystroke may offer it again: such an offer
// needs no facts, DecideKeystroke swallows it.
bool IsOfferedAgain(const Keystroke& keystroke);

// The trace's name of the rule that decides the keystroke: the first pass-through rule
// in the order the hook procedure asks them, else what the taken key does. Asked before
// DecideKeystroke, with the facts the hook procedure gathered. The names are stable:
// admins read them in traces of every release.
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
const char* DecidingRuleName(const Keystroke& keystroke);
// True for the rules whose keystroke the host never sees.
bool RuleSwallows(const char* rule_name);
