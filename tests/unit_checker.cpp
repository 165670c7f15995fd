// The checker's rules below its command line: which codes can be typed as runs of key
// names, which shorter code stops one in immediate mode, and the whole check on
// generated tables (no crash, every finding on a line of the table).
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "table_findings.h"

namespace {

KeyNames LetterNames() {
    KeyNames names;
    for (char c = 'A'; c <= 'Z'; ++c)
        names.Add(std::string(1, c));
    for (const char* name : {"1", ";", "[", "Tab", "Num 1"})
        names.Add(name);
    return names;
}

} // namespace

TEST(KeyNames, CodesAreRunsOfKeyNames) {
    const KeyNames names = LetterNames();
    const char* typable[] = {"L", "dm", "TAB", "NUM 1", ";Q", "[A", "A1B"};
    const char* not_typable[] = {"", "ABCDEF", "A B", "全", "A-B", "NUM 12"};
    for (const char* code : typable)
        EXPECT_TRUE(names.CanType(code)) << code;
    for (const char* code : not_typable)
        EXPECT_FALSE(names.CanType(code)) << code;
    EXPECT_FALSE(names.CanType(std::string("A\0B", 3)));
}

TEST(KeyNames, ImmediateModeBlockers) {
    const KeyNames names = LetterNames();
    struct Case {
        const char* code;
        std::set<std::string> defined;
        const char* blocker; // "" when some way reaches the code
    };
    const Case cases[] = {
        {"LI", {"L"}, "L"},
        {"LI", {"LI"}, ""},
        {"li", {"L"}, "L"},
        {"ABC", {"AB"}, "AB"},
        {"ABC", {"A", "AB"}, "A"},
        // The Tab key types "Tab" in one go, so T does not stop TAB.
        {"TAB", {"T"}, ""},
        {"TAB", {"T", "TA"}, ""},
        {"ABC", {"X"}, ""},
    };
    for (const Case& c : cases) {
        std::string blocker = names.Blocker(
            c.code, [&](const std::string& code) { return c.defined.count(code) > 0; });
        EXPECT_EQ(blocker, c.blocker) << c.code;
    }
}

// Tables made of pieces that matter to the rules: headers of every kind, repeated keys
// and headers, fields and "=", blanks, quotes, double-byte texts, broken bytes.
TEST(CheckTable, GeneratedTablesNeverCrashAndNameTheirLines) {
    const KeyNames names = LetterNames();
    const char* pieces[] = {
        "[全局]", "[二次开发]", "[40]", "[1]",  "[MODE]", "[x]",        "[]",   "L",        "LI",
        "l",      " ",          "=",    "==",   "UG_A",   "仅应用模块", "全局", "二次开发", "40",
        ";",      "\"",         "\t",   "\xFF", "\x81",   "<long>",     "Tab",  "[",        "]",
    };
    const std::string long_piece(300, 'x');
    std::mt19937 random(4242);
    for (int round = 0; round < 400; ++round) {
        std::string bytes = round % 7 == 0 ? "\xEF\xBB\xBF" : "";
        int lines = 1 + static_cast<int>(random() % 30);
        for (int l = 0; l < lines; ++l) {
            int count = static_cast<int>(random() % 6);
            for (int p = 0; p < count; ++p) {
                std::string piece = pieces[random() % (sizeof pieces / sizeof pieces[0])];
                bytes += piece == "<long>" ? long_piece : piece;
            }
            bytes += random() % 5 ? "\r\n" : "\n";
        }
        std::vector<MenuButton> buttons(1);
        buttons[0].name = "UG_A";
        CheckInput input;
        input.bytes = bytes;
        input.mode = round % 2 ? TypingMode::Immediate : TypingMode::Space;
        input.buttons = round % 3 ? &buttons : nullptr;
        input.key_names = &names;
        input.language = round % 2 ? Language::English : Language::Chinese;
        CheckReport report = CheckTable(input);
        SCOPED_TRACE(bytes);
        int errors = 0, warnings = 0, last = 0;
        for (const Finding& finding : report.findings) {
            ASSERT_GE(finding.line, 1);
            ASSERT_LE(finding.line, lines);
            ASSERT_GE(finding.line, last); // in line order
            ASSERT_FALSE(finding.text.empty());
            last = finding.line;
            ++(finding.severity == Severity::Error ? errors : warnings);
        }
        EXPECT_EQ(errors, report.errors);
        EXPECT_EQ(warnings, report.warnings);
        for (int module : {40, 1, 0})
            EffectiveTable(input, module);
    }
}
