// Switching shortcuts on and off: the hook, the four messages, MODE, and the restore
// at start-up.
#include <gtest/gtest.h>

#include <utility>

#include "typing_host.h"
#include "plugin_host.h"

using namespace tarnwick_test;

namespace {

typedef std::vector<std::string> Texts;

std::string ModeValue(const DataFolder& folder) {
    char value[16] = {};
    GetPrivateProfileStringA("MODE", "MODE", "absent", value, sizeof value,
                             folder.PathOf("button_id.ini").c_str());
    return value;
}

const char SwitchedOn[] = "打开快捷键成功！";
const char AlreadyOn[] = "当前已开启快捷键功能！";
const char SwitchedOff[] = "关闭快捷键成功！";
const char NotOn[] = "当前快捷键处于未开启状态！";

const std::string TableOff = Table({"[MODE]", "MODE=0", "[全局]", "A=BTN_A=a=全局=全局"});

Messages Invoke(const char* action) {
    HostRecord_Clear();
    HostActions_Invoke(action);
    return RecordedMessages();
}

} // namespace

TEST(Switch, OnAndOffTwiceEachWithTheirMessagesAndMode) {
    TypingHost host("switch_twice", TableOff, "1", false);

    EXPECT_EQ(Invoke("FENNOR_KEY_SET"), (Messages{{SwitchedOn, 1}}));
    EXPECT_EQ(ModeValue(host.Folder()), "1");
    host.Folder().Write("button_id.ini", Table({"[MODE]", "MODE=0"}));
    EXPECT_EQ(Invoke("FENNOR_KEY_SET"), (Messages{{AlreadyOn, 1}}));
    EXPECT_EQ(ModeValue(host.Folder()), "1"); // written again all the same

    // One hook in the chain: each key is taken once.
    HostRecord_Clear();
    TypeKeys("A");
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"A"}));

    EXPECT_EQ(Invoke("FENNOR_KEY_UNSET"), (Messages{{SwitchedOff, 1}}));
    EXPECT_EQ(ModeValue(host.Folder()), "0");
    host.Folder().Write("button_id.ini", Table({"[MODE]", "MODE=1"}));
    EXPECT_EQ(Invoke("FENNOR_KEY_UNSET"), (Messages{{NotOn, 1}}));
    EXPECT_EQ(ModeValue(host.Folder()), "0");

    // Off: keys are the host's and nothing of the plug-in's happens.
    HostRecord_Clear();
    host.Sink().Clear();
    TypeKeys("B");
    PressKey(VK_SPACE);
    EXPECT_EQ(host.Sink().KeyDowns(), (std::vector<WPARAM>{'B', VK_SPACE}));
    EXPECT_TRUE(Record(HOST_EV_STATUS).empty()) << DescribeRecord();
    EXPECT_TRUE(Record(HOST_EV_MESSAGE).empty()) << DescribeRecord();
}

TEST(Switch, OnOffOnInstallsAFreshHookAndKeepsTheTypedCode) {
    TypingHost host("switch_again", TableOff, "1", false);
    HostConfig_AddButton("BTN_AC", 801);
    host.Folder().Write("button_id.ini", Table({"[全局]", "AC=BTN_AC=x=全局=全局"}));

    Invoke("FENNOR_KEY_SET");
    TypeKeys("A");
    Invoke("FENNOR_KEY_UNSET");
    TypeKeys("B"); // the host's
    EXPECT_EQ(Invoke("FENNOR_KEY_SET"), (Messages{{SwitchedOn, 1}}));
    host.Sink().Clear();
    HostRecord_Clear();
    PressKey(VK_F5); // passed on along the chain through the new handle
    TypeKeys("C");
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"AC"}));
    EXPECT_EQ(host.Sink().KeyDowns(), (std::vector<WPARAM>{VK_F5}));
    PressKey(VK_SPACE);
    PumpMessages(20);
    ASSERT_EQ(Record(HOST_EV_COMMAND).size(), 1u) << DescribeRecord();
    EXPECT_EQ(Record(HOST_EV_COMMAND)[0].value, 801);
}

TEST(Switch, StartUpRestoresOnlyModeOne) {
    const struct {
        const char* table;
        bool on;
    } cases[] = {
        {"[MODE]\r\nMODE=1\r\n", true},  {"[全局]\r\nA=B\r\n[MODE]\r\nMODE=1\r\n", true},
        {"[MODE]\r\nMODE=0\r\n", false}, {"[MODE]\r\nMODE=11\r\n", false},
        {"[MODE]\r\nMODE=\r\n", false},  {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        ResetHost();
        DataFolder folder("switch_startup");
        folder.WriteStandardFiles(c.table, "1");
        HWND window = HostWindow_Create("NX", nullptr);
        {
            KeySink sink("TarnwickKeySink", "", window);
            PluginHost plugin;
            ASSERT_TRUE(plugin.Load());
            HostRecord_Clear();
            EXPECT_EQ(plugin.StartUp(), 0);
            EXPECT_EQ(RecordedMessages(), c.on ? (Messages{{SwitchedOn, 1}}) : Messages{});
            if (c.on) {
                // Shown during start-up, inside the host API's bracket.
                std::vector<RecordedEvent> events = Record();
                EXPECT_EQ(events.front().kind, HOST_EV_INITIALIZE);
                EXPECT_EQ(events.back().kind, HOST_EV_TERMINATE);
            }
            HostRecord_Clear();
            TypeKeys("A");
            EXPECT_EQ(RecordTexts(HOST_EV_STATUS), c.on ? (Texts{"A"}) : Texts{});
            EXPECT_EQ(sink.KeyDowns().size(), c.on ? 0u : 1u);
            plugin.Unload();
        }
        HostWindow_Destroy();
    }
}

TEST(Switch, UnloadLeavesNoHookBehind) {
    TypingHost host("switch_unload", TableOff);
    TypeKeys("A");
    host.Plugin().Unload();
    ASSERT_EQ(GetModuleHandleA("Tarnwick.dll"), nullptr);
    HostRecord_Clear();
    host.Sink().Clear();
    TypeKeys("B");
    PressKey(VK_SPACE);
    EXPECT_EQ(host.Sink().KeyDowns(), (std::vector<WPARAM>{'B', VK_SPACE}));
    EXPECT_TRUE(Record().empty()) << DescribeRecord();
}
