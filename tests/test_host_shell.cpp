// The host shell program: its menu-file reader, and the program itself run with a
// small script against the real plug-in, judged by its transcript.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "file_bytes.h"
#include "menu_file.h"
#include "plugin_host.h"
#include "program_run.h"
#include "png_file.h"
#include "text_codes.h"

using namespace tarnwick_test;

namespace {

struct MenuCase {
    const char* name;
    const char* text; // "\n" is written as CR LF unless the case says otherwise
    const char* expected;
};

// A compact picture of a parsed file: edits, menus and problems.
std::string Describe(const MenuFile& f) {
    std::string out = "v" + std::to_string(f.version);
    const char* places[] = {"after", "before", "top", "bottom"};
    for (const MenuEdit& e : f.edits) {
        out += " edit " + e.target + " " + places[e.place] +
               (e.anchor.empty() ? "" : " " + e.anchor) + ":";
        for (const MenuItem& i : e.items)
            out += " " + i.name + "[" + i.label + "]";
    }
    for (const MenuDefinition& m : f.menus) {
        out += " menu " + m.name + ":";
        for (const MenuItem& i : m.items) {
            if (i.kind == MenuItem::Separator)
                out += " --";
            else
                out += " " + std::string(i.kind == MenuItem::Cascade ? ">" : "") + i.name + "[" +
                       i.label + "]" + (i.action.empty() ? "" : "=" + i.action);
        }
    }
    for (const std::string& p : f.problems)
        out += " !" + p;
    return out;
}

std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

const char* const TarnwickMenu = "! Tarnwick menu\n"
                                 "VERSION 120\n"
                                 "EDIT UG_GATEWAY_MAIN_MENUBAR\n"
                                 "AFTER UG_HELP\n"
                                 "  CASCADE_BUTTON TARNWICK_MENU\n"
                                 "  LABEL 快捷键\n"
                                 "END_OF_AFTER\n"
                                 "MENU TARNWICK_MENU\n"
                                 "  BUTTON TARNWICK_KEY_SET\n"
                                 "  LABEL 开启快捷键\n"
                                 "  ACTIONS FENNOR_KEY_SET\n"
                                 "  BUTTON TARNWICK_KEY_UNSET\n"
                                 "  LABEL 关闭快捷键\n"
                                 "  ACTIONS FENNOR_KEY_UNSET\n"
                                 "  SEPARATOR\n"
                                 "  BUTTON TARNWICK_KEY_DEFINE\n"
                                 "  LABEL 快捷键设置\n"
                                 "  ACTIONS FENNOR_KEY_DEFINE\n"
                                 "END_OF_MENU\n";

} // namespace

TEST(MenuFileReader, ReadsTheSubsetAndNamesWhatItCannotUse) {
    const MenuCase cases[] = {
        {"the add-on menu", TarnwickMenu,
         "v120 edit UG_GATEWAY_MAIN_MENUBAR after UG_HELP: TARNWICK_MENU[快捷键]"
         " menu TARNWICK_MENU: TARNWICK_KEY_SET[开启快捷键]=FENNOR_KEY_SET"
         " TARNWICK_KEY_UNSET[关闭快捷键]=FENNOR_KEY_UNSET --"
         " TARNWICK_KEY_DEFINE[快捷键设置]=FENNOR_KEY_DEFINE"},
        {"before, top and a nested cascade; labels keep their spaces",
         "VERSION 120\nEDIT UG_FILE\nBEFORE UG_FILE_EXIT\nBUTTON B\nLABEL Save  all\nACTIONS S\n"
         "END_OF_BEFORE\nTOP\nCASCADE_BUTTON SUB\nEND_OF_TOP\nMENU SUB\nCASCADE_BUTTON DEEP\n"
         "LABEL Deep\nEND_OF_MENU\n",
         "v120 edit UG_FILE before UG_FILE_EXIT: B[Save  all] edit UG_FILE top: SUB[]"
         " menu SUB: >DEEP[Deep]"},
        {"LABEL and ACTIONS without a button, ACTIONS on a cascade",
         "VERSION 1\nMENU M\nLABEL x\nCASCADE_BUTTON C\nACTIONS A\nSEPARATOR\nACTIONS "
         "B\nEND_OF_MENU\n",
         "v1 menu M: >C[] -- !line 3: LABEL without a button !line 5: ACTIONS on a cascade button"
         " !line 7: ACTIONS without a button"},
        {"unbalanced blocks and a missing VERSION",
         "END_OF_MENU\nAFTER X\nEDIT BAR\nAFTER X\nEND_OF_BEFORE\nEND_OF_AFTER\nMENU M\nBUTTON B\n",
         "v0 edit BAR after X: menu M: B[] !line 1: END_OF_MENU without MENU"
         " !line 2: AFTER without EDIT !line 5: END_OF_BEFORE without its opening line"
         " !line 9: END_OF_MENU missing for M !line 9: VERSION missing"},
        {"items outside a block and unknown lines",
         "VERSION 120\nBUTTON X\nACCELERATOR Ctrl+K\nMENU\n",
         "v120 !line 2: BUTTON outside a menu !line 3: unsupported line ACCELERATOR ignored"
         " !line 4: MENU without a name"},
    };
    for (const MenuCase& c : cases) {
        EXPECT_EQ(Describe(ParseMenuFile(Crlf(c.text))), c.expected) << c.name;
        // Line ends of either kind read the same.
        EXPECT_EQ(Describe(ParseMenuFile(c.text)), c.expected) << c.name << " (LF)";
    }
}

namespace {

using driving::FileBytes;

void WriteFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(driving::WriteFileBytes(path, bytes)) << path;
}

size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line)
            return i;
    return std::string::npos;
}

// Runs tarnwick-host.exe in the given working folder, by default the staged host
// folder; returns its exit code (-1: it did not end within a minute and was stopped).
int RunShell(const std::string& arguments, std::string folder = std::string()) {
    if (folder.empty())
        folder = StageFolder() + "\\UGII";
    driving::ProgramRun run = driving::RunProgram(
        "\"" + ProgramFolder() + "\\tarnwick-host.exe\" " + arguments, folder, 60000);
    return run.started ? run.status : -2;
}

// The menu reaches the plug-in through the file's bindings; an item bound to an
// action nobody registered is greyed; an edit with an unknown anchor still lands.
const char* const ShellScript = "# keys before shortcuts are on go to the host\n"
                                "type A\n"
                                "menu 开启快捷键\n"
                                "menu 无人注册\n"
                                "menu UG_MODELING_LINE\n"
                                "action FENNOR_KEY_NONE\n"
                                "note 完\n";

const char* const ExtraMenu = "VERSION 120\n"
                              "EDIT UG_GATEWAY_MAIN_MENUBAR\n"
                              "BEFORE UG_NOPE\n"
                              "  CASCADE_BUTTON EXTRA\n"
                              "END_OF_BEFORE\n"
                              "MENU EXTRA\n"
                              "  BUTTON EXTRA_ITEM\n"
                              "  LABEL 无人注册\n"
                              "  ACTIONS NOBODY_REGISTERS_THIS\n"
                              "END_OF_MENU\n";

} // namespace

// The numbers of the shell's options and script lines are module numbers and ids of
// 32 bits; what the C library's long would saturate is refused.
TEST(ShellNumbers, WholeNumbersWithinIntOnly) {
    const std::pair<const char*, int> good[] = {
        {"0", 0}, {"40", 40}, {"-3", -3}, {"2147483647", 2147483647}, {"-2147483648", INT_MIN}};
    for (const auto& g : good) {
        int value = 7;
        EXPECT_TRUE(ParseInt(g.first, &value)) << g.first;
        EXPECT_EQ(value, g.second) << g.first;
    }
    for (const char* bad : {"", "x", "12x", "2147483648", "-2147483649", "99999999999"}) {
        int value = 7;
        EXPECT_FALSE(ParseInt(bad, &value)) << bad;
    }
}

TEST(HostShell, LoadsThePluginBindsItsMenuRunsTheScriptAndUnloads) {
    DataFolder folder("host_shell");
    folder.WriteStandardFiles("[MODE]\r\nMODE=0\r\n");
    std::string scratch = folder.Root();
    WriteFile(scratch + "\\a.men", Crlf(TarnwickMenu));
    WriteFile(scratch + "\\b.men", Crlf(ExtraMenu));
    WriteFile(scratch + "\\test.script", GbkToUtf8(ShellScript));
    std::string arguments = "--plugin \"" + ProgramFolder() + "\\Tarnwick.dll\" --menu \"" +
                            scratch + "\\a.men\" --menu \"" + scratch + "\\b.men\" --script \"" +
                            scratch + "\\test.script\" --tarnwick-dir \"" + scratch +
                            "\" --transcript \"" + scratch + "\\transcript.txt\"";

    std::string transcripts[2];
    for (std::string& transcript : transcripts) {
        folder.WriteStandardFiles("[MODE]\r\nMODE=0\r\n");
        ASSERT_EQ(RunShell(arguments), 0) << FileBytes(scratch + "\\transcript.txt");
        transcript = FileBytes(scratch + "\\transcript.txt");
        // The set action reached the plug-in, which recorded the new state.
        EXPECT_NE(folder.Read("button_id.ini").find("MODE=1"), std::string::npos);
    }
    EXPECT_EQ(transcripts[0], transcripts[1]) << "a rerun must print the same transcript";

    std::vector<std::string> lines = driving::TextLines(Utf8ToGbk(transcripts[0]));
    const std::string text = Utf8ToGbk(transcripts[0]);
    auto at = [&](const std::string& line) {
        size_t i = IndexOf(lines, line);
        EXPECT_NE(i, std::string::npos) << "missing: " << GbkToUtf8(line) << "\n---\n"
                                        << transcripts[0];
        return i;
    };
    EXPECT_EQ(text.find(scratch), std::string::npos) << "the data folder shows as <TARNWICK_DIR>";
    at("[config] TARNWICK_DIR <TARNWICK_DIR>");
    size_t start = at("[start]  ufsta");
    size_t init = at("[host]   UF_initialize -> 0");
    size_t registered = at("[host]   menu action registered: FENNOR_KEY_DEFINE");
    size_t started = at("[start]  ufsta -> status 0");
    EXPECT_LT(start, init);
    EXPECT_LT(init, registered);
    EXPECT_LT(registered, started);
    at("[menu]   开启快捷键 (TARNWICK_KEY_SET) -> FENNOR_KEY_SET");
    at("[menu]   关闭快捷键 (TARNWICK_KEY_UNSET) -> FENNOR_KEY_UNSET");
    at("[menu]   快捷键设置 (TARNWICK_KEY_DEFINE) -> FENNOR_KEY_DEFINE");
    at("[menu]   b.men: no item UG_NOPE in UG_GATEWAY_MAIN_MENUBAR, items added at the end");
    at("[menu]   无人注册 (EXTRA_ITEM) -> NOBODY_REGISTERS_THIS [not registered: greyed]");

    size_t typed = at("[type]   A");
    EXPECT_EQ(lines[typed + 1], "[key]    A reached the host window");
    size_t chosen = at("[menu]   开启快捷键 -> FENNOR_KEY_SET");
    size_t done = at("[action] FENNOR_KEY_SET -> 0");
    EXPECT_LT(chosen, done);
    EXPECT_LT(started, chosen);
    at("[menu]   无人注册 is greyed");
    at("[run]    host button 4711 UG_MODELING_LINE");
    at("[invoke] FENNOR_KEY_NONE is not registered");
    at("[note]   完");
    EXPECT_EQ(lines.back(), "[exit]   ufusr_ask_unload -> 3; ufusr_cleanup; unloaded");
}

// A scripted run must not hang on a message box the plug-in shows at start-up.
TEST(HostShell, AnswersMessageBoxesOfAScriptedRun) {
    DataFolder folder("host_shell_boxes");
    std::string scratch = folder.Root();
    WriteFile(scratch + "\\empty.script", "note -\n");
    SetEnvironmentVariableA("TARNWICK_DIR", nullptr);
    ASSERT_EQ(RunShell("--plugin \"" + ProgramFolder() +
                       "\\Tarnwick.dll\" --menu none.men --script \"" + scratch +
                       "\\empty.script\" --transcript \"" + scratch + "\\transcript.txt\""),
              0);
    std::string transcript = Utf8ToGbk(FileBytes(scratch + "\\transcript.txt"));
    size_t boxes = 0;
    for (const std::string& line : driving::TextLines(transcript))
        if (line == "[box]    \"提示\" TARNWICK_DIR 环境变量没有设置! -> OK")
            ++boxes;
    EXPECT_EQ(boxes, 3u) << GbkToUtf8(transcript);
    EXPECT_NE(transcript.find("[config] TARNWICK_DIR not set"), std::string::npos);
    EXPECT_NE(transcript.find("[menu]   file none.men (not found)"), std::string::npos);
}

// NX has its UI library loaded from the start, and so has the shell unless told not
// to: started from a project folder, a custom code plays back through that library;
// without it, the plug-in's working-folder rule finds nothing there.
TEST(HostShell, PlaysCustomCodesThroughTheUiLibraryItLoadedFromAnyFolder) {
    DataFolder folder("host_shell_ui");
    std::string scratch = folder.Root();
    CreateDirectoryA((scratch + "\\seat").c_str(), nullptr);
    CreateDirectoryA((scratch + "\\Projects").c_str(), nullptr);
    const std::string library = scratch + "\\seat\\libugui.dll";
    ASSERT_TRUE(
        CopyFileA((StageFolder() + "\\NXBIN\\libugui.dll").c_str(), library.c_str(), FALSE));
    WriteFile(scratch + "\\a.men", Crlf(TarnwickMenu));
    WriteFile(scratch + "\\test.script", GbkToUtf8("menu 开启快捷键\ntype QT\nkey Space\n"));
    const std::string arguments = "--plugin \"" + ProgramFolder() + "\\Tarnwick.dll\" --menu \"" +
                                  scratch + "\\a.men\" --script \"" + scratch +
                                  "\\test.script\" --tarnwick-dir \"" + scratch +
                                  "\" --transcript \"" + scratch + "\\transcript.txt\" ";
    struct Case {
        std::string ui_library;
        bool plays;
    };
    const Case cases[] = {{"\"" + library + "\"", true}, {"none", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ui_library);
        folder.WriteStandardFiles("[二次开发]\r\nQT=MY_TOOL=Tool=二次开发=二次开发\r\n", "1");
        ASSERT_EQ(RunShell(arguments + "--ui-library " + c.ui_library, scratch + "\\Projects"), 0);
        std::string transcript = Utf8ToGbk(driving::FileBytes(scratch + "\\transcript.txt"));
        std::vector<std::string> lines = driving::TextLines(transcript);
        bool played = IndexOf(lines, "[run]    custom button MY_TOOL") != std::string::npos;
        bool failed = transcript.find("打开命令失败!") != std::string::npos;
        EXPECT_EQ(played, c.plays) << GbkToUtf8(transcript);
        EXPECT_EQ(failed, !c.plays) << GbkToUtf8(transcript);
    }
}

namespace {

uint32_t BitwiseCrc(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

uint32_t Big32(const std::string& b, size_t at) {
    return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
           (uint32_t(uint8_t(b[at + 2])) << 8) | uint32_t(uint8_t(b[at + 3]));
}

} // namespace

// Screenshots must open in any viewer: chunk CRCs, stored deflate blocks (an image
// larger than one block) and the zlib checksum are checked independently here.
TEST(ScreenshotPng, IsAValidPngOfStoredBlocks) {
    const int width = 300, height = 250;
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = uint8_t(i * 7 + i / 900);
    DataFolder folder("host_shell_png");
    std::string path = folder.Root() + "\\shot.png";
    ASSERT_TRUE(WritePngFile(path, width, height, rgb));
    std::string png = FileBytes(path);
    ASSERT_EQ(png.compare(0, 8, "\x89PNG\r\n\x1A\n"), 0);

    std::string zlib, types;
    for (size_t at = 8; at + 12 <= png.size();) {
        uint32_t length = Big32(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        std::string type_and_data = png.substr(at + 4, 4 + length);
        EXPECT_EQ(Big32(png, at + 8 + length), BitwiseCrc(type_and_data))
            << type_and_data.substr(0, 4);
        types += type_and_data.substr(0, 4) + " ";
        if (type_and_data.compare(0, 4, "IHDR") == 0) {
            EXPECT_EQ(Big32(png, at + 8), uint32_t(width));
            EXPECT_EQ(Big32(png, at + 12), uint32_t(height));
        }
        if (type_and_data.compare(0, 4, "IDAT") == 0)
            zlib += type_and_data.substr(4);
        at += 12 + length;
    }
    EXPECT_EQ(types, "IHDR IDAT IEND ");

    ASSERT_GE(zlib.size(), 6u);
    EXPECT_EQ(((uint8_t(zlib[0]) << 8) | uint8_t(zlib[1])) % 31, 0) << "zlib header check";
    std::string raw;
    size_t at = 2;
    int blocks = 0;
    for (bool last = false; !last;) {
        ASSERT_LE(at + 5, zlib.size());
        last = zlib[at] & 1;
        EXPECT_EQ(zlib[at] & 6, 0) << "stored block";
        unsigned len = uint8_t(zlib[at + 1]) | (uint8_t(zlib[at + 2]) << 8);
        unsigned nlen = uint8_t(zlib[at + 3]) | (uint8_t(zlib[at + 4]) << 8);
        EXPECT_EQ(len ^ 0xFFFFu, nlen);
        raw += zlib.substr(at + 5, len);
        at += 5 + len;
        ++blocks;
    }
    EXPECT_GT(blocks, 1);
    std::string expected;
    for (int y = 0; y < height; ++y) {
        expected += '\0';
        expected.append(reinterpret_cast<const char*>(&rgb[size_t(y) * width * 3]),
                        size_t(width) * 3);
    }
    EXPECT_TRUE(raw == expected);
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    ASSERT_EQ(at + 4, zlib.size());
    EXPECT_EQ(Big32(zlib, at), (b << 16) | a);
}
