#include "keystroke_filter.h"

#include <cstring>

#include "keyboard_hook.h"
#include "shortcut_lookup.h"
#include "shortcut_store.h"
#include "typed_shortcut.h"
#include "uf_host.h"

namespace {

// Focused-window classes whose keys are the host's own text input.
const char* const PassThroughClasses[] = {"Edit", "RICHEDIT50W"};
// Compared after the cut to 12 characters, so it matches every class that begins so.
const char WindowsFormsClass[] = "WindowsForms";
// Host dialogs, by their whole title, in which every key is the host's.
const char* const PassThroughTitles[] = {"关闭文件", "退出", "保存", "输入框", "刀路信息设置"};
// Names of the keys that steer the code; they are never part of it.
const char* const SteeringNames[] = {"Space", "Esc", "Backspace"};

const char SpaceHint[] = "请先输入快捷键，再按空格键!";

enum {
    KeyBackspace = 8,
    KeyEnter = 13,
    KeyEsc = 27,
    KeySpace = 32,
    HookNoRemove = 3, // HC_NOREMOVE: the message is only being peeked at
    PreviousStateBit = 1 << 30,
};

template <size_t N> bool IsOneOf(const char* text, const char* const (&list)[N]) {
    for (const char* entry : list)
        if (strcmp(text, entry) == 0)
            return true;
    return false;
}

// The system updates the thread's key state only after the hook has seen the key-down
// of a modifier, so "Shift held" is not yet true for the Shift key itself. Taken, it
// would put "Shift" into the code and spoil the next letter; like the keys it modifies,
// it belongs to the host.
bool IsModifierKey(WPARAM key) {
    return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU ||
           (key >= VK_LSHIFT && key <= VK_RMENU);
}

// Function keys F1 to F12, the navigation keys from Page Up to Delete, Enter, and the
// modifier keys themselves.
bool IsHostKey(WPARAM key) {
    return (key >= VK_F1 && key <= VK_F12) || (key >= VK_PRIOR && key <= VK_DELETE) ||
           key == KeyEnter || IsModifierKey(key);
}

// Peeks (negative codes and HC_NOREMOVE), auto-repeats and releases: a key is taken
// once, when it goes down.
bool IsNotAFirstKeyDown(int code, LPARAM flags) {
    return code < 0 || code == HookNoRemove || (flags & PreviousStateBit) != 0;
}

// The buffer never overflows: a name longer than the room left is cut. The length rule
// empties the buffer after any append beyond five characters, so the room is ample.
void AppendKeyName(const char* name) {
    size_t room = TypedShortcutSize - 1 - strlen(TypedShortcut);
    strncat(TypedShortcut, name, room);
}

void CopyLastIntoTyped() {
    strncpy(TypedShortcut, LastShortcut, TypedShortcutSize - 1);
    TypedShortcut[TypedShortcutSize - 1] = '\0';
}

KeystrokeVerdict SpaceModeKey(WPARAM key) {
    switch (key) {
    case KeySpace:
        if (TypedShortcut[0] == '\0') {
            if (LastShortcut[0] == '\0')
                uc1601(SpaceHint, 1);
            // The message runs a message loop: keys typed meanwhile were taken into the
            // buffer, and they are the user's newer intent.
            if (TypedShortcut[0] != '\0')
                return KeystrokeVerdict::Swallow;
            // Space on an empty code repeats the last one; the status line stays empty.
            CopyLastIntoTyped();
        }
        ShortcutLookup(LookupVariant::Space);
        return KeystrokeVerdict::Swallow;
    case KeyBackspace:
        ResetTypedShortcut();
        return KeystrokeVerdict::Swallow;
    case KeyEsc:
        if (TypedShortcut[0] != '\0')
            ResetTypedShortcut();
        return KeystrokeVerdict::PassOnAsEsc;
    default:
        return KeystrokeVerdict::Swallow;
    }
}

KeystrokeVerdict ImmediateModeKey() {
    if (TypedShortcut[0] != '\0') {
        Sleep(100);
        ShortcutLookup(LookupVariant::Immediate);
    }
    return KeystrokeVerdict::Swallow;
}

// The keystroke whose handling is under way. A message shown while it is handled runs
// a message loop, and the system offers that same keystroke to the hook again until the
// hook has returned for it; the offer is swallowed (the outer call decides the key), so
// that the loop moves on to the keys the user types meanwhile.
struct KeystrokeInProgress {
    bool active;
    WPARAM key;
    LPARAM flags;
};
KeystrokeInProgress InProgress = {false, 0, 0};

bool IsOfferedAgain(int code, WPARAM key, LPARAM flags) {
    return code == HC_ACTION && InProgress.active && InProgress.key == key &&
           InProgress.flags == flags;
}

} // namespace

bool PassesThrough(const Keystroke& k) {
    if (IsOneOf(k.focus_class, PassThroughClasses))
        return true;
    if (IsOneOf(k.foreground_title, PassThroughTitles))
        return true;
    if (strcmp(k.focus_class, WindowsFormsClass) == 0)
        return true;
    if (IsHostKey(k.key))
        return true;
    if (k.shift_held || k.ctrl_held || k.alt_held || k.enter_held)
        return true;
    return IsNotAFirstKeyDown(k.code, k.flags);
}

KeystrokeVerdict FilterKeystroke(const Keystroke& k) {
    if (PassesThrough(k))
        return KeystrokeVerdict::PassOn;

    char name[KeyNameSize] = {};
    // The key-name call takes the keystroke flags as a 32-bit value.
    GetKeyNameTextA(static_cast<LONG>(k.flags & 0xFFFFFFFF), name, KeyNameSize - 1);
    if (!IsOneOf(name, SteeringNames)) {
        AppendKeyName(name);
        UF_UI_set_status(TypedShortcut);
        memcpy(LastShortcut, TypedShortcut, sizeof LastShortcut);
    }
    if (strlen(TypedShortcut) > TypedShortcutMax)
        ResetTypedShortcut();

    if (SpaceMode == 1)
        return SpaceModeKey(k.key);
    return ImmediateModeKey();
}

LRESULT CALLBACK KeystrokeFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (IsOfferedAgain(code, wParam, lParam))
        return 1;
    // Every pass-through rule ends alike and none has an effect, so those that the hook's
    // own arguments decide come before the window and key-state queries, which are calls
    // into the window system: every key release and repeat passes here.
    if (IsHostKey(wParam) || IsNotAFirstKeyDown(code, lParam))
        return CallNextHookEx(KeyboardHook, code, wParam, lParam);

    Keystroke k = {};
    k.code = code;
    k.key = wParam;
    k.flags = lParam;
    k.shift_held = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    k.ctrl_held = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    k.alt_held = (GetKeyState(VK_MENU) & 0x8000) != 0;
    k.enter_held = (GetKeyState(VK_RETURN) & 0x8000) != 0;
    if (HWND focus = GetFocus())
        GetClassNameA(focus, k.focus_class, FocusClassSize);
    if (HWND foreground = GetForegroundWindow())
        GetWindowTextA(foreground, k.foreground_title, ForegroundTitleSize);
    k.focus_class[ClassNameCut] = '\0';

    KeystrokeVerdict verdict = KeystrokeVerdict::PassOn;
    KeystrokeInProgress outer = InProgress;
    if (code == HC_ACTION)
        InProgress = {true, wParam, lParam};
    try {
        verdict = FilterKeystroke(k);
    } catch (...) {
        // Nothing may unwind into the system's hook dispatch; the key goes on.
    }
    InProgress = outer;
    switch (verdict) {
    case KeystrokeVerdict::Swallow:
        return 1;
    case KeystrokeVerdict::PassOnAsEsc:
        return CallNextHookEx(KeyboardHook, code, KeyEsc, lParam);
    case KeystrokeVerdict::PassOn:
        break;
    }
    return CallNextHookEx(KeyboardHook, code, wParam, lParam);
}
