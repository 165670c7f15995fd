// Looking a typed code up: the current module's section, then "全局", then
// "二次开发"; host buttons run by their command id; misses and a missing table answered
// as each mode does.
#include <gtest/gtest.h>

#include <utility>

#include "typing_host.h"
#include "plugin_host.h"

using namespace tarnwick_test;

namespace {

typedef std::vector<std::string> Texts;

const char WrongShortcut[] = "输入快捷键有误，请重新输入!";
const char TableOpenFailed[] = "打开快捷键.ini文件时失败";

enum { ModuleButton = 701, GlobalButton = 702, LiButton = 703 };

void AddButtons() {
    HostConfig_AddButton("BTN_MOD", ModuleButton);
    HostConfig_AddButton("BTN_GLOBAL", GlobalButton);
    HostConfig_AddButton("BTN_LI", LiButton);
}

struct LookupCase {
    const char* what;
    std::vector<std::string> table;
    int module;
    const char* check1;
    const char* keys;
    std::vector<int> commands;
    Messages messages;
    const char* status_after;
};

const std::vector<std::string> ThreeSections = {"[MODE]",     "MODE=1",
                                                "[40]",       "L=BTN_MOD=Line=仅应用模块=40",
                                                "[全局]",     "L=BTN_GLOBAL=Line=全局=全局",
                                                "[二次开发]", "L=MYTOOL=Tool=二次开发=二次开发"};

} // namespace

TEST(Lookup, SectionsAreSearchedInOrderAndMissesAnsweredByMode) {
    const LookupCase cases[] = {
        {"module section first", ThreeSections, 40, "1", "L ", {ModuleButton}, {}, ""},
        {"another module falls to 全局", ThreeSections, 1, "1", "L ", {GlobalButton}, {}, ""},
        {"全局 before 二次开发",
         {"[二次开发]", "L=MYTOOL=Tool=二次开发=二次开发", "[全局]", "L=BTN_GLOBAL=x=全局=全局"},
         40,
         "1",
         "L ",
         {GlobalButton},
         {},
         ""},
        {"another module's code is a miss",
         {"[16]", "L=BTN_MOD=Line=仅应用模块=16"},
         40,
         "1",
         "L ",
         {},
         {{WrongShortcut, 0}},
         WrongShortcut},
        {"module 0", {"[0]", "L=BTN_MOD=x=仅应用模块=0"}, 0, "1", "L ", {ModuleButton}, {}, ""},
        {"negative module number",
         {"[-3]", "L=BTN_MOD=x=仅应用模块=-3"},
         -3,
         "1",
         "L ",
         {ModuleButton},
         {},
         ""},
        {"a value equal to the default reads as absent",
         {"[40]", "L=应用模块没有", "[全局]", "L=BTN_GLOBAL=x=全局=全局"},
         40,
         "1",
         "L ",
         {GlobalButton},
         {},
         ""},
        {"leading = skipped",
         {"[全局]", "L==BTN_GLOBAL=x=全局=全局"},
         0,
         "1",
         "L ",
         {GlobalButton},
         {},
         ""},
        {"host entry without a button name",
         {"[全局]", "L=", "[二次开发]", "L=MYTOOL"},
         0,
         "1",
         "L ",
         {},
         {{WrongShortcut, 0}},
         WrongShortcut},
        {"host entry of only =",
         {"[全局]", "L=="},
         0,
         "1",
         "L ",
         {},
         {{WrongShortcut, 0}},
         WrongShortcut},
        {"button the host does not know",
         {"[全局]", "L=NO_SUCH=x=全局=全局"},
         0,
         "1",
         "L ",
         {},
         {},
         ""},
        {"no sections at all", {}, 0, "1", "L ", {}, {{WrongShortcut, 0}}, WrongShortcut},
        {"immediate: fires at once", ThreeSections, 40, "0", "L", {ModuleButton}, {}, ""},
        {"immediate: CHECK1 2 is immediate", ThreeSections, 1, "2", "L", {GlobalButton}, {}, ""},
        {"immediate: L waits for LI",
         {"[全局]", "LI=BTN_LI=x=全局=全局"},
         0,
         "0",
         "LI",
         {LiButton},
         {},
         ""},
        {"immediate: miss is silent", ThreeSections, 40, "0", "ZZ", {}, {}, "ZZ"},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostConfig_SetModule(0);
        TypingHost host("lookup_case", Table(c.table), c.check1);
        AddButtons();
        HostConfig_SetModule(c.module);
        TypeCode(c.keys);
        EXPECT_EQ(RecordedCommandIds(), c.commands) << DescribeRecord();
        EXPECT_EQ(RecordedMessages(), c.messages) << DescribeRecord();
        EXPECT_STREQ(HostWindow_StatusText(), c.status_after);
        EXPECT_TRUE(Record(HOST_EV_PLAYBACK).empty()) << DescribeRecord();
        EXPECT_TRUE(host.Sink().KeyDowns().empty());
    }
}

TEST(Lookup, HostButtonIdIsPostedToTheMainWindowAndTheCodeEmptied) {
    TypingHost host("lookup_post", Table({"[全局]", "L=BTN_GLOBAL=x=全局=全局"}));
    AddButtons();
    TypeCode("L ");
    // Asked by name, posted, code and status emptied, then run from the host's loop.
    std::vector<RecordedEvent> events = Record();
    ASSERT_GE(events.size(), 5u) << DescribeRecord();
    EXPECT_EQ(events[1].kind, HOST_EV_MODULE);
    EXPECT_EQ(events[2].kind, HOST_EV_BUTTON_ID);
    EXPECT_EQ(events[2].text, "BTN_GLOBAL");
    EXPECT_EQ(events[3].kind, HOST_EV_STATUS);
    EXPECT_EQ(events[3].text, "");
    EXPECT_EQ(events[4].kind, HOST_EV_COMMAND);
    EXPECT_EQ(events[4].value, GlobalButton);

    // An id the host does not know: nothing is posted, the code is emptied all the same.
    HostRecord_Clear();
    TypeCode("Z");
    HostConfig_AddButton("BTN_Z", 0);
    host.Folder().Write("button_id.ini", Table({"[全局]", "Z=BTN_Z=x=全局=全局"}));
    TypeCode(" A");
    EXPECT_TRUE(RecordedCommandIds().empty()) << DescribeRecord();
    EXPECT_TRUE(RecordedMessages().empty()) << DescribeRecord();
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"Z", "", "A"}));
}

TEST(Lookup, ImmediateModeSteeringKeysAreSwallowedAndLookAgain) {
    TypingHost host("lookup_immediate_keys", Table({"[全局]", "LI=BTN_LI=x=全局=全局"}), "0");
    AddButtons();
    TypeCode("L");
    EXPECT_EQ(Record(HOST_EV_MODULE).size(), 1u);
    PressKey(VK_BACK);
    PressKey(VK_ESCAPE);
    PressKey(VK_SPACE);
    EXPECT_EQ(Record(HOST_EV_MODULE).size(), 4u) << DescribeRecord();
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"L"}));
    EXPECT_TRUE(host.Sink().KeyDowns().empty());
    TypeCode("I");
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{LiButton})) << DescribeRecord();

    // With an empty code nothing is looked up.
    HostRecord_Clear();
    PressKey(VK_SPACE);
    PressKey(VK_BACK);
    EXPECT_TRUE(Record(HOST_EV_MODULE).empty()) << DescribeRecord();
}

// Switching on records MODE in the table, so shortcuts are on only with a table found at
// start-up; it may still not open at a lookup, held by another program.
TEST(Lookup, TableThatDoesNotOpenIsReportedAndTheCodeKept) {
    const char* modes[] = {"1", "0"};
    for (const char* check1 : modes) {
        SCOPED_TRACE(std::string("CHECK1=") + check1);
        TypingHost host("lookup_table_held", Table({"[全局]", "Q=BTN_GLOBAL=x=全局=全局"}), check1);
        HANDLE held = CreateFileA(host.Folder().PathOf("button_id.ini").c_str(), GENERIC_READ, 0,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        TypeCode(check1[0] == '1' ? "L " : "L");
        EXPECT_EQ(RecordedMessages(), (Messages{{TableOpenFailed, 1}})) << DescribeRecord();
        TypeCode("I");
        EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"L", "LI"}));
        CloseHandle(held);
    }
}

TEST(Lookup, TableRemovedAfterStartUpIsReportedOnEveryLookup) {
    TypingHost host("lookup_table_gone", Table({"[全局]", "L=BTN_GLOBAL=x=全局=全局"}), "0");
    AddButtons();
    host.Folder().Remove("button_id.ini");
    TypeCode("ZQ");
    EXPECT_EQ(RecordedMessages(), (Messages{{TableOpenFailed, 1}, {TableOpenFailed, 1}}));
    EXPECT_STREQ(HostWindow_StatusText(), "ZQ");
}

namespace {

// The message of an entry too long for the lookup's read, for the code typed.
std::string ValueTooLong(const std::string& code) {
    return "快捷键 " + code + " 的内容过长（超过255字节），未执行任何命令，请在快捷键设置中缩短！";
}

struct LongValueCase {
    const char* what;
    std::vector<std::string> table;
    const char* check1;
    const char* keys;
    // Host buttons known by name: a cut name that ran would show as its id.
    std::vector<std::pair<std::string, int>> buttons;
    std::vector<int> commands;
    Texts custom_commands;
    Messages messages;
};

const std::string B255(255, 'B'), M255(255, 'M'), M256(256, 'M');

} // namespace

// The lookup reads 255 bytes of a value: an entry whose value is longer runs nothing,
// neither its cut name nor anything found in a later section, and the user is told.
TEST(Lookup, ValuesLongerThanTheReadRunNothing) {
    const LongValueCase cases[] = {
        {"host button, Space mode",
         {"[全局]", "L=" + B255 + "B=x=全局=全局"},
         "1",
         "L ",
         {{B255, 801}},
         {},
         {},
         {{ValueTooLong("L"), 1}}},
        {"host button, immediate mode",
         {"[全局]", "L=" + B255 + "B=x=全局=全局"},
         "0",
         "L",
         {{B255, 801}},
         {},
         {},
         {{ValueTooLong("L"), 1}}},
        {"the module's long entry is not passed over for 全局",
         {"[0]", "L=" + B255 + "B=x=仅应用模块=0", "[全局]", "L=BTN_GLOBAL=x=全局=全局"},
         "1",
         "L ",
         {{"BTN_GLOBAL", GlobalButton}},
         {},
         {},
         {{ValueTooLong("L"), 1}}},
        {"custom button of 256 characters",
         {"[二次开发]", "L=" + M256},
         "1",
         "L ",
         {},
         {},
         {},
         {{ValueTooLong("L"), 1}}},
        {"custom, immediate mode",
         {"[二次开发]", "L=" + M256},
         "0",
         "L",
         {},
         {},
         {},
         {{ValueTooLong("L"), 1}}},
        {"a whole name before a long description runs nothing either",
         {"[全局]", "L=BTN_GLOBAL=" + std::string(300, 'x') + "=全局=全局"},
         "1",
         "L ",
         {{"BTN_GLOBAL", GlobalButton}},
         {},
         {},
         {{ValueTooLong("L"), 1}}},
        {"a value of exactly 255 bytes fits",
         {"[二次开发]", "L=" + M255},
         "1",
         "L ",
         {},
         {},
         {M255},
         {}},
        {"a double-byte character across the end",
         {"[全局]", "L=" + std::string(254, 'B') + "按=x=全局=全局"},
         "1",
         "L ",
         {{std::string(254, 'B'), 801}},
         {},
         {},
         {{ValueTooLong("L"), 1}}},
        // X's value fills the read; Y's ends in a double-byte character that the read
        // cuts, leaving X's last byte in its place: "D…DC" must never run.
        {"no byte of an earlier read joins a cut one",
         {"[全局]", "X=" + std::string(255, 'C'), "Y=" + std::string(254, 'D') + "按=x=全局=全局"},
         "1",
         "X Y ",
         {{std::string(255, 'C'), 802}, {std::string(254, 'D') + "C", 803}},
         {802},
         {},
         {{ValueTooLong("Y"), 1}}},
    };
    for (const LongValueCase& c : cases) {
        SCOPED_TRACE(c.what);
        TypingHost host("lookup_long", Table(c.table), c.check1);
        for (const auto& button : c.buttons)
            HostConfig_AddButton(button.first.c_str(), button.second);
        TypeCode(c.keys);
        EXPECT_EQ(RecordedCommandIds(), c.commands) << DescribeRecord();
        EXPECT_EQ(RecordTexts(HOST_EV_CUSTOM_COMMAND), c.custom_commands) << DescribeRecord();
        EXPECT_EQ(RecordedMessages(), c.messages) << DescribeRecord();
        // The code is done with: the next key starts a new one.
        EXPECT_STREQ(HostWindow_StatusText(), "");
        EXPECT_TRUE(host.Sink().KeyDowns().empty());
    }
}
