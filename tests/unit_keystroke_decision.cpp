// The keystroke decision, the lookup and the launch on their own: the facts of one
// keystroke in, the verdict, the typed code after and the effects out, in order. The
// port records what the decision asks and does instead of reaching a host; a message,
// lookup or playback effect may type a key meanwhile, as the host's message loop lets
// the user do. The lookup reads real tables through the profile service.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "keystroke_decision.h"
#include "macro_playback.h"
#include "shortcut_lookup.h"
#include "typed_shortcut.h"

namespace {

typedef std::vector<std::string> Effects;

const std::string Hint = "message 请先输入快捷键，再按空格键! 1";

// What the port answers for one keystroke.
struct Keystroke {
    int code;
    WPARAM key;
    LPARAM flags;
    BYTE key_state[KeyStateSize];
    bool focus_is_own;
    char focus_class[64]; // as the system gives it, before the cut to 12
    char foreground_title[ForegroundTitleSize];
    char key_name[KeyNameSize];
};

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

// The world of one case: the typed code, the mode, what was done and asked, and the
// host's answers.
TypedCode Typed;
int Mode = 1;
Effects Recorded;
Effects Asked; // the facts the decision asked for, in order
// A key the user types while the next message, lookup or playback runs its loop.
const Keystroke* TypedDuringMessage = nullptr;
const Keystroke* TypedDuringLookup = nullptr;
const Keystroke* TypedDuringPlayback = nullptr;

// The lookup runs for real on this table, or is only recorded.
bool RealLookup = false;
std::string TablePath;
int Module = 0;
HWND MainWindowHandle = reinterpret_cast<HWND>(0x1234);
std::map<std::string, int> ButtonIds;
int PlaybackResult = MacroPlayed;

KeystrokeVerdict Decide(const Keystroke& k, KeystrokeRule* rule = nullptr);
KeystrokeRule InnerRule = KeystrokeRule::Immediate; // of the latest key typed meanwhile

void TypeMeanwhile(const Keystroke*& pending) {
    if (!pending)
        return;
    const Keystroke* k = pending;
    pending = nullptr;
    KeystrokeVerdict inner = Decide(*k, &InnerRule);
    Recorded.push_back(std::string("meanwhile ") + k->key_name + ": " + VerdictName(inner));
}

class RecordingPort final : public KeystrokePort {
  public:
    explicit RecordingPort(const Keystroke& k) : k_(k) {}
    KeystrokeRule rule = KeystrokeRule::Immediate;
    int decided = 0;

    void ReadKeyState(BYTE (&state)[KeyStateSize]) override {
        Asked.push_back("key state");
        memcpy(state, k_.key_state, sizeof state);
    }
    bool FocusIsOwn() override {
        Asked.push_back("own");
        return k_.focus_is_own;
    }
    void ReadFocusClass(char (&text)[FocusClassSize]) override {
        Asked.push_back("class");
        snprintf(text, sizeof text, "%s", k_.focus_class);
    }
    void ReadForegroundTitle(char (&text)[ForegroundTitleSize]) override {
        Asked.push_back("title");
        snprintf(text, sizeof text, "%s", k_.foreground_title);
    }
    void ReadKeyName(char (&text)[KeyNameSize]) override {
        Asked.push_back("name");
        snprintf(text, sizeof text, "%s", k_.key_name);
    }
    void Decided(KeystrokeRule r, const KeystrokeFacts&) override {
        rule = r;
        ++decided;
    }
    void ShowStatus(const char* text) override {
        Recorded.push_back(std::string("status ") + text);
    }
    void ShowMessage(const char* text, int flag) override {
        Recorded.push_back(std::string("message ") + text + " " + std::to_string(flag));
        TypeMeanwhile(TypedDuringMessage);
    }
    void Wait(DWORD milliseconds) override {
        Recorded.push_back("wait " + std::to_string(milliseconds));
    }
    void LookUp(LookupVariant variant) override {
        if (RealLookup) {
            ShortcutLookup(Typed, variant, TablePath.c_str(), "", *this);
            return;
        }
        Recorded.push_back(variant == LookupVariant::Space ? "lookup Space" : "lookup immediate");
        TypeMeanwhile(TypedDuringLookup);
    }
    int ApplicationModule() override {
        Recorded.push_back("module");
        return Module;
    }
    HWND MainWindow() override {
        Recorded.push_back("main window");
        return MainWindowHandle;
    }
    int ButtonId(const char* name) override {
        Recorded.push_back(std::string("button id ") + name);
        auto found = ButtonIds.find(name);
        return found == ButtonIds.end() ? 0 : found->second;
    }
    bool PostCommand(HWND window, int id) override {
        EXPECT_EQ(window, MainWindowHandle);
        Recorded.push_back("post " + std::to_string(id));
        return true;
    }
    int PlayMacro(const char* name) override {
        Recorded.push_back(std::string("play ") + name);
        TypeMeanwhile(TypedDuringPlayback);
        return PlaybackResult;
    }

  private:
    const Keystroke& k_;
};

KeystrokeVerdict Decide(const Keystroke& k, KeystrokeRule* rule) {
    RecordingPort port(k);
    KeystrokeVerdict verdict = DecideKeystroke(k.code, k.key, k.flags, Mode, Typed, port);
    EXPECT_EQ(port.decided, 1) << "one rule decides each keystroke";
    if (rule)
        *rule = port.rule;
    return verdict;
}

void SetTyped(const char* typed, const char* last) {
    memset(&Typed, 0, sizeof Typed);
    snprintf(Typed.TypedShortcut, sizeof Typed.TypedShortcut, "%s", typed);
    snprintf(Typed.LastShortcut, sizeof Typed.LastShortcut, "%s", last);
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
    Mode = c.space_mode;
    SetTyped(c.typed, c.last);
    Recorded.clear();
    TypedDuringMessage = c.during_message;
    TypedDuringLookup = c.during_lookup;

    KeystrokeVerdict verdict = Decide(c.key);

    EXPECT_STREQ(VerdictName(verdict), VerdictName(c.verdict));
    EXPECT_STREQ(Typed.TypedShortcut, c.typed_after);
    EXPECT_STREQ(Typed.LastShortcut, c.last_after);
    EXPECT_EQ(Recorded, c.effects);
    EXPECT_EQ(TypedDuringMessage, nullptr) << "the key typed during a message was never typed";
    EXPECT_EQ(TypedDuringLookup, nullptr) << "the key typed during a lookup was never typed";
    EXPECT_FALSE(Typed.in_progress.active) << "the keystroke in progress outlived its decision";
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
        {"a longer WindowsForms",  1, "",  "",  InClass(F, "WindowsForms10.EDIT.app"), Pass, "", "", {}},
        {"class case-sensitive",   1, "",  "",  InClass(F, "edit"),            Swallow, "F", "F", {"status F"}},
        {"title 保存",             1, "",  "",  Under(F, "保存"),              Pass,    "",  "",  {}},
        {"title 刀路信息设置",     1, "",  "",  Under(Space, "刀路信息设置"),  Pass,    "",  "",  {}},
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
        {"Esc, empty code, Edit",  1, "",  "A", InClass(Esc, "Edit"),          PassAsEsc, "", "A", {}},
        {"Ctrl+Esc, code kept",    1, "A", "A", Held(Esc, VK_CONTROL),         Pass,    "A", "A", {}},
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
        {"Esc named otherwise is a code key", 1, "", "A", Key(VK_ESCAPE, "Escape"), PassAsEsc, "", "Escape",
         {"status Escape", "status "}},
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
        {"Esc, empty code, an Edit", 1, InClass(Esc, "Edit"),         "esc"},
        {"Esc, empty code, Ctrl",    1, Held(Esc, VK_CONTROL),        "esc"},
        {"immediate mode, a letter", 0, A,                            "immediate"},
        {"immediate mode, Esc",      0, Esc,                          "immediate"},
        {"CHECK1=2 is immediate",    2, Space,                        "immediate"},
    };
    // clang-format on
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        Mode = c.space_mode;
        SetTyped("", "A");
        Recorded.clear();
        KeystrokeRule rule = KeystrokeRule::Immediate;
        KeystrokeVerdict verdict = Decide(c.key, &rule);
        EXPECT_STREQ(DecidingRuleName(rule), c.rule);
        EXPECT_EQ(RuleSwallows(rule), verdict == KeystrokeVerdict::Swallow);
    }

    // The keystroke being decided, offered again from inside its own message.
    Mode = 1;
    SetTyped("", "");
    TypedDuringMessage = &Space;
    Decide(Space);
    EXPECT_STREQ(DecidingRuleName(InnerRule), "offered-again");
    EXPECT_TRUE(RuleSwallows(KeystrokeRule::OfferedAgain));
}

// Each fact is asked once at most, and only when a rule needs it: the hook's arguments
// decide releases and host keys without a question, Esc on an empty code asks only its
// name, and the windows are asked about only once the key state has not decided.
TEST(KeystrokeDecision, AsksOnlyTheFactsItsDecidingRuleNeeds) {
    struct AskCase {
        const char* what;
        int space_mode;
        const char* typed;
        Keystroke key;
        Effects asked;
    };
    // clang-format off
    const AskCase cases[] = {
        {"a release",               1, "",  Repeated(A),            {}},
        {"F5",                      1, "",  Key(VK_F5, "F5"),       {}},
        {"Esc, empty code",         1, "",  Esc,                    {"name"}},
        {"Esc, code to empty",      1, "A", Esc,                    {"key state", "own", "class", "title", "name"}},
        {"immediate Esc",           0, "",  Esc,                    {"key state", "own", "class", "title", "name"}},
        {"Shift held",              1, "",  Held(A, VK_SHIFT),      {"key state"}},
        {"the editor",              1, "",  InOwnWindow(A),         {"key state", "own"}},
        {"an Edit",                 1, "",  InClass(A, "Edit"),     {"key state", "own", "class"}},
        {"a forms control",         1, "",  InClass(A, "WindowsForms"), {"key state", "own", "class"}},
        {"a host dialog",           1, "",  Under(A, "保存"),       {"key state", "own", "class", "title"}},
        {"a taken letter",          1, "",  A,                      {"key state", "own", "class", "title", "name"}},
    };
    // clang-format on
    for (const AskCase& c : cases) {
        SCOPED_TRACE(c.what);
        Mode = c.space_mode;
        SetTyped(c.typed, c.typed);
        Recorded.clear();
        Asked.clear();
        Decide(c.key);
        EXPECT_EQ(Asked, c.asked);
    }
}

namespace {

// A table in the profile service's format, written byte for byte (GBK).
std::string WriteTable(const std::string& name, const std::string& text) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "tarnwick_unit_" + name + ".ini";
    FILE* file = fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr) << path;
    if (file) {
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
    }
    return path;
}

const std::string WrongCode = "message 输入快捷键有误，请重新输入! 0";
const std::string CommandFailed = "message 打开命令失败! 1";

struct LookupCase {
    const char* what;
    LookupVariant variant;
    const char* typed;
    Effects effects;
    const char* typed_after;
    int module = 0;
    int playback = MacroPlayed;
    const Keystroke* during_message = nullptr;
    const Keystroke* during_playback = nullptr;
};

} // namespace

// The lookup and the launch through the port: the reads in their order, what a hit runs,
// and how a miss, a cut value and a failed playback are answered, keys typed meanwhile
// included.
TEST(ShortcutLookup, RunsTheFirstHitAndAnswersEveryOtherOutcome) {
    const std::string long_value = "BTN_L=" + std::string(300, 'x');
    const std::string full_value = "BTN_F=" + std::string(255 - 6, 'x'); // 255 bytes: fits
    TablePath = WriteTable("lookup", "[0]\r\nM=BTN_M=x=仅应用模块=0\r\nBOTH=BTN_M\r\n"
                                     "[7]\r\nS=BTN_S\r\n"
                                     "[全局]\r\nG=BTN_G=x=全局=全局\r\nBOTH=BTN_G\r\nM7=BTN_M7\r\n"
                                     "NOB==\r\nUNK=BTN_UNKNOWN\r\nL=" +
                                         long_value + "\r\nFULL=" + full_value +
                                         "\r\n"
                                         "[二次开发]\r\nT=MYTOOL=x=二次开发=二次开发\r\n");
    ButtonIds = {{"BTN_M", 901}, {"BTN_G", 902}, {"BTN_S", 903}, {"BTN_F", 904}, {"BTN_M7", 905}};
    const Effects host_button_m = {"module", "main window", "button id BTN_M", "post 901",
                                   "status "};
    // clang-format off
    const LookupCase cases[] = {
        {"the module's section",   LookupVariant::Space, "M",    host_button_m, ""},
        {"module before global",   LookupVariant::Space, "BOTH", host_button_m, ""},
        {"global",                 LookupVariant::Space, "G",
         {"module", "main window", "button id BTN_G", "post 902", "status "}, ""},
        {"another module's section", LookupVariant::Space, "S",  {"module", "main window", "button id BTN_S", "post 903", "status "}, "", 7},
        {"not in this module's section", LookupVariant::Space, "S", {"module", WrongCode}, ""},
        {"the key compares without case", LookupVariant::Immediate, "g",
         {"module", "main window", "button id BTN_G", "post 902", "status "}, ""},
        {"a value that just fits", LookupVariant::Space, "FULL",
         {"module", "main window", "button id BTN_F", "post 904", "status "}, ""},
        {"a value too long runs nothing", LookupVariant::Immediate, "L",
         {"module", "status ", "message 快捷键 L 的内容过长（超过255字节），未执行任何命令，请在快捷键设置中缩短！ 1"}, ""},
        {"a key typed at the too-long message stays", LookupVariant::Space, "L",
         {"module", "status ", "message 快捷键 L 的内容过长（超过255字节），未执行任何命令，请在快捷键设置中缩短！ 1",
          "status Q", "meanwhile Q: swallow"}, "Q", 0, MacroPlayed, &Q},
        {"a value that names no button", LookupVariant::Space, "NOB", {"module", WrongCode}, ""},
        {"no button, immediate: silent", LookupVariant::Immediate, "NOB", {"module"}, "NOB"},
        {"a button the host does not know", LookupVariant::Space, "UNK",
         {"module", "main window", "button id BTN_UNKNOWN", "status "}, ""},
        {"a custom button plays", LookupVariant::Space, "T", {"module", "play MYTOOL", "status "}, ""},
        {"a key typed during playback goes with the launch", LookupVariant::Space, "T",
         {"module", "play MYTOOL", "status TQ", "meanwhile Q: swallow", "status "}, "", 0, MacroPlayed, nullptr, &Q},
        {"a failed playback, Space", LookupVariant::Space, "T",
         {"module", "play MYTOOL", CommandFailed, WrongCode}, "", 0, MacroLibraryNotLoaded},
        {"a failed playback, immediate", LookupVariant::Immediate, "T",
         {"module", "play MYTOOL", CommandFailed}, "T", 0, MacroFileNotCreated},
        {"a miss, Space", LookupVariant::Space, "ZZ", {"module", WrongCode}, ""},
        {"a miss, immediate", LookupVariant::Immediate, "ZZ", {"module"}, "ZZ"},
    };
    // clang-format on
    RealLookup = true;
    Mode = 1;
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetTyped(c.typed, c.typed);
        Recorded.clear();
        Module = c.module;
        PlaybackResult = c.playback;
        TypedDuringMessage = c.during_message;
        TypedDuringPlayback = c.during_playback;
        RecordingPort port(Space);
        ShortcutLookup(Typed, c.variant, TablePath.c_str(), "", port);
        EXPECT_EQ(Recorded, c.effects);
        EXPECT_STREQ(Typed.TypedShortcut, c.typed_after);
        EXPECT_EQ(TypedDuringMessage, nullptr);
        EXPECT_EQ(TypedDuringPlayback, nullptr);
    }

    // No table: the user is told, and the code stays for another try.
    SetTyped("M", "M");
    Recorded.clear();
    RecordingPort port(Space);
    ShortcutLookup(Typed, LookupVariant::Space, (TablePath + ".missing").c_str(), "", port);
    EXPECT_EQ(Recorded, (Effects{"module", "message 打开快捷键.ini文件时失败 1"}));
    EXPECT_STREQ(Typed.TypedShortcut, "M");

    // No main window: nothing is posted, the code is done with all the same.
    MainWindowHandle = nullptr;
    SetTyped("M", "M");
    Recorded.clear();
    ShortcutLookup(Typed, LookupVariant::Space, TablePath.c_str(), "", port);
    EXPECT_EQ(Recorded, (Effects{"module", "main window", "button id BTN_M", "status "}));
    MainWindowHandle = reinterpret_cast<HWND>(0x1234);
    RealLookup = false;
    PlaybackResult = MacroPlayed;
    Module = 0;
    DeleteFileA(TablePath.c_str());
}

// Typed key by key, from the first letter to the post of the command: the decision and
// the lookup together, in both modes.
TEST(ShortcutLookup, TypedCodesLaunchFromTheKeys) {
    TablePath =
        WriteTable("typing", "[全局]\r\nL=BTN_L\r\nLI=BTN_LI\r\n[二次开发]\r\nT=MYTOOL\r\n");
    ButtonIds = {{"BTN_L", 701}, {"BTN_LI", 702}};
    RealLookup = true;

    Mode = 1;
    SetTyped("", "");
    Recorded.clear();
    EXPECT_EQ(Decide(Key('L', "L")), Swallow);
    EXPECT_EQ(Decide(Key('I', "I")), Swallow);
    EXPECT_EQ(Decide(Space), Swallow);
    EXPECT_EQ(Recorded, (Effects{"status L", "status LI", "module", "main window",
                                 "button id BTN_LI", "post 702", "status "}));
    // Space on the empty code runs the last one again.
    Recorded.clear();
    EXPECT_EQ(Decide(Space), Swallow);
    EXPECT_EQ(Recorded,
              (Effects{"module", "main window", "button id BTN_LI", "post 702", "status "}));
    EXPECT_STREQ(Typed.TypedShortcut, "");

    // Immediate mode runs the shortest defined code at once.
    Mode = 0;
    Recorded.clear();
    EXPECT_EQ(Decide(Key('L', "L")), Swallow);
    EXPECT_EQ(Recorded, (Effects{"status L", "wait 100", "module", "main window", "button id BTN_L",
                                 "post 701", "status "}));
    Recorded.clear();
    EXPECT_EQ(Decide(Key('T', "T")), Swallow);
    EXPECT_EQ(Recorded, (Effects{"status T", "wait 100", "module", "play MYTOOL", "status "}));
    RealLookup = false;
    Mode = 1;
    DeleteFileA(TablePath.c_str());
}
