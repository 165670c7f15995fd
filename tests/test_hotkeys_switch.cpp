// Switching shortcuts on and off: the hook, the four messages, MODE, and the restore
// at start-up.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
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

namespace {

const char SwitchOnNotRecorded[] =
    "无法把开启状态写入快捷键表 %s（文件不存在、只读或被其他程序占用），快捷键保持关闭。"
    "请检查 TARNWICK_DIR 和该文件后再试。";
const char SwitchOffNotRecorded[] =
    "快捷键已关闭，但无法把关闭状态写入快捷键表 %s（文件不存在、只读或被其他程序占用），"
    "NX 下次启动时会重新开启快捷键。请检查该文件后再试。";

std::string NamingPath(const char* format, const std::string& path) {
    char text[1024];
    snprintf(text, sizeof text, format, path.c_str());
    return text;
}

// A read-only table. Wine lets the super-user write a read-only file, so where the mark
// does not keep writers out the table is also held open against writing, as another
// program may hold it.
class ReadOnlyTable {
  public:
    explicit ReadOnlyTable(const DataFolder& folder) : path_(folder.PathOf("button_id.ini")) {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE probe = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe != INVALID_HANDLE_VALUE) {
            CloseHandle(probe);
            held_ = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        }
    }
    ~ReadOnlyTable() {
        if (held_ != INVALID_HANDLE_VALUE)
            CloseHandle(held_);
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

  private:
    std::string path_;
    HANDLE held_ = INVALID_HANDLE_VALUE;
};

// Keys reach the host and nothing of the plug-in's happens.
void ExpectKeysPassOn(TypingHost& host) {
    HostRecord_Clear();
    host.Sink().Clear();
    TypeKeys("A");
    EXPECT_EQ(host.Sink().KeyDowns(), (std::vector<WPARAM>{'A'}));
    EXPECT_TRUE(Record(HOST_EV_STATUS).empty()) << DescribeRecord();
}

} // namespace

// MODE is read back after the switch-on: a write that did not reach the table leaves no
// hook, and the message names the table where the success message would stand.
TEST(Switch, SwitchOnWhoseModeIsNotWrittenStaysOffAndNamesTheTable) {
    const struct {
        const char* name;
        bool misspelt_folder; // else a read-only table
    } cases[] = {{"misspelt data folder", true}, {"read-only table", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path;
        TypingHost host("switch_unrecorded", TableOff, "1", false, [&](DataFolder& folder) {
            // Nothing is found at start-up; the message names where it was looked for.
            if (c.misspelt_folder) {
                const std::string misspelt = folder.Root() + "\\Tarnwik";
                HostConfig_SetVariable("TARNWICK_DIR", misspelt.c_str());
                path = misspelt + "\\data\\button_id.ini";
            } else {
                path = folder.PathOf("button_id.ini");
            }
        });
        std::unique_ptr<ReadOnlyTable> read_only;
        if (!c.misspelt_folder)
            read_only.reset(new ReadOnlyTable(host.Folder()));
        EXPECT_EQ(Invoke("FENNOR_KEY_SET"), (Messages{{NamingPath(SwitchOnNotRecorded, path), 1}}))
            << DescribeRecord();
        ExpectKeysPassOn(host);
        EXPECT_EQ(host.Folder().Read("button_id.ini"), TableOff);
        // Off already: the switch-off says so, as ever.
        EXPECT_EQ(Invoke("FENNOR_KEY_UNSET"), (Messages{{NotOn, 1}}));
    }
}

// A switch-off whose MODE is not written removes the hook all the same and says that the
// next start switches shortcuts on again.
TEST(Switch, SwitchOffWhoseModeIsNotWrittenStillRemovesTheHook) {
    const std::string TableOn = Table({"[MODE]", "MODE=1", "[全局]", "A=BTN_A=a=全局=全局"});
    for (bool folder_gone : {true, false}) {
        SCOPED_TRACE(folder_gone ? "data folder gone" : "read-only table");
        TypingHost host("switch_off_unrecorded", TableOn, "1", false);
        HostRecord_Clear();
        TypeKeys("A"); // on since start-up
        ASSERT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"A"}));
        const std::string path = host.Folder().PathOf("button_id.ini");
        std::unique_ptr<ReadOnlyTable> read_only;
        if (folder_gone)
            ASSERT_TRUE(MoveFileA((host.Folder().Root() + "\\data").c_str(),
                                  (host.Folder().Root() + "\\data.old").c_str()));
        else
            read_only.reset(new ReadOnlyTable(host.Folder()));
        EXPECT_EQ(Invoke("FENNOR_KEY_UNSET"),
                  (Messages{{NamingPath(SwitchOffNotRecorded, path), 1}}))
            << DescribeRecord();
        ExpectKeysPassOn(host);
        if (!folder_gone) {
            EXPECT_EQ(host.Folder().Read("button_id.ini"), TableOn);
        }
    }
}
