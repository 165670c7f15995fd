#include "keystroke_decision.h"

#include <cstring>

#include "shortcut_store.h"
#include "typed_shortcut.h"

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
    HeldBit = 0x80,
    MessageNotice = 1,
    ImmediateWait = 100, // milliseconds before each lookup in immediate mode
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

bool IsHeld(const Keystroke& k, int key) {
    return (k.key_state[key] & HeldBit) != 0;
}

// In their order: the plug-in's own window, focused class and foreground title, the key
// code, the key state, the hook code and the flags. Every rule ends alike, so no one can
// tell the order apart. Keys for the plug-in's own editor (Tab and Esc among them) are
// the editor's, never a typed code.
bool PassesThrough(const Keystroke& k) {
    return k.focus_is_own || IsOneOf(k.focus_class, PassThroughClasses) || PassesByForeground(k) ||
           strcmp(k.focus_class, WindowsFormsClass) == 0 || IsHostKey(k.key) ||
           PassesByKeyState(k) || IsNotAFirstKeyDown(k.code, k.flags);
}

// The status line first, then the buffer: the order the host sees.
void ResetTypedShortcut(const KeystrokeEffects& effects) {
    effects.show_status("");
    memset(TypedShortcut, 0, sizeof TypedShortcut);
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

KeystrokeVerdict SpaceModeKey(WPARAM key, const KeystrokeEffects& effects) {
    switch (key) {
    case KeySpace:
        if (TypedShortcut[0] == '\0') {
            if (LastShortcut[0] == '\0')
                effects.show_message(SpaceHint, MessageNotice);
            // The message runs a message loop: keys typed meanwhile were taken into the
            // buffer, and they are the user's newer intent.
            if (TypedShortcut[0] != '\0')
                return KeystrokeVerdict::Swallow;
            // Space on an empty code repeats the last one; the status line stays empty.
            CopyLastIntoTyped();
        }
        effects.look_up(LookupVariant::Space);
        return KeystrokeVerdict::Swallow;
    case KeyBackspace:
        ResetTypedShortcut(effects);
        return KeystrokeVerdict::Swallow;
    case KeyEsc:
        if (TypedShortcut[0] != '\0')
            ResetTypedShortcut(effects);
        return KeystrokeVerdict::PassOnAsEsc;
    default:
        return KeystrokeVerdict::Swallow;
    }
}

KeystrokeVerdict ImmediateModeKey(const KeystrokeEffects& effects) {
    if (TypedShortcut[0] != '\0') {
        effects.wait(ImmediateWait);
        effects.look_up(LookupVariant::Immediate);
    }
    return KeystrokeVerdict::Swallow;
}

KeystrokeVerdict TakeKey(const Keystroke& k, const KeystrokeEffects& effects) {
    if (!IsOneOf(k.key_name, SteeringNames)) {
        AppendKeyName(k.key_name);
        effects.show_status(TypedShortcut);
        memcpy(LastShortcut, TypedShortcut, sizeof LastShortcut);
    }
    if (strlen(TypedShortcut) > TypedShortcutMax)
        ResetTypedShortcut(effects);

    if (SpaceMode == 1)
        return SpaceModeKey(k.key, effects);
    return ImmediateModeKey(effects);
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

// Marks a keystroke in progress for as long as it is decided, and restores the outer
// one however the decision ends.
class InProgressScope {
  public:
    explicit InProgressScope(const Keystroke& k) : outer_(InProgress) {
        if (k.code == HC_ACTION)
            InProgress = {true, k.key, k.flags};
    }
    ~InProgressScope() { InProgress = outer_; }
    InProgressScope(const InProgressScope&) = delete;
    InProgressScope& operator=(const InProgressScope&) = delete;

  private:
    KeystrokeInProgress outer_;
};

} // namespace

bool PassesByArguments(const Keystroke& k) {
    return IsHostKey(k.key) || IsNotAFirstKeyDown(k.code, k.flags);
}

bool PassesByKeyState(const Keystroke& k) {
    return IsHeld(k, VK_SHIFT) || IsHeld(k, VK_CONTROL) || IsHeld(k, VK_MENU) ||
           IsHeld(k, VK_RETURN);
}

bool PassesByFocus(const Keystroke& k) {
    return k.focus_is_own || IsOneOf(k.focus_class, PassThroughClasses) ||
           strcmp(k.focus_class, WindowsFormsClass) == 0;
}

bool PassesByForeground(const Keystroke& k) {
    return IsOneOf(k.foreground_title, PassThroughTitles);
}

bool IsOfferedAgain(const Keystroke& k) {
    return k.code == HC_ACTION && InProgress.active && InProgress.key == k.key &&
           InProgress.flags == k.flags;
}

KeystrokeVerdict DecideKeystroke(const Keystroke& k, const KeystrokeEffects& effects) {
    if (IsOfferedAgain(k))
        return KeystrokeVerdict::Swallow;
    if (PassesThrough(k))
        return KeystrokeVerdict::PassOn;
    InProgressScope in_progress(k);
    return TakeKey(k, effects);
}

const char* DecidingRuleName(const Keystroke& k) {
    if (IsOfferedAgain(k))
        return "offered-again";
    if (IsHostKey(k.key))
        return "host-key";
    if (IsNotAFirstKeyDown(k.code, k.flags))
        return "not-first-down";
    if (PassesByKeyState(k))
        return "key-held";
    if (k.focus_is_own)
        return "own-window";
    if (IsOneOf(k.focus_class, PassThroughClasses))
        return "text-field";
    if (strcmp(k.focus_class, WindowsFormsClass) == 0)
        return "forms-field";
    if (PassesByForeground(k))
        return "host-dialog";
    if (SpaceMode != 1)
        return "immediate";
    switch (k.key) {
    case KeySpace:
        return "space";
    case KeyBackspace:
        return "backspace";
    case KeyEsc:
        return "esc";
    default:
        return "code-key";
    }
}

bool RuleSwallows(const char* rule) {
    const char* const swallowing[] = {"offered-again", "space", "backspace", "code-key",
                                      "immediate"};
    return IsOneOf(rule, swallowing);
}
