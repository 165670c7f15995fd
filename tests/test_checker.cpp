// tarnwick-check run as a user runs it: a console program given a table file, its
// output read from a pipe: the findings' lines, kinds and the exit status, the command
// line, the catalogue and the module listing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "plugin_host.h"
#include "program_run.h"
#include "typing_host.h"

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

std::string SourcePath(const std::string& relative) {
    return std::string(TARNWICK_SOURCE_DIR) + "/" + relative;
}

} // namespace

// The rules are checked in-process (unit_checker); here the program's side of them: the
// mode from chick.ini beside the table, the findings as PATH:LINE: kind: text in line
// order, the summary and the exit status.
TEST(Checker, FindingsArePrintedOnTheirLinesWithTheSummary) {
    DataFolder folder("checker_findings");
    folder.Write("button_id.ini", std::string(Head) + "LI=UG_MODELING_ARC=圆弧=全局=全局\r\n"
                                                      "[MODE]\r\nA=UG_A=a=全局=全局\r\n");
    folder.Write("chick.ini", "[CHECK1]\r\nCHECK1=0\r\n");
    const std::string path = folder.PathOf("button_id.ini");
    CheckerRun run = RunChecker("--lang en " + Quoted(path));
    EXPECT_EQ(run.status, 1) << run.output;
    std::vector<std::string> found = Findings(run, path);
    ASSERT_EQ(found.size(), 2u) << run.output;
    EXPECT_EQ(found[0].find("5 error "), 0u) << found[0];
    EXPECT_NE(found[0].find("code \"LI\" can never be typed: \"L\" (line 4) runs first"),
              std::string::npos)
        << found[0];
    EXPECT_EQ(found[1].find("6 error section [MODE] repeats the header of line 1"), 0u) << found[1];
    ASSERT_EQ(run.lines.size(), found.size() + 1) << run.output;
    EXPECT_EQ(run.lines.back().compare(0, path.size() + 2, path + ": "), 0) << run.output;
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
        // Beyond a 32-bit module number, whatever the C library's long holds.
        "--lang en --module 99999999999 " + table,
        "--lang en --module 2147483648 " + table,
        "--lang en --module -2147483649 " + table,
        "--lang en --list-buttons",
        "--lang en --menus " + Quoted(folder.PathOf("nowhere")) + " " + table,
    };
    for (const std::string& arguments : wrong) {
        CheckerRun bad = RunChecker(arguments);
        EXPECT_EQ(bad.status, 2) << arguments << "\n" << bad.output;
        EXPECT_FALSE(bad.output.empty()) << arguments;
    }

    CheckerRun largest = RunChecker("--lang en --module 2147483647 " + table);
    EXPECT_EQ(largest.status, 0) << largest.output;
    EXPECT_EQ(largest.output.find("Application module 2147483647, "), 0u) << largest.output;

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

// The checker lists the number pad's codes as typable, and the plug-in runs them when
// the number pad's digit keys are typed (Num Lock on gives their digit key codes).
TEST(Checker, NumberPadCodesListedAreTheOnesThePlugInRuns) {
    const std::string table = Table(
        {"[MODE]", "MODE=1", "[全局]", "NUM 7=BTN_SEVEN=n=全局=全局", "Num 1=BTN_ONE=n=全局=全局"});
    DataFolder folder("checker_number_pad");
    folder.Write("button_id.ini", table);
    folder.Write("chick.ini", "[CHECK1]\r\nCHECK1=1\r\n");
    CheckerRun run = RunChecker("--lang en --module 0 " + Quoted(folder.PathOf("button_id.ini")));
    EXPECT_EQ(run.status, 0) << run.output;
    ASSERT_EQ(run.lines.size(), 4u) << run.output; // the heading, two codes, the summary
    EXPECT_EQ(run.lines[0], "Application module 0, Space mode: 2 codes") << run.output;
    EXPECT_EQ(run.lines[1].find("  Num 1  BTN_ONE "), 0u) << run.output;
    EXPECT_EQ(run.lines[2].find("  NUM 7  BTN_SEVEN "), 0u) << run.output;

    TypingHost host("checker_number_pad_typed", table, "1");
    HostConfig_AddButton("BTN_SEVEN", 707);
    HostConfig_AddButton("BTN_ONE", 701);
    PressKey(VK_NUMPAD7);
    TypeCode(" ");
    PressKey(VK_NUMPAD1);
    TypeCode(" ");
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{707, 701})) << DescribeRecord();
}

// The site's table beside the user's: checked like any table, then the pair as the
// lookup reads it, the user's table first.
TEST(Checker, SiteTablePairShowsOverridesRepeatsAndHiddenSiteCodes) {
    DataFolder folder("checker_site");
    folder.Write("button_id.ini", std::string(Head) +                             // L on line 4
                                      "S=UG_MINE=Mine=全局=全局\r\n"              // 5: overrides
                                      "R=UG_SAME=Same=全局=全局\r\n"              // 6: redundant
                                      "[40]\r\nM=UG_MINE40=m=仅应用模块=40\r\n"); // 8
    folder.Write("chick.ini", "[CHECK1]\r\nCHECK1=0\r\n");
    folder.Write("site.ini", "[MODE]\r\nMODE=1\r\n[全局]\r\n"
                             "S=UG_SITE=Site=全局=全局\r\n"   // 4
                             "R=UG_SAME=Same=全局=全局\r\n"   // 5
                             "LX=UG_SITE_LX=lx=全局=全局\r\n" // 6: hidden behind L
                             "M=UG_SITE_M=m=全局=全局\r\n"    // 7: overridden in 40 only
                             "T=UG_SITE_T=t=全局=全局\r\n");  // 8: the site's alone
    const std::string user = folder.PathOf("button_id.ini");
    const std::string site = folder.PathOf("site.ini");
    CheckerRun run = RunChecker("--lang en --site " + Quoted(site) + " " + Quoted(user));
    EXPECT_EQ(run.status, 1) << run.output;
    const std::vector<std::string> user_findings = {
        "5 warning code \"S\" overrides the site table's entry (line 4, button UG_SITE): this "
        "entry runs instead",
        "6 warning code \"R\" is the same as the site table's (line 5, button UG_SAME): this entry "
        "is redundant and may be deleted",
        "8 warning code \"M\" overrides the site table's entry (line 7, button UG_SITE_M): in "
        "application module 40 this entry runs instead",
    };
    EXPECT_EQ(Findings(run, user), user_findings) << run.output;
    EXPECT_EQ(Findings(run, site),
              (std::vector<std::string>{"6 error in immediate mode the site's code \"LX\" can "
                                        "never be typed: the user's \"L\" (line 4) runs first"}))
        << run.output;

    // What runs in module 40: the user's entries, then the site's T only.
    CheckerRun listing =
        RunChecker("--lang en --module 40 --site " + Quoted(site) + " " + Quoted(user));
    ASSERT_GE(listing.lines.size(), 6u) << listing.output;
    EXPECT_EQ(listing.lines[0], "Application module 40, immediate mode: 5 codes") << listing.output;
    EXPECT_EQ(listing.lines[2].find("  M      UG_MINE40 "), 0u) << listing.output;
    EXPECT_EQ(listing.lines[5].find("  T      UG_SITE_T "), 0u) << listing.output;
    EXPECT_NE(listing.lines[5].find("[全局] " + site + ":8 (site)"), std::string::npos)
        << listing.output;

    // Chinese as well, and the site's table must be readable.
    CheckerRun chinese = RunChecker("--site " + Quoted(site) + " " + Quoted(user));
    EXPECT_NE(chinese.output.find("快捷键“S”覆盖了站点表中的同一快捷键"), std::string::npos)
        << chinese.output;
    CheckerRun missing = RunChecker("--site " + Quoted(site + "x") + " " + Quoted(user));
    EXPECT_EQ(missing.status, 2) << missing.output;
    EXPECT_EQ(RunChecker("--seat --site " + Quoted(site)).status, 2);
}
