// tarnwick-check run as a user runs it: a console program given a table file, its
// output read from a pipe. Each fixture table plants one fault; the findings' lines,
// kinds and the exit status are checked, and a clean table gives only the summary.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "plugin_host.h"
#include "program_run.h"

using namespace tarnwick_test;

namespace {

struct CheckerRun {
    int status = -1;
    std::string output; // stdout and stderr, CR LF made LF
    std::vector<std::string> lines;
};

std::string CheckerPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\') + 1) + "tarnwick-check.exe";
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

CheckerRun RunChecker(const std::string& arguments) {
    CheckerRun run;
    // A hung run fails this test instead of holding the whole suite.
    driving::ProgramRun program =
        driving::RunProgram(Quoted(CheckerPath()) + " " + arguments, std::string(), 60000);
    if (program.timed_out)
        ADD_FAILURE() << "tarnwick-check did not end: " << arguments;
    run.status = program.status;
    run.output = driving::WithoutCarriageReturns(program.output);
    run.lines = driving::TextLines(run.output);
    return run;
}

// "PATH:LINE: kind: text" of one table, as "LINE kind text".
std::vector<std::string> Findings(const CheckerRun& run, const std::string& path) {
    std::vector<std::string> findings;
    for (const std::string& line : run.lines) {
        if (line.compare(0, path.size() + 1, path + ":") != 0)
            continue;
        size_t colon = line.find(": ", path.size() + 1);
        if (colon == std::string::npos || line[path.size() + 1] < '0' ||
            line[path.size() + 1] > '9')
            continue;
        std::string number = line.substr(path.size() + 1, colon - path.size() - 1);
        std::string rest = line.substr(colon + 2);
        size_t kind_end = rest.find(": ");
        findings.push_back(number + " " + rest.substr(0, kind_end) + " " +
                           rest.substr(kind_end + 2));
    }
    return findings;
}

const char Head[] = "[MODE]\r\nMODE=0\r\n[全局]\r\nL=UG_MODELING_LINE=直线=全局=全局\r\n";

std::string Utf16Le(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

std::string SourcePath(const std::string& relative) {
    return std::string(TARNWICK_SOURCE_DIR) + "/" + relative;
}

} // namespace

TEST(Checker, EachPlantedFaultIsFoundOnItsLine) {
    struct Expected {
        int line;
        const char* kind;
        const char* text; // a part of the message
    };
    struct Case {
        const char* name;
        std::string table;
        const char* check1; // chick.ini beside the table, or none
        std::vector<Expected> findings;
    };
    const std::string utf8_head = "[MODE]\r\nMODE=0\r\n[\xE5\x85\xA8\xE5\xB1\x80]\r\n"
                                  "L=UG_MODELING_LINE=\xE7\x9B\xB4\xE7\xBA\xBF=\xE5\x85\xA8\xE5\xB1"
                                  "\x80=\xE5\x85\xA8\xE5\xB1\x80\r\n";
    const std::string long_text(260, 'x');
    const Case cases[] = {
        {"utf8 with mark",
         "\xEF\xBB\xBF" + utf8_head,
         nullptr,
         {{1, "error", "UTF-8 with a byte-order mark"}}},
        {"utf8", utf8_head, nullptr, {{3, "error", "saved as UTF-8"}}},
        {"utf16", Utf16Le("[MODE]\r\nMODE=0\r\n"), nullptr, {{1, "warning", "UTF-16"}}},
        {"not gbk",
         std::string(Head) + "A=UG_MODELING_ARC=\xFF=全局=全局\r\n",
         nullptr,
         {{5, "error", "not GBK"}}},
        {"nul byte",
         std::string(Head) + std::string("A=UG_A=x\0y=全局=全局\r\n", 22),
         nullptr,
         {{5, "error", "NUL byte"}}},
        {"no equals", std::string(Head) + "ARC\r\n", nullptr, {{5, "error", "no \"=\""}}},
        {"four fields",
         std::string(Head) + "A=UG_MODELING_ARC=圆弧=全局\r\n",
         nullptr,
         {{5, "error", "4 fields, five expected"}}},
        {"six fields",
         std::string(Head) + "A=UG_MODELING_ARC=a=b=全局=全局\r\n",
         nullptr,
         {{5, "warning", "6 fields, five expected"}}},
        {"empty field",
         std::string(Head) + "A=UG_MODELING_ARC==全局=全局\r\n",
         nullptr,
         {{5, "error", "field 3 (description) is empty"}}},
        {"empty button",
         std::string(Head) + "A==圆弧=全局=全局\r\n",
         nullptr,
         {{5, "error", "field 2 (button) is empty"}}},
        {"key too long",
         std::string(Head) + "ABCDEF=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         nullptr,
         {{5, "error", "longer than five characters"}}},
        {"key no key name",
         std::string(Head) + "圆=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         nullptr,
         {{5, "error", "no key name"}}},
        {"key blanks",
         std::string(Head) + " A =UG_MODELING_ARC=圆弧=全局=全局\r\n",
         nullptr,
         {{5, "warning", "reads it as \"A\""}}},
        {"key bracket",
         std::string(Head) + "[A=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         nullptr,
         {{5, "warning", "starts with \"[\""}}},
        {"header, not entry",
         std::string(Head) + "[A]=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         nullptr,
         {{5, "error", "read as the section header [A]"}}},
        {"comment entry",
         std::string(Head) + ";A=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         nullptr,
         {{5, "warning", "typing \";A\" runs it"}}},
        {"repeated key",
         std::string(Head) + "l = UG_MODELING_ARC=圆弧=全局=全局\r\n",
         nullptr,
         {{5, "error", "repeats line 4 of this section: only line 4 is read"}}},
        {"repeated header",
         std::string(Head) + "[MODE]\r\n[全局]\r\nA=UG_A=a=全局=全局\r\n",
         nullptr,
         {{5, "error", "section [MODE] repeats the header of line 1"},
          {6, "error", "repeats the header of line 3"}}},
        {"unknown sections",
         std::string(Head) + "[Modeling]\r\nA=UG_A=a=仅应用模块=Modeling\r\n[040]\r\n",
         nullptr,
         {{5, "warning", "section [Modeling] is neither"}, {7, "warning", "section [040]"}}},
        {"before any header",
         "A=UG_A=a=全局=全局\r\n" + std::string(Head),
         nullptr,
         {{1, "warning", "before the first section header"}}},
        {"scope fields",
         std::string(Head) + "A=UG_MODELING_ARC=圆弧=仅应用模块=40\r\n",
         nullptr,
         {{5, "warning", "the scope fields say 仅应用模块 and [40], but the line is in [全局]"}}},
        {"value too long",
         std::string(Head) + "A=UG_MODELING_ARC=" + long_text + "=全局=全局\r\n",
         nullptr,
         {{5, "error", "more than the 255 the lookup reads"}}},
        {"module and global",
         std::string(Head) + "[40]\r\nL=UG_MODELING_ARC=圆弧=仅应用模块=40\r\n",
         nullptr,
         {{4, "warning", "also defined for application module 40 (line 6)"}}},
        {"global and custom",
         std::string(Head) + "[二次开发]\r\nL=MY_TOOL=工具=二次开发=二次开发\r\n",
         nullptr,
         {{6, "warning", "also in [全局] (line 4), which is read first"}}},
        {"immediate prefix",
         std::string(Head) + "LI=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         "0",
         {{5, "error", "code \"LI\" can never be typed: \"L\" (line 4) runs first"}}},
        {"immediate prefix in one module",
         std::string(Head) + "AR=UG_MODELING_ARC=圆弧=全局=全局\r\n[40]\r\n"
                             "A=UG_MODELING_ARC=圆弧=仅应用模块=40\r\n",
         "0",
         {{5, "error",
           "in application module 40, code \"AR\" can never be typed: \"A\" (line 7)"}}},
        {"space mode has no prefix rule", std::string(Head) + "LI=UG_A=a=全局=全局\r\n", "1", {}},
        {"clean",
         std::string(Head) + "[40]\r\nBL=UG_MODELING_BLEND=边倒圆=仅应用模块=40\r\n"
                             "[二次开发]\r\nQT=MY_TOOL=我的工具=二次开发=二次开发",
         "0",
         {}},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataFolder folder("checker_case" + std::to_string(index++));
        folder.Write("button_id.ini", c.table);
        if (c.check1)
            folder.Write("chick.ini", std::string("[CHECK1]\r\nCHECK1=") + c.check1 + "\r\n");
        const std::string path = folder.PathOf("button_id.ini");
        CheckerRun run = RunChecker("--lang en " + Quoted(path));
        std::vector<std::string> found = Findings(run, path);
        ASSERT_EQ(found.size(), c.findings.size()) << run.output;
        for (size_t i = 0; i < found.size(); ++i) {
            const Expected& e = c.findings[i];
            EXPECT_EQ(found[i].compare(0, std::to_string(e.line).size() + 1,
                                       std::to_string(e.line) + " "),
                      0)
                << found[i];
            EXPECT_NE(found[i].find(std::string(" ") + e.kind + " "), std::string::npos)
                << found[i];
            EXPECT_NE(found[i].find(e.text), std::string::npos) << found[i];
        }
        EXPECT_EQ(run.status, c.findings.empty() ? 0 : 1) << run.output;
        // Nothing but the findings and the one-line summary.
        ASSERT_EQ(run.lines.size(), found.size() + 1) << run.output;
        EXPECT_EQ(run.lines.back().compare(0, path.size() + 2, path + ": "), 0) << run.output;
    }
}

TEST(Checker, CleanTableGivesOnlyTheSummaryInChineseByDefault) {
    DataFolder folder("checker_clean");
    folder.Write("button_id.ini", Head);
    const std::string path = folder.PathOf("button_id.ini");
    CheckerRun run = RunChecker(Quoted(path));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, path + "：没有发现问题（1 个快捷键）\n");
}

TEST(Checker, TheDemoTableIsClean) {
    const std::string path = SourcePath("demo/data/button_id.ini");
    CheckerRun run = RunChecker("--lang en " + Quoted(path));
    EXPECT_EQ(run.status, 0) << run.output;
    ASSERT_EQ(run.lines.size(), 1u) << run.output;
    EXPECT_NE(run.lines[0].find("no problems found"), std::string::npos);
}

TEST(Checker, UnreadableTableAndWrongCommandLinesGiveTwo) {
    DataFolder folder("checker_unreadable");
    const std::string missing = folder.PathOf("none.ini");
    CheckerRun run = RunChecker("--lang en " + Quoted(missing));
    EXPECT_EQ(run.status, 2);
    ASSERT_EQ(run.lines.size(), 1u) << run.output;
    EXPECT_EQ(run.lines[0].find(missing + ": error: cannot read the table: "), 0u) << run.output;

    folder.Write("button_id.ini", Head);
    const std::string table = Quoted(folder.PathOf("button_id.ini"));
    const std::string wrong[] = {
        "",
        "--lang en --bogus " + table,
        "--lang en " + table + " " + table,
        "--lang en --module forty " + table,
        "--lang en --list-buttons",
        "--lang en --menus " + Quoted(folder.PathOf("nowhere")) + " " + table,
    };
    for (const std::string& arguments : wrong) {
        CheckerRun bad = RunChecker(arguments);
        EXPECT_EQ(bad.status, 2) << arguments << "\n" << bad.output;
        EXPECT_FALSE(bad.output.empty()) << arguments;
    }

    CheckerRun help = RunChecker("--lang en --help");
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--menus", "--module", "--list-buttons", "--find", "--lang"})
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
}

TEST(Checker, ButtonNamesAgainstTheMenuFiles) {
    DataFolder folder("checker_menus");
    folder.Write("host.men", "VERSION 120\r\nEDIT UG_GATEWAY_MAIN_MENUBAR\r\nMENU UG_INSERT\r\n"
                             "  BUTTON UG_MODELING_LINE\r\n  LABEL 直线...\r\n"
                             "  ACTIONS line\r\nEND_OF_MENU\r\n");
    folder.Write("button_id.ini", std::string(Head) + "A=UG_MODELING_ARCH=圆弧=全局=全局\r\n");
    const std::string path = folder.PathOf("button_id.ini");
    CheckerRun run =
        RunChecker("--lang en --menus " + Quoted(folder.Root() + "\\data") + " " + Quoted(path));
    EXPECT_EQ(run.status, 1);
    std::vector<std::string> found = Findings(run, path);
    ASSERT_EQ(found.size(), 1u) << run.output;
    EXPECT_EQ(found[0], "5 warning button UG_MODELING_ARCH is defined in none of the menu files");
}

TEST(Checker, TheCatalogueListsTheStandInMenuButtons) {
    const std::string menus = SourcePath("resources");
    CheckerRun run = RunChecker("--lang en --list-buttons --menus " + Quoted(menus));
    EXPECT_EQ(run.status, 0) << run.output;
    const char* expected[][3] = {
        {"TARNWICK_KEY_SET", "开启快捷键", "tarnwick.men:11"},
        {"TARNWICK_KEY_UNSET", "关闭快捷键", "tarnwick.men:14"},
        {"TARNWICK_KEY_DEFINE", "快捷键设置", "tarnwick.men:18"},
    };
    for (auto& e : expected) {
        bool listed = false;
        for (const std::string& line : run.lines) {
            listed = listed ||
                     (line.compare(0, strlen(e[0]) + 1, std::string(e[0]) + " ") == 0 &&
                      line.find(e[1]) != std::string::npos && line.find(e[2]) != std::string::npos);
        }
        EXPECT_TRUE(listed) << e[0] << "\n" << run.output;
    }
    EXPECT_EQ(run.lines.back(), "4 buttons"); // the three and their cascade menu

    CheckerRun found =
        RunChecker("--lang en --list-buttons --menus " + Quoted(menus) + " --find key_un");
    ASSERT_EQ(found.lines.size(), 2u) << found.output;
    EXPECT_EQ(found.lines[0].find("TARNWICK_KEY_UNSET "), 0u);
    EXPECT_EQ(found.lines[1], "1 buttons");

    CheckerRun by_label =
        RunChecker("--lang en --list-buttons --menus " + Quoted(menus) + " --find 开启");
    ASSERT_EQ(by_label.lines.size(), 2u) << by_label.output;
    EXPECT_EQ(by_label.lines[0].find("TARNWICK_KEY_SET "), 0u);
}

TEST(Checker, ModuleListingShowsWhatRunsThere) {
    DataFolder folder("checker_module");
    folder.Write("button_id.ini", std::string(Head) +
                                      "A=UG_MODELING_ARC=圆弧=全局=全局\r\n"
                                      "[40]\r\nA=UG_MODELING_ARC40=圆弧=仅应用模块=40\r\n"
                                      "AB=UG_MODELING_BLEND=边倒圆=仅应用模块=40\r\n"
                                      "[1]\r\nD=UG_DRAFTING_DIMENSION=尺寸=仅应用模块=1\r\n"
                                      "[二次开发]\r\nQT=MY_TOOL=我的工具=二次开发=二次开发\r\n");
    folder.Write("chick.ini", "[CHECK1]\r\nCHECK1=0\r\n");
    const std::string path = folder.PathOf("button_id.ini");
    CheckerRun run = RunChecker("--lang en --module 40 " + Quoted(path));
    ASSERT_GE(run.lines.size(), 4u) << run.output;
    EXPECT_EQ(run.lines[0], "Application module 40, immediate mode: 3 codes");
    // AB cannot be typed in 40: A runs first there. D belongs to module 1.
    EXPECT_EQ(run.lines[1].find("  A      UG_MODELING_ARC40 "), 0u) << run.output;
    EXPECT_NE(run.lines[1].find("[40] " + path + ":7"), std::string::npos) << run.output;
    EXPECT_EQ(run.lines[2].find("  L      UG_MODELING_LINE "), 0u) << run.output;
    EXPECT_EQ(run.lines[3].find("  QT     MY_TOOL "), 0u) << run.output;
    EXPECT_NE(run.lines[3].find("custom button, by macro"), std::string::npos) << run.output;
    EXPECT_EQ(run.status, 1); // AB is reported, and A in two scopes
}
