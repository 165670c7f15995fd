// The keyboard hook procedure: decides, key by key, whether a keystroke goes on to the
// host or is taken into the typed code.
#pragma once

#include <windows.h>

enum { KeyNameSize = 256, FocusClassSize = 50, ForegroundTitleSize = 50, ClassNameCut = 12 };

// The facts of one keystroke, gathered by the hook procedure before anything is judged.
struct Keystroke {
    int code;        // hook code
    WPARAM key;      // virtual-key code
    LPARAM flags;    // repeat count, scan code, extended, previous state (30), transition (31)
    bool shift_held; // GetKeyState high bits
    bool ctrl_held;
    bool alt_held;
    bool enter_held;
    char focus_class[FocusClassSize];           // focused window's class, cut to 12
    char foreground_title[ForegroundTitleSize]; // foreground window's title
};

// What the hook procedure does with the keystroke.
enum class KeystrokeVerdict {
    PassOn,      // CallNextHookEx with the keystroke as it came
    PassOnAsEsc, // CallNextHookEx with the key 27: Esc still reaches the host
    Swallow,     // return 1: the host never sees the key
};

// True when the keystroke belongs to the host: the pass-through rules, in their order.
bool PassesThrough(const Keystroke& keystroke);

// The whole decision for one keystroke, with its effects on the typed code, the status
// line and the lookup.
KeystrokeVerdict FilterKeystroke(const Keystroke& keystroke);

// The WH_KEYBOARD procedure that EnableShortcuts installs.
LRESULT CALLBACK KeystrokeFilter(int code, WPARAM wParam, LPARAM lParam);
