// The keystroke decision on its own: the facts of one keystroke in, the verdict, the
// typed code after and the effects out, in order. The effects are recorded instead of
// reaching a host; a message or lookup effect may type a key meanwhile, as the host's
// message loop lets the user do.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "keystroke_decision.h"
#include "shortcut_store.h"
#include "typed_shortcut.h"

namespace {

typedef std::vector<std::string> Effects;

const std::string Hint = "message 请先输入快捷键，再按空格键! 1";

// The facts of a first key-down of vk, named name, with nothing held and no window.
Keystroke Key(WPARAM vk, const char* name) {
    Keystroke k = {};
    k.code = HC_ACTION;
    k.key = vk;
    k.flags = 1 | (static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(vk), 0)) << 16);
    snprintf(k.key_name, sizeof k.key_name, "%s", name);
    return k;
}
Keystroke Held(Keystroke k, int vk) {
    k.key_state[vk] = 0x80;
    return k;
}
Keystroke InClass(Keystroke k, const char* focus_class) {
    snprintf(k.focus_class, sizeof k.focus_class, "%s", focus_class);
    return k;
}
Keystroke InOwnWindow(Keystroke k) {
    k.focus_is_own = true;
    return k;
}
Keystroke Under(Keystroke k, const char* title) {
    snprintf(k.foreground_title, sizeof k.foreground_title, "%s", title);
    return k;
}
Keystroke WithCode(Keystroke k, int code) {
    k.code = code;
    return k;
}
Keystroke Repeated(Keystroke k) {
    k.flags |= 1 << 30;
    return k;
}

const Keystroke A = Key('A', "A");
const Keystroke F = Key('F', "F");
const Keystroke Q = Key('Q', "Q");
const Keystroke Space = Key(VK_SPACE, "Space");
const Keystroke Esc = Key(VK_ESCAPE, "Esc");
const Keystroke Backspace = Key(VK_BACK, "Backspace");

const char* VerdictName(KeystrokeVerdict verdict) {
    switch (verdict) {
    case KeystrokeVerdict::PassOn:
        return "pass";
    case KeystrokeVerdict::PassOnAsEsc:
        return "pass as Esc";
    case KeystrokeVerdict::Swallow:
        return "swallow";
    }
    return "?";
}

// The recorded world of one case.
Effects Recorded;
// A key the user types while the next message (or lookup) runs its loop.
const Keystroke* TypedDuringMessage = nullptr;
const Keystroke* TypedDuringLookup = nullptr;

void RecordStatus(const char* text) {
    Recorded.push_back(std::string("status ") + text);
}
void RecordMessage(const char* text, int flag);
void RecordLookup(LookupVariant variant);
void RecordWait(DWORD milliseconds) {
    Recorded.push_back("wait " + std::to_string(milliseconds));
}

const KeystrokeEffects RecordingEffects = {RecordStatus, RecordMessage, RecordLookup, RecordWait};

void TypeMeanwhile(const Keystroke*& pending) {
    if (!pending)
        return;
    const Keystroke* k = pending;
    pending = nullptr;
    KeystrokeVerdict inner = DecideKeystroke(*k, RecordingEffects);
    Recorded.push_back(std::string("meanwhile ") + k->key_name + ": " + VerdictName(inner));
}

void RecordMessage(const char* text, int flag) {
    Recorded.push_back(std::string("message ") + text + " " + std::to_string(flag));
    TypeMeanwhile(TypedDuringMessage);
}

void RecordLookup(LookupVariant variant) {
    Recorded.push_back(variant == LookupVariant::Space ? "lookup Space" : "lookup immediate");
    TypeMeanwhile(TypedDuringLookup);
}

struct DecisionCase {
    const char* what;
    int space_mode;
    const char* typed; // TypedShortcut before
    const char* last;  // LastShortcut before
    Keystroke key;
    KeystrokeVerdict verdict;
    const char* typed_after;
    const char* last_after;
    Effects effects;
    const Keystroke* during_message = nullptr;
    const Keystroke* during_lookup = nullptr;
};

const KeystrokeVerdict Pass = KeystrokeVerdict::PassOn;
const KeystrokeVerdict PassAsEsc = KeystrokeVerdict::PassOnAsEsc;
const KeystrokeVerdict Swallow = KeystrokeVerdict::Swallow;

void Check(const DecisionCase& c) {
    SCOPED_TRACE(c.what);
    SpaceMode = c.space_mode;
    memset(TypedShortcut, 0, sizeof TypedShortcut);
    memset(LastShortcut, 0, sizeof LastShortcut);
    strcpy(TypedShortcut, c.typed);
    strcpy(LastShortcut, c.last);
    Recorded.clear();
    TypedDuringMessage = c.during_message;
    TypedDuringLookup = c.during_lookup;

    KeystrokeVerdict verdict = DecideKeystroke(c.key, RecordingEffects);

    EXPECT_STREQ(VerdictName(verdict), VerdictName(c.verdict));
    EXPECT_STREQ(TypedShortcut, c.typed_after);
    EXPECT_STREQ(LastShortcut, c.last_after);
    EXPECT_EQ(Recorded, c.effects);
    EXPECT_EQ(TypedDuringMessage, nullptr) << "the key typed during a message was never typed";
    EXPECT_EQ(TypedDuringLookup, nullptr) << "the key typed during a lookup was never typed";
}

} // namespace

// The tables are laid out by hand, one case a line or two: mode, code and last code
// before, the keystroke, then the verdict, code and last code after, and the effects.
// clang-format off
TEST(KeystrokeDecision, KeysOfTheHostPassUntouched) {
    Keystroke caps_lock_on = F;
    caps_lock_on.key_state[VK_CAPITAL] = 0x01; // toggled, not held
    const DecisionCase cases[] = {
        {"focus in the editor",    1, "A", "A", InOwnWindow(F),                Pass,    "A", "A", {}},
        {"Esc in the editor",      1, "A", "A", InOwnWindow(Esc),              Pass,    "A", "A", {}},
        {"focus in Edit",          1, "A", "A", InClass(F, "Edit"),            Pass,    "A", "A", {}},
        {"focus in RICHEDIT50W",   1, "",  "",  InClass(Space, "RICHEDIT50W"), Pass,    "",  "",  {}},
        {"longer than RICHEDIT50W",1, "",  "",  InClass(F, "RICHEDIT50W2"),    Swallow, "F", "F", {"status F"}},
        {"WindowsForms (cut)",     1, "",  "",  InClass(F, "WindowsForms"),    Pass,    "",  "",  {}},
        {"class case-sensitive",   1, "",  "",  InClass(F, "edit"),            Swallow, "F", "F", {"status F"}},
        {"title 保存",             1, "",  "",  Under(F, "保存"),              Pass,    "",  "",  {}},
        {"title 刀路信息设置",     1, "",  "",  Under(Esc, "刀路信息设置"),    Pass,    "",  "",  {}},
        {"title begins with 保存", 1, "",  "",  Under(F, "保存文件"),          Swallow, "F", "F", {"status F"}},
        {"F1",                     1, "",  "",  Key(VK_F1, "F1"),              Pass,    "",  "",  {}},
        {"F12",                    1, "A", "A", Key(VK_F12, "F12"),            Pass,    "A", "A", {}},
        {"F13 is taken",           1, "",  "",  Key(VK_F13, "F13"),            Swallow, "F13", "F13", {"status F13"}},
        {"Page Up (33)",           1, "",  "",  Key(VK_PRIOR, "Page Up"),      Pass,    "",  "",  {}},
        {"Delete (46)",            1, "",  "",  Key(VK_DELETE, "Delete"),      Pass,    "",  "",  {}},
        {"Help (47) is taken",     1, "",  "",  Key(VK_HELP, "Help"),          Swallow, "Help", "Help", {"status Help"}},
        {"Enter",                  1, "A", "A", Key(VK_RETURN, "Enter"),       Pass,    "A", "A", {}},
        {"the Shift key itself",   1, "A", "A", Key(VK_LSHIFT, "Shift"),       Pass,    "A", "A", {}},
        {"Shift held",             1, "",  "",  Held(F, VK_SHIFT),             Pass,    "",  "",  {}},
        {"Ctrl held",              1, "A", "A", Held(Space, VK_CONTROL),       Pass,    "A", "A", {}},
        {"Alt held",               1, "",  "",  Held(F, VK_MENU),              Pass,    "",  "",  {}},
        {"Enter held",             1, "",  "",  Held(F, VK_RETURN),            Pass,    "",  "",  {}},
        {"Caps Lock on",           1, "",  "",  caps_lock_on,                  Swallow, "F", "F", {"status F"}},
        {"negative hook code",     1, "",  "",  WithCode(F, -1),               Pass,    "",  "",  {}},
        {"HC_NOREMOVE: a peek",    1, "",  "",  WithCode(F, HC_NOREMOVE),      Pass,    "",  "",  {}},
        {"repeat or release",      1, "A", "A", Repeated(A),                   Pass,    "A", "A", {}},
        {"immediate mode alike",   0, "A", "A", InClass(Esc, "Edit"),          Pass,    "A", "A", {}},
    };
    for (const DecisionCase& c : cases)
        Check(c);
}

TEST(KeystrokeDecision, SpaceModeBuildsTheCodeAndSteersWithSpaceBackspaceEsc) {
    const DecisionCase cases[] = {
        {"first letter",           1, "",      "AB",    A,             Swallow, "A",  "A",  {"status A"}},
        {"second letter",          1, "A",     "A",     Key('B', "B"), Swallow, "AB", "AB", {"status AB"}},
        {"sixth character resets", 1, "ABCDE", "ABCDE", F,             Swallow, "",   "ABCDEF",
         {"status ABCDEF", "status "}},
        {"long key name resets",   1, "A",     "A",     Key(VK_CAPITAL, "Caps Lock"), Swallow, "", "ACaps Lock",
         {"status ACaps Lock", "status "}},
        {"nameless key: code echoed unchanged", 1, "A", "", Key(VK_OEM_8, ""), Swallow, "A", "A", {"status A"}},
        {"Tab is taken",           1, "",      "",      Key(VK_TAB, "Tab"), Swallow, "Tab", "Tab", {"status Tab"}},
        {"Space runs the code",    1, "AB",    "AB",    Space,         Swallow, "AB", "AB", {"lookup Space"}},
        {"Space repeats the last code, no echo", 1, "", "AB", Space,   Swallow, "AB", "AB", {"lookup Space"}},
        {"Space before any code: hint, then the empty code", 1, "", "", Space, Swallow, "", "",
         {Hint, "lookup Space"}},
        {"Backspace empties all", 1, "AB",    "AB",    Backspace,     Swallow, "",   "AB", {"status "}},
        {"Backspace, empty code",  1, "",      "AB",    Backspace,     Swallow, "",   "AB", {"status "}},
        {"Esc empties, goes on",   1, "A",     "A",     Esc,           PassAsEsc, "", "A",  {"status "}},
        {"Esc, empty code",        1, "",      "A",     Esc,           PassAsEsc, "", "A",  {}},
        // X11's keyboard driver names Space "space": it is appended, and still runs.
        {"Space named otherwise",  1, "A",     "A",     Key(VK_SPACE, "space"), Swallow, "Aspace", "Aspace",
         {"status Aspace", "status ", "lookup Space"}},
    };
    for (const DecisionCase& c : cases)
        Check(c);
}

TEST(KeystrokeDecision, ImmediateModeLooksUpAfterEveryKeyOfANonEmptyCode) {
    const DecisionCase cases[] = {
        {"a letter waits, looks up", 0, "",  "",  Key('L', "L"), Swallow, "L",  "L",  {"status L", "wait 100", "lookup immediate"}},
        {"SpaceMode 2 is immediate", 2, "L", "L", Key('I', "I"), Swallow, "LI", "LI", {"status LI", "wait 100", "lookup immediate"}},
        {"Esc: kept, swallowed",     0, "L", "L", Esc,           Swallow, "L",  "L",  {"wait 100", "lookup immediate"}},
        {"Backspace looks again",    0, "L", "L", Backspace,     Swallow, "L",  "L",  {"wait 100", "lookup immediate"}},
        {"Space, empty code",        0, "",  "L", Space,         Swallow, "",   "L",  {}},
        {"sixth character resets",   0, "ABCDE", "ABCDE", F,     Swallow, "",   "ABCDEF", {"status ABCDEF", "status "}},
    };
    for (const DecisionCase& c : cases)
        Check(c);
}

// The host's message box runs a message loop (the Space hint, a lookup's messages): a
// key typed then is decided by the same rules, and the system's second offer of the key
// being decided is swallowed without effect.
TEST(KeystrokeDecision, KeysTypedWhileAMessageIsOpenAreDecidedByTheSameRules) {
    const Keystroke space_again = Space;
    Keystroke another_space = Space;
    another_space.flags += 1; // another press: its own repeat count
    const Keystroke shifted_q = Held(Q, VK_SHIFT);
    const DecisionCase cases[] = {
        {"Q during the hint stays, no lookup", 1, "", "", Space, Swallow, "Q", "Q",
         {Hint, "status Q", "meanwhile Q: swallow"}, &Q, nullptr},
        {"the hint's own Space offered again", 1, "", "", Space, Swallow, "", "",
         {Hint, "meanwhile Space: swallow", "lookup Space"}, &space_again, nullptr},
        {"Shift+Q during the hint goes to the host", 1, "", "", Space, Swallow, "", "",
         {Hint, "meanwhile Q: pass", "lookup Space"}, &shifted_q, nullptr},
        {"Q during a lookup joins the code", 1, "AB", "AB", Space, Swallow, "ABQ", "ABQ",
         {"lookup Space", "status ABQ", "meanwhile Q: swallow"}, nullptr, &Q},
        {"a new Space during a lookup looks up again", 1, "AB", "AB", Space, Swallow, "AB", "AB",
         {"lookup Space", "lookup Space", "meanwhile Space: swallow"}, nullptr, &another_space},
        {"immediate: Q during the lookup extends the code", 0, "L", "L", Key('I', "I"), Swallow, "LIQ", "LIQ",
         {"status LI", "wait 100", "lookup immediate",
          "status LIQ", "wait 100", "lookup immediate", "meanwhile Q: swallow"}, nullptr, &Q},
    };
    for (const DecisionCase& c : cases)
        Check(c);

    // The guard against a second offer ends with its decision: the same keystroke
    // decided later is a new press.
    Check({"A",       1, "",  "",  A, Swallow, "A",  "A",  {"status A"}});
    Check({"A again", 1, "A", "A", A, Swallow, "AA", "AA", {"status AA"}});
}
// clang-format on

// The trace names each keystroke's deciding rule before the decision, and names the key
// only when the rule swallows it: every name must agree with the verdict that follows.
TEST(KeystrokeDecision, TheTraceNamesTheDecidingRuleInTheOrderTheRulesAreAsked) {
    struct NameCase {
        const char* what;
        int space_mode;
        Keystroke key;
        const char* rule;
    };
    // clang-format off
    const NameCase cases[] = {
        {"F5",                       1, Key(VK_F5, "F5"),             "host-key"},
        {"Shift itself",             1, Key(VK_SHIFT, "Shift"),       "host-key"},
        {"a release of a host key",  1, Repeated(Key(VK_F5, "F5")),   "host-key"},
        {"a release",                1, Repeated(A),                  "not-first-down"},
        {"a peek",                   1, WithCode(A, HC_NOREMOVE),     "not-first-down"},
        {"Ctrl held",                1, Held(A, VK_CONTROL),          "key-held"},
        {"Ctrl held in an Edit",     1, InClass(Held(A, VK_CONTROL), "Edit"), "key-held"},
        {"the editor",               1, InOwnWindow(A),               "own-window"},
        {"an Edit",                  1, InClass(A, "Edit"),           "text-field"},
        {"a rich edit",              0, InClass(A, "RICHEDIT50W"),    "text-field"},
        {"a forms control",          1, InClass(A, "WindowsForms"),   "forms-field"},
        {"a host dialog",            1, Under(A, "退出"),             "host-dialog"},
        {"Space mode, a letter",     1, A,                            "code-key"},
        {"Space mode, Space",        1, Space,                        "space"},
        {"Space mode, Backspace",    1, Backspace,                    "backspace"},
        {"Space mode, Esc",          1, Esc,                          "esc"},
        {"immediate mode, a letter", 0, A,                            "immediate"},
        {"immediate mode, Esc",      0, Esc,                          "immediate"},
        {"CHECK1=2 is immediate",    2, Space,                        "immediate"},
    };
    // clang-format on
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        SpaceMode = c.space_mode;
        memset(TypedShortcut, 0, sizeof TypedShortcut);
        strcpy(LastShortcut, "A");
        Recorded.clear();
        const char* rule = DecidingRuleName(c.key);
        EXPECT_STREQ(rule, c.rule);
        KeystrokeVerdict verdict = DecideKeystroke(c.key, RecordingEffects);
        EXPECT_EQ(RuleSwallows(rule), verdict == KeystrokeVerdict::Swallow);
    }

    // The keystroke being decided, offered again from inside its own message.
    SpaceMode = 1;
    memset(TypedShortcut, 0, sizeof TypedShortcut);
    memset(LastShortcut, 0, sizeof LastShortcut);
    static const char* during_hint = nullptr;
    const KeystrokeEffects asking = {
        RecordStatus, [](const char*, int) { during_hint = DecidingRuleName(Space); }, RecordLookup,
        RecordWait};
    DecideKeystroke(Space, asking);
    EXPECT_STREQ(during_hint, "offered-again");
    EXPECT_TRUE(RuleSwallows("offered-again"));
}
