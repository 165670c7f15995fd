#include "keystroke_decision.h"

#include <cstring>

#include "typed_code_rules.h"

namespace {

// Focused-window classes whose keys are the host's own text input.
const char* const PassThroughClasses[] = {"Edit", "RICHEDIT50W"};
// Compared after the cut to 12 characters, so it matches every class that begins so.
const char WindowsFormsClass[] = "WindowsForms";
// Host dialogs, by their whole title, in which every key is the host's.
const char* const PassThroughTitles[] = {"关闭文件", "退出", "保存", "输入框", "刀路信息设置"};

const char SpaceHint[] = "请先输入快捷键，再按空格键!";

enum {
    KeyBackspace = 8,
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

// One keystroke under decision: its facts, each asked of the port the first time a rule
// needs it, so the rules ask in their own order and never twice.
struct Asking {
    KeystrokeFacts& facts;
    KeystrokePort& port;
    TypedCode& typed;
    int space_mode;

    bool Held(int key) {
        if (!facts.has_key_state) {
            port.ReadKeyState(facts.key_state);
            facts.has_key_state = true;
        }
        return (facts.key_state[key] & HeldBit) != 0;
    }
    bool FocusIsOwn() {
        if (!facts.has_focus_is_own) {
            facts.focus_is_own = port.FocusIsOwn();
            facts.has_focus_is_own = true;
        }
        return facts.focus_is_own;
    }
    const char* FocusClass() {
        if (!facts.has_focus_class) {
            port.ReadFocusClass(facts.focus_class);
            facts.focus_class[ClassNameCut] = '\0';
            facts.has_focus_class = true;
        }
        return facts.focus_class;
    }
    const char* ForegroundTitle() {
        if (!facts.has_foreground_title) {
            port.ReadForegroundTitle(facts.foreground_title);
            facts.foreground_title[ForegroundTitleSize - 1] = '\0';
            facts.has_foreground_title = true;
        }
        return facts.foreground_title;
    }
    const char* KeyName() {
        if (!facts.has_key_name) {
            port.ReadKeyName(facts.key_name);
            facts.key_name[KeyNameSize - 1] = '\0';
            facts.has_key_name = true;
        }
        return facts.key_name;
    }
};

bool IsOfferedAgain(Asking& a) {
    const KeystrokeInProgress& p = a.typed.in_progress;
    return a.facts.code == HC_ACTION && p.active && p.key == a.facts.key &&
           p.flags == a.facts.flags;
}

// Peeks (negative codes and HC_NOREMOVE), auto-repeats and releases: a key is taken
// once, when it goes down.
bool IsNotAFirstKeyDown(Asking& a) {
    return a.facts.code < 0 || a.facts.code == HookNoRemove ||
           (a.facts.flags & PreviousStateBit) != 0;
}

// In Space mode an Esc that finds the code empty has nothing to empty and goes on as it
// came, whatever the key state and the windows: every later rule would pass it on alike.
// Its name is asked all the same: a key 27 named otherwise is a code key.
bool IsEscOnEmptyCode(Asking& a) {
    return a.space_mode == 1 && a.facts.key == KeyEsc && a.typed.TypedShortcut[0] == '\0' &&
           IsSteeringKeyName(a.KeyName());
}

bool IsKeyHeld(Asking& a) {
    return a.Held(VK_SHIFT) || a.Held(VK_CONTROL) || a.Held(VK_MENU) || a.Held(VK_RETURN);
}

// Keys for the plug-in's own editor (Tab and Esc among them) are the editor's, never a
// typed code.
bool IsInOwnWindow(Asking& a) {
    return a.FocusIsOwn();
}

bool IsInTextField(Asking& a) {
    return IsOneOf(a.FocusClass(), PassThroughClasses);
}

bool IsInFormsField(Asking& a) {
    return strcmp(a.FocusClass(), WindowsFormsClass) == 0;
}

bool IsUnderHostDialog(Asking& a) {
    return IsOneOf(a.ForegroundTitle(), PassThroughTitles);
}

bool IsTheHostsKey(Asking& a) {
    return IsKeyLeftToHost(a.facts.key);
}

struct PassRule {
    KeystrokeRule rule;
    bool (*holds)(Asking& a);
    KeystrokeVerdict verdict;
};

// The rules that decide a keystroke before any of it is taken, in order. The cheap ones
// come first: the hook's own arguments decide every release and repeat, and a window is
// asked about only once nothing cheaper has decided.
const PassRule PassRules[] = {
    {KeystrokeRule::OfferedAgain, IsOfferedAgain, KeystrokeVerdict::Swallow},
    {KeystrokeRule::HostKey, IsTheHostsKey, KeystrokeVerdict::PassOn},
    {KeystrokeRule::NotFirstDown, IsNotAFirstKeyDown, KeystrokeVerdict::PassOn},
    {KeystrokeRule::EscOnEmptyCode, IsEscOnEmptyCode, KeystrokeVerdict::PassOnAsEsc},
    {KeystrokeRule::KeyHeld, IsKeyHeld, KeystrokeVerdict::PassOn},
    {KeystrokeRule::OwnWindow, IsInOwnWindow, KeystrokeVerdict::PassOn},
    {KeystrokeRule::TextField, IsInTextField, KeystrokeVerdict::PassOn},
    {KeystrokeRule::FormsField, IsInFormsField, KeystrokeVerdict::PassOn},
    {KeystrokeRule::HostDialog, IsUnderHostDialog, KeystrokeVerdict::PassOn},
};

KeystrokeRule TakenKeyRule(WPARAM key, int space_mode) {
    if (space_mode != 1)
        return KeystrokeRule::Immediate;
    switch (key) {
    case KeySpace:
        return KeystrokeRule::Space;
    case KeyBackspace:
        return KeystrokeRule::Backspace;
    case KeyEsc:
        return KeystrokeRule::Esc;
    default:
        return KeystrokeRule::CodeKey;
    }
}

// The status line first, then the buffer: the order the host sees.
void ResetTypedShortcut(Asking& a) {
    a.port.ShowStatus("");
    memset(a.typed.TypedShortcut, 0, sizeof a.typed.TypedShortcut);
}

// The buffer never overflows: a name longer than the room left is cut. The length rule
// empties the buffer after any append beyond five characters, so the room is ample.
void AppendKeyName(char (&typed)[TypedShortcutSize], const char* name) {
    size_t used = strlen(typed);
    size_t length = strnlen(name, TypedShortcutSize - 1 - used);
    memcpy(typed + used, name, length);
    typed[used + length] = '\0';
}

void CopyLastIntoTyped(TypedCode& t) {
    strncpy(t.TypedShortcut, t.LastShortcut, TypedShortcutSize - 1);
    t.TypedShortcut[TypedShortcutSize - 1] = '\0';
}

KeystrokeVerdict SpaceModeKey(Asking& a) {
    TypedCode& t = a.typed;
    switch (a.facts.key) {
    case KeySpace:
        if (t.TypedShortcut[0] == '\0') {
            if (t.LastShortcut[0] == '\0')
                a.port.ShowMessage(SpaceHint, MessageNotice);
            // The message runs a message loop: keys typed meanwhile were taken into the
            // buffer, and they are the user's newer intent.
            if (t.TypedShortcut[0] != '\0')
                return KeystrokeVerdict::Swallow;
            // Space on an empty code repeats the last one; the status line stays empty.
            CopyLastIntoTyped(t);
        }
        a.port.LookUp(LookupVariant::Space);
        return KeystrokeVerdict::Swallow;
    case KeyBackspace:
        ResetTypedShortcut(a);
        return KeystrokeVerdict::Swallow;
    case KeyEsc:
        if (t.TypedShortcut[0] != '\0')
            ResetTypedShortcut(a);
        return KeystrokeVerdict::PassOnAsEsc;
    default:
        return KeystrokeVerdict::Swallow;
    }
}

KeystrokeVerdict ImmediateModeKey(Asking& a) {
    if (a.typed.TypedShortcut[0] != '\0') {
        a.port.Wait(ImmediateWait);
        a.port.LookUp(LookupVariant::Immediate);
    }
    return KeystrokeVerdict::Swallow;
}

KeystrokeVerdict TakeKey(Asking& a) {
    TypedCode& t = a.typed;
    if (!IsSteeringKeyName(a.facts.key_name)) {
        AppendKeyName(t.TypedShortcut, a.facts.key_name);
        a.port.ShowStatus(t.TypedShortcut);
        memcpy(t.LastShortcut, t.TypedShortcut, sizeof t.LastShortcut);
    }
    if (strlen(t.TypedShortcut) > TypedShortcutMax)
        ResetTypedShortcut(a);

    if (a.space_mode == 1)
        return SpaceModeKey(a);
    return ImmediateModeKey(a);
}

// Marks a keystroke in progress for as long as it is decided, and restores the outer
// one however the decision ends. Its second offer is swallowed (the outer call decides
// the key), so that the message loop moves on to the keys the user types meanwhile.
class InProgressScope {
  public:
    InProgressScope(const KeystrokeFacts& k, TypedCode& typed)
        : typed_(typed), outer_(typed.in_progress) {
        if (k.code == HC_ACTION)
            typed.in_progress = {true, k.key, k.flags};
    }
    ~InProgressScope() { typed_.in_progress = outer_; }
    InProgressScope(const InProgressScope&) = delete;
    InProgressScope& operator=(const InProgressScope&) = delete;

  private:
    TypedCode& typed_;
    KeystrokeInProgress outer_;
};

} // namespace

KeystrokeVerdict DecideKeystroke(int code, WPARAM key, LPARAM flags, int space_mode,
                                 TypedCode& typed, KeystrokePort& port) {
    KeystrokeFacts facts = {};
    facts.code = code;
    facts.key = key;
    facts.flags = flags;
    Asking a = {facts, port, typed, space_mode};
    for (const PassRule& r : PassRules) {
        if (r.holds(a)) {
            port.Decided(r.rule, facts);
            return r.verdict;
        }
    }
    a.KeyName();
    port.Decided(TakenKeyRule(key, space_mode), facts);
    InProgressScope in_progress(facts, typed);
    return TakeKey(a);
}

const char* DecidingRuleName(KeystrokeRule rule) {
    switch (rule) {
    case KeystrokeRule::OfferedAgain:
        return "offered-again";
    case KeystrokeRule::HostKey:
        return "host-key";
    case KeystrokeRule::NotFirstDown:
        return "not-first-down";
    case KeystrokeRule::KeyHeld:
        return "key-held";
    case KeystrokeRule::OwnWindow:
        return "own-window";
    case KeystrokeRule::TextField:
        return "text-field";
    case KeystrokeRule::FormsField:
        return "forms-field";
    case KeystrokeRule::HostDialog:
        return "host-dialog";
    case KeystrokeRule::Space:
        return "space";
    case KeystrokeRule::Backspace:
        return "backspace";
    case KeystrokeRule::EscOnEmptyCode:
    case KeystrokeRule::Esc:
        return "esc";
    case KeystrokeRule::CodeKey:
        return "code-key";
    case KeystrokeRule::Immediate:
        return "immediate";
    }
    return "?";
}

bool RuleSwallows(KeystrokeRule rule) {
    switch (rule) {
    case KeystrokeRule::OfferedAgain:
    case KeystrokeRule::Space:
    case KeystrokeRule::Backspace:
    case KeystrokeRule::CodeKey:
    case KeystrokeRule::Immediate:
        return true;
    default:
        return false;
    }
}
