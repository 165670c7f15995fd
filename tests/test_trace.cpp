// The diagnostic trace: TARNWICK_TRACE at start-up names the file; one line per event,
// each with a millisecond time stamp; the deciding rule of every key, the lookup and
// launch, the writes and the messages; never the name of a key the host received; a
// new file at 1 MiB; a failing write switches it off with one line in the listing.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "file_bytes.h"
#include "uf_host.h"
#include "plugin_host.h"
#include "typing_host.h"

using namespace tarnwick_test;

namespace {

typedef std::vector<std::string> Lines;

// TARNWICK_TRACE of the test process, which the plug-in reads at start-up; taken away
// again at the end of the test.
class TraceVariable {
  public:
    explicit TraceVariable(const std::string& value) {
        SetEnvironmentVariableA("TARNWICK_TRACE", value.c_str());
    }
    ~TraceVariable() { SetEnvironmentVariableA("TARNWICK_TRACE", nullptr); }
};

// The trace's lines without their time stamps, each stamp checked on the way.
Lines TraceLines(const std::string& path) {
    std::string bytes = driving::FileBytes(path);
    Lines lines;
    const std::regex stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} ");
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF at the end of the trace";
        if (end == std::string::npos)
            break;
        std::string line = bytes.substr(at, end - at);
        EXPECT_TRUE(std::regex_search(line, stamp)) << line;
        lines.push_back(line.size() > 24 ? line.substr(24) : line);
        at = end + 2;
    }
    return lines;
}

std::string Joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// Each expected piece is found in a line of its own, in this order.
void ExpectInOrder(const Lines& lines, const Lines& pieces) {
    size_t next = 0;
    for (const std::string& piece : pieces) {
        while (next < lines.size() && lines[next].find(piece) == std::string::npos)
            ++next;
        ASSERT_LT(next, lines.size()) << "not found in order: " << piece << "\n" << Joined(lines);
        ++next;
    }
}

std::string RuleOf(const std::string& key_line) {
    std::smatch rule;
    std::regex_search(key_line, rule, std::regex(" rule=([a-z-]+)"));
    return rule.size() > 1 ? rule[1].str() : std::string();
}

bool HasListingLineAbout(const std::string& path) {
    for (const std::string& text : RecordTexts(HOST_EV_LISTING))
        if (text.find(path) != std::string::npos)
            return true;
    return false;
}

const std::string SessionTable = Table({"[MODE]", "MODE=0", "[全局]", "L=BTN_L=Line=全局=全局",
                                        "[二次开发]", "T=MYTOOL=Tool=二次开发=二次开发"});

} // namespace

TEST(Trace, NamesTheRuleOfEveryKeyTheLookupAndTheWritesButNeverAPassedKey) {
    std::string trace_path;
    TraceVariable variable("");
    TypingHost host("trace_session", SessionTable, "1", true, [&](DataFolder& folder) {
        trace_path = folder.PathOf("session-trace.log");
        SetEnvironmentVariableA("TARNWICK_TRACE", trace_path.c_str());
    });
    HostConfig_AddButton("BTN_L", 701);
    TypeCode("L ");
    TypeCode("T ");
    PressWith(VK_SHIFT, 'A');
    // Keys for the host's own text field, a password field perhaps.
    HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, host.Window(),
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    SetFocus(edit);
    PumpMessages(20);
    TypeCode("PQ");
    DestroyWindow(edit);
    host.Activate();
    TypeCode("Z ");
    PressKey(VK_ESCAPE);
    HostActions_Invoke("FENNOR_KEY_UNSET");
    const std::string table = host.Folder().PathOf("button_id.ini");
    host.Plugin().Unload();

    Lines lines = TraceLines(trace_path);
    ExpectInOrder(
        lines, {
                   "start: Tarnwick 1.0.0.0 \"",
                   "host release \"NX 12.0.2\"",
                   "ANSI code page 936",
                   "TARNWICK_DIR \"" + host.Folder().Root() + "\"",
                   "button_id.ini \"" + table + "\"",
                   "Tarnwick.macro \"" + host.Folder().PathOf("Tarnwick.macro") + "\"",
                   "chick.ini \"" + host.Folder().PathOf("chick.ini") + "\"",
                   "UI library \"" + StageFolder() +
                       "\\NXBIN\\libugui.dll\", not loaded by the host; it "
                       "exports " UF_MACRO_PLAYBACK_SYMBOL,
                   "application module 0",
                   // The switch is told only once its MODE record is read back.
                   "write \"" + table + ".bak\" copy of the table",
                   "write \"" + table + "\" [MODE] MODE=1: written",
                   "message flag=1 \"打开快捷键成功！\"",
                   // L, its release, Space: the rule and, for the taken keys, the name.
                   "key vk=0x4C flags=0x00260001 rule=code-key class=\"TarnwickKeyS\" title=\"NX\" "
                   "name=\"L\"",
                   "key vk=0x4C flags=0xC0260001 rule=not-first-down",
                   "key vk=0x20 flags=0x00390001 rule=space class=\"TarnwickKeyS\" title=\"NX\" "
                   "name=\"Space\"",
                   "lookup space code \"L\" module 0 table \"" + table + "\"",
                   "read [0] L: miss",
                   "read [全局] L: hit \"BTN_L=Line=全局=全局\"",
                   "button \"BTN_L\" id 701: WM_COMMAND posted to the host's main window",
                   "read [二次开发] T: hit \"MYTOOL=Tool=二次开发=二次开发\"",
                   "macro \"" + host.Folder().PathOf("Tarnwick.macro") +
                       "\" for button \"MYTOOL\": written",
                   "playback library \"" + StageFolder() + "\\NXBIN\\libugui.dll\": loaded",
                   "macro played back, flag 0",
                   "key vk=0x10 flags=0x002A0001 rule=host-key",
                   "key vk=0x41 flags=0x001E0001 rule=key-held",
                   "key vk=0x50 flags=0x00190001 rule=text-field class=\"Edit\"",
                   "key vk=0x51 flags=0x00100001 rule=text-field class=\"Edit\"",
                   "read [二次开发] Z: miss",
                   "message flag=0 \"输入快捷键有误，请重新输入!\"",
                   "key vk=0x1B flags=0x00010001 rule=esc",
                   "write \"" + table + "\" [MODE] MODE=0: written",
                   "message flag=1 \"关闭快捷键成功！\"",
                   "unload",
               });

    // Every key line names a rule of the filter, and a key the host received is named
    // nowhere in it.
    const std::set<std::string> passing = {
        "host-key",   "not-first-down", "key-held",    "own-window",
        "text-field", "forms-field",    "host-dialog", "esc"};
    const std::set<std::string> taking = {"offered-again", "space", "backspace", "code-key",
                                          "immediate"};
    int keys = 0;
    for (const std::string& line : lines) {
        if (line.compare(0, 4, "key ") != 0)
            continue;
        ++keys;
        std::string rule = RuleOf(line);
        EXPECT_TRUE(passing.count(rule) || taking.count(rule)) << line;
        if (passing.count(rule)) {
            EXPECT_EQ(line.find("name="), std::string::npos) << line;
        }
    }
    EXPECT_GE(keys, 20);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("\"P\""), std::string::npos) << line;
        EXPECT_EQ(line.find("\"Q\""), std::string::npos) << line;
    }
}

TEST(Trace, OneInTheDataFolderAppendedAcrossSessionsAndStartedAnewAtOneMebibyte) {
    ResetHost();
    DataFolder folder("trace_data_folder");
    folder.WriteStandardFiles(Table({"[MODE]", "MODE=0"}));
    const std::string path = folder.PathOf("tarnwick-trace.log");
    {
        TraceVariable variable("1");
        for (int session = 0; session < 2; ++session) {
            PluginHost plugin;
            ASSERT_TRUE(plugin.Load());
            ASSERT_EQ(plugin.StartUp(), 0);
            plugin.Unload();
        }
    }
    Lines lines = TraceLines(path);
    ExpectInOrder(lines, {"start: ", "unload", "start: ", "unload"});
    EXPECT_TRUE(RecordTexts(HOST_EV_LISTING).empty()) << DescribeRecord();

    // A trace just short of 1 MiB: the next session's first line starts a new file and
    // the full one becomes the ".old" file, byte for byte.
    const std::string full(1024 * 1024 - 40, 'x');
    folder.Write("tarnwick-trace.log", full);
    folder.Write("tarnwick-trace.log.old", "an older trace\r\n");
    {
        TraceVariable variable("1");
        PluginHost plugin;
        ASSERT_TRUE(plugin.Load());
        plugin.StartUp();
        plugin.Unload();
    }
    EXPECT_EQ(folder.Read("tarnwick-trace.log.old"), full);
    lines = TraceLines(path);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].compare(0, 7, "start: "), 0) << lines[0];
    EXPECT_EQ(lines.back(), "unload");

    // Unset, empty and 0 keep the trace off: no file, nothing in the listing.
    for (const char* off : {"", "0"}) {
        folder.Remove("tarnwick-trace.log");
        HostRecord_Clear();
        TraceVariable variable(off);
        PluginHost plugin;
        ASSERT_TRUE(plugin.Load());
        plugin.StartUp();
        HostActions_Invoke("FENNOR_KEY_SET");
        plugin.Unload();
        EXPECT_FALSE(folder.Exists("tarnwick-trace.log")) << "TARNWICK_TRACE=" << off;
        EXPECT_TRUE(RecordTexts(HOST_EV_LISTING).empty()) << DescribeRecord();
    }
}

TEST(Trace, AFileThatCannotBeWrittenSwitchesTheTraceOffWithOneListingLine) {
    ResetHost();
    DataFolder folder("trace_failing");
    folder.WriteStandardFiles(Table({"[MODE]", "MODE=0", "[全局]", "L=BTN_L=Line=全局=全局"}));

    // No folder for the file: it cannot be opened; the plug-in starts all the same.
    {
        const std::string path = folder.Root() + "\\no such folder\\trace.log";
        TraceVariable variable(path);
        PluginHost plugin;
        ASSERT_TRUE(plugin.Load());
        EXPECT_EQ(plugin.StartUp(), 0);
        EXPECT_EQ(RecordTexts(HOST_EV_LISTING).size(), 1u) << DescribeRecord();
        EXPECT_TRUE(HasListingLineAbout(path)) << DescribeRecord();
        plugin.Unload();
    }

    // A trace into the table would spoil it: refused, the table left byte for byte.
    HostRecord_Clear();
    {
        const std::string table = folder.Read("button_id.ini");
        TraceVariable variable(folder.PathOf("button_id.ini"));
        PluginHost plugin;
        ASSERT_TRUE(plugin.Load());
        EXPECT_EQ(plugin.StartUp(), 0);
        plugin.Unload();
        EXPECT_EQ(folder.Read("button_id.ini"), table);
        EXPECT_EQ(RecordTexts(HOST_EV_LISTING).size(), 1u) << DescribeRecord();
        EXPECT_TRUE(HasListingLineAbout(folder.PathOf("button_id.ini"))) << DescribeRecord();
    }

    // The file fills up and its ".old" name is taken by a folder: the write that would
    // start the new file fails, once; after it nothing more is written or said.
    HostRecord_Clear();
    const std::string path = folder.PathOf("tarnwick-trace.log");
    const std::string full(1024 * 1024 - 40, 'x');
    folder.Write("tarnwick-trace.log", full);
    CreateDirectoryA((path + ".old").c_str(), nullptr);
    {
        TraceVariable variable("1");
        PluginHost plugin;
        ASSERT_TRUE(plugin.Load());
        EXPECT_EQ(plugin.StartUp(), 0);
        HostActions_Invoke("FENNOR_KEY_SET");
        HostActions_Invoke("FENNOR_KEY_UNSET");
        plugin.Unload();
    }
    Lines listing = RecordTexts(HOST_EV_LISTING);
    ASSERT_EQ(listing.size(), 1u) << DescribeRecord();
    EXPECT_NE(listing[0].find(path), std::string::npos) << listing[0];
    EXPECT_NE(listing[0].find("cannot be written"), std::string::npos) << listing[0];
    EXPECT_EQ(folder.Read("tarnwick-trace.log"), full);
    // The plug-in went on: the switch-on and switch-off still wrote MODE.
    EXPECT_EQ(RecordedMessages().size(), 2u) << DescribeRecord();
    RemoveDirectoryA((path + ".old").c_str());
}
