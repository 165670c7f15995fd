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
                                                "[13]",       "L=BTN_MOD=Line=仅应用模块=13",
                                                "[全局]",     "L=BTN_GLOBAL=Line=全局=全局",
                                                "[二次开发]", "L=MYTOOL=Tool=二次开发=二次开发"};

} // namespace

TEST(Lookup, SectionsAreSearchedInOrderAndMissesAnsweredByMode) {
    const LookupCase cases[] = {
        {"module section first", ThreeSections, 13, "1", "L ", {ModuleButton}, {}, ""},
        {"another module falls to 全局", ThreeSections, 5, "1", "L ", {GlobalButton}, {}, ""},
        {"全局 before 二次开发",
         {"[二次开发]", "L=MYTOOL=Tool=二次开发=二次开发", "[全局]", "L=BTN_GLOBAL=x=全局=全局"},
         13,
         "1",
         "L ",
         {GlobalButton},
         {},
         ""},
        {"another module's code is a miss",
         {"[7]", "L=BTN_MOD=Line=仅应用模块=7"},
         13,
         "1",
         "L ",
         {},
         {{WrongShortcut, 0}},
         "L"},
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
         {"[13]", "L=应用模块没有", "[全局]", "L=BTN_GLOBAL=x=全局=全局"},
         13,
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
         "L"},
        {"host entry of only =", {"[全局]", "L=="}, 0, "1", "L ", {}, {{WrongShortcut, 0}}, "L"},
        {"button the host does not know",
         {"[全局]", "L=NO_SUCH=x=全局=全局"},
         0,
         "1",
         "L ",
         {},
         {},
         ""},
        {"no sections at all", {}, 0, "1", "L ", {}, {{WrongShortcut, 0}}, "L"},
        {"immediate: fires at once", ThreeSections, 13, "0", "L", {ModuleButton}, {}, ""},
        {"immediate: CHECK1 2 is immediate", ThreeSections, 5, "2", "L", {GlobalButton}, {}, ""},
        {"immediate: L waits for LI",
         {"[全局]", "LI=BTN_LI=x=全局=全局"},
         0,
         "0",
         "LI",
         {LiButton},
         {},
         ""},
        {"immediate: miss is silent", ThreeSections, 13, "0", "ZZ", {}, {}, "ZZ"},
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

TEST(Lookup, TableThatDoesNotOpenIsReportedAndTheCodeKept) {
    const char* modes[] = {"1", "0"};
    for (const char* check1 : modes) {
        SCOPED_TRACE(std::string("CHECK1=") + check1);
        ResetHost();
        DataFolder folder("lookup_no_table");
        folder.Write("chick.ini", std::string("[CHECK1]\r\nCHECK1=") + check1 + "\r\n");
        folder.Write("Tarnwick.macro", "");
        HWND window = HostWindow_Create("NX", nullptr);
        {
            KeySink sink("TarnwickKeySink", "", window);
            PluginHost plugin;
            ASSERT_TRUE(plugin.Load());
            plugin.StartUp();
            HostActions_Invoke("FENNOR_KEY_SET");
            HostRecord_Clear();
            TypeCode(check1[0] == '1' ? "L " : "L");
            EXPECT_EQ(RecordedMessages(), (Messages{{TableOpenFailed, 1}})) << DescribeRecord();
            TypeCode("I");
            EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"L", "LI"}));
            plugin.Unload();
        }
        HostWindow_Destroy();
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
