// Custom buttons: the four-line macro written byte for byte and played back through
// the host's UI library, and every way the playback can fail, in both modes.
#include <gtest/gtest.h>

#include <utility>

#include "typing_host.h"
#include "plugin_host.h"
#include "uf_host.h"

using namespace tarnwick_test;

namespace {

typedef std::vector<std::string> Texts;

std::string Macro(const std::string& button) {
    return "Macro Version 7.50\r\n"
           "Part Name Display Style: $FILENAME\r\n"
           "*****************\r\n"
           "MENU, 0," +
           button + " UG_GATEWAY_MAIN_MENUBAR\r\n";
}

std::string CustomTable(const std::string& value) {
    return Table({"[二次开发]", "QT=" + value});
}

const char WrongShortcut[] = "输入快捷键有误，请重新输入!";
const char CommandFailed[] = "打开命令失败!";

} // namespace

TEST(Playback, MacroIsWrittenByteForByteAndPlayedBack) {
    TypingHost host("playback_bytes", CustomTable("MYTOOL_09=Tool=二次开发=二次开发"));
    // An older, longer macro must leave nothing behind.
    host.Folder().Write("Tarnwick.macro", std::string(500, 'X'));

    TypeCode("QT ");
    const std::string expected = Macro("MYTOOL_09");
    ASSERT_EQ(expected.size(), 118u);
    ASSERT_EQ(Record(HOST_EV_PLAYBACK).size(), 1u) << DescribeRecord();
    EXPECT_EQ(Record(HOST_EV_PLAYBACK)[0].text, expected);
    EXPECT_EQ(Record(HOST_EV_PLAYBACK)[0].value, 0); // the flag passed holds 0
    EXPECT_EQ(host.Folder().Read("Tarnwick.macro"), expected);
    EXPECT_EQ(RecordTexts(HOST_EV_CUSTOM_COMMAND), (Texts{"MYTOOL_09"}));

    const std::string macro_path = host.Folder().PathOf("Tarnwick.macro");
    ASSERT_EQ(Record(HOST_EV_PLAYBACK_PATH).size(), 1u);
    EXPECT_EQ(Record(HOST_EV_PLAYBACK_PATH)[0].text, macro_path);
    EXPECT_EQ(Record(HOST_EV_PLAYBACK_PATH)[0].value, static_cast<int>(macro_path.size()));
    EXPECT_EQ(RecordTexts(HOST_EV_LOAD_LIBRARY),
              (Texts{StageFolder() + "\\NXBIN\\libugui.dll|" UF_MACRO_PLAYBACK_SYMBOL}));
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"Q", "QT", ""}));
    EXPECT_TRUE(RecordedMessages().empty()) << DescribeRecord();

    // Space repeats the code; the library is asked afresh for every playback.
    HostRecord_Clear();
    TypeCode(" ");
    EXPECT_EQ(Record(HOST_EV_LOAD_LIBRARY).size(), 1u) << DescribeRecord();
    EXPECT_EQ(RecordTexts(HOST_EV_CUSTOM_COMMAND), (Texts{"MYTOOL_09"}));
}

TEST(Playback, ButtonNamesAreWrittenUnchanged) {
    const std::string long_name(255, 'N');
    const std::string names[] = {"MY TOOL, 2", "工具A", long_name};
    for (const std::string& name : names) {
        SCOPED_TRACE(name.substr(0, 20));
        // A value longer than the lookup's 255-byte read runs nothing: the longest name
        // fills the read on its own.
        const std::string value = name == long_name ? name : name + "=x=二次开发=二次开发";
        TypingHost host("playback_names", CustomTable(value), "0");
        TypeCode("QT");
        EXPECT_EQ(host.Folder().Read("Tarnwick.macro"), Macro(name));
        EXPECT_EQ(host.Folder().Read("Tarnwick.macro").size(), 109 + name.size());
        EXPECT_EQ(RecordTexts(HOST_EV_CUSTOM_COMMAND), (Texts{name}));
        EXPECT_STREQ(HostWindow_StatusText(), "");
    }
}

namespace {

const char OldMacro[] = "old macro\r\n";

struct FailureCase {
    const char* what;
    std::string value; // of QT in the custom section
    std::function<void(DataFolder&)> before_start;
    std::function<void(DataFolder&)> after_start;
    Texts status_texts; // after Q and QT
    bool library_asked;
    const char* macro_left; // the macro file's bytes afterwards; nullptr: not a file
};

// The host UI library without the playback function: another DLL under its name, in
// the NXBIN folder beside a working directory ending in UGII.
void UseLibraryWithoutPlayback(DataFolder& folder) {
    CreateDirectoryA((folder.Root() + "\\UGII").c_str(), nullptr);
    CreateDirectoryA((folder.Root() + "\\NXBIN").c_str(), nullptr);
    CopyFileA((ProgramFolder() + "\\libhostcore.dll").c_str(),
              (folder.Root() + "\\NXBIN\\libugui.dll").c_str(), FALSE);
    SetCurrentDirectoryA((folder.Root() + "\\UGII").c_str());
}

const std::string Played = Macro("MYTOOL_09");

} // namespace

TEST(Playback, FailuresAreReportedAndEachModeGoesOnAsItsMiss) {
    const FailureCase cases[] = {
        {"library not loadable",
         "MYTOOL_09=x=二次开发=二次开发",
         [](DataFolder&) { HostConfig_SetLibraryLoads(0); },
         nullptr,
         {"Q", "QT"},
         true,
         Played.c_str()},
        {"no playback function",
         "MYTOOL_09=x=二次开发=二次开发",
         UseLibraryWithoutPlayback,
         nullptr,
         {"Q", "QT", "宏播放函数指针为空！"},
         true,
         Played.c_str()},
        {"empty button name", "", nullptr, nullptr, {"Q", "QT", "输入参数无效！"}, false, OldMacro},
        {"button name of only =",
         "==",
         nullptr,
         nullptr,
         {"Q", "QT", "输入参数无效！"},
         false,
         OldMacro},
        {"macro file absent at start-up",
         "MYTOOL_09",
         [](DataFolder& f) { f.Remove("Tarnwick.macro"); },
         nullptr,
         {"Q", "QT", "宏文件创建失败！"},
         false,
         ""},
        {"macro file not creatable",
         "MYTOOL_09",
         nullptr,
         [](DataFolder& f) {
             f.Remove("Tarnwick.macro");
             CreateDirectoryA(f.PathOf("Tarnwick.macro").c_str(), nullptr);
         },
         {"Q", "QT", "宏文件创建失败！"},
         false,
         nullptr},
    };
    for (const FailureCase& c : cases) {
        for (const char* check1 : {"1", "0"}) {
            const bool space_mode = check1[0] == '1';
            SCOPED_TRACE(std::string(c.what) + (space_mode ? ", Space mode" : ", immediate"));
            auto prepare = [&c](DataFolder& folder) {
                folder.Write("Tarnwick.macro", OldMacro);
                if (c.before_start)
                    c.before_start(folder);
            };
            TypingHost host("playback_failure", CustomTable(c.value), check1, true, prepare);
            if (c.after_start)
                c.after_start(host.Folder());
            TypeCode(space_mode ? "QT " : "QT");

            EXPECT_EQ(RecordTexts(HOST_EV_STATUS), c.status_texts) << DescribeRecord();
            EXPECT_EQ(Record(HOST_EV_LOAD_LIBRARY).size(), c.library_asked ? 1u : 0u);
            EXPECT_TRUE(Record(HOST_EV_PLAYBACK).empty());
            if (c.macro_left) {
                EXPECT_EQ(host.Folder().Read("Tarnwick.macro"), c.macro_left);
            }
            if (space_mode) {
                EXPECT_EQ(RecordedMessages(), (Messages{{CommandFailed, 1}, {WrongShortcut, 0}}));
                // The code was emptied: the next key starts a new one.
                HostRecord_Clear();
                TypeCode("A");
                EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"A"}));
            } else {
                EXPECT_EQ(RecordedMessages(), (Messages{{CommandFailed, 1}}));
                // The code is kept: the next key extends it.
                HostRecord_Clear();
                HostConfig_SetLibraryLoads(1);
                TypeCode("A");
                EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"QTA"}));
            }
        }
    }
}
