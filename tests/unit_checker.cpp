// The checker's rules below its command line: which codes can be typed as runs of key
// names, which shorter code stops one in immediate mode, each planted fault found on its
// line, and the whole check on generated tables (no crash, every finding on a line of
// the table).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>

#include "macro_playback.h"
#include "shortcut_lookup.h"
#include "table_findings.h"
#include "typed_code_rules.h"

namespace {

KeyNames LetterNames() {
    KeyNames names;
    for (char c = 'A'; c <= 'Z'; ++c)
        names.Add(std::string(1, c));
    for (const char* name : {"1", ";", "[", "Tab", "Num 1"})
        names.Add(name);
    return names;
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

std::string Listed(const CheckReport& report) {
    std::string text;
    for (const Finding& finding : report.findings)
        text += std::to_string(finding.line) + ": " + finding.text + "\n";
    return text;
}

const TypingMode None = TypingMode::Unknown;
const TypingMode Immediate = TypingMode::Immediate;
const TypingMode Space = TypingMode::Space;

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

TEST(CheckTable, EachPlantedFaultIsFoundOnItsLine) {
    struct Expected {
        int line;
        const char* kind;
        const char* text; // a part of the message
    };
    struct Case {
        const char* name;
        std::string table;
        TypingMode mode; // from chick.ini beside the table: none, CHECK1=0 or 1
        std::vector<Expected> findings;
    };
    const std::string utf8_head = "[MODE]\r\nMODE=0\r\n[\xE5\x85\xA8\xE5\xB1\x80]\r\n"
                                  "L=UG_MODELING_LINE=\xE7\x9B\xB4\xE7\xBA\xBF=\xE5\x85\xA8\xE5\xB1"
                                  "\x80=\xE5\x85\xA8\xE5\xB1\x80\r\n";
    const std::string long_text(260, 'x');
    const Case cases[] = {
        {"utf8 with mark",
         "\xEF\xBB\xBF" + utf8_head,
         None,
         {{1, "error", "UTF-8 with a byte-order mark"}}},
        {"utf8", utf8_head, None, {{3, "error", "saved as UTF-8"}}},
        {"utf16", Utf16Le("[MODE]\r\nMODE=0\r\n"), None, {{1, "warning", "UTF-16"}}},
        {"not gbk",
         std::string(Head) + "A=UG_MODELING_ARC=\xFF=全局=全局\r\n",
         None,
         {{5, "error", "not GBK"}}},
        {"nul byte",
         std::string(Head) + std::string("A=UG_A=x\0y=全局=全局\r\n", 22),
         None,
         {{5, "error", "NUL byte"}}},
        {"no equals", std::string(Head) + "ARC\r\n", None, {{5, "error", "no \"=\""}}},
        {"four fields",
         std::string(Head) + "A=UG_MODELING_ARC=圆弧=全局\r\n",
         None,
         {{5, "error", "4 fields, five expected"}}},
        {"six fields",
         std::string(Head) + "A=UG_MODELING_ARC=a=b=全局=全局\r\n",
         None,
         {{5, "warning", "6 fields, five expected"}}},
        {"empty field",
         std::string(Head) + "A=UG_MODELING_ARC==全局=全局\r\n",
         None,
         {{5, "error", "field 3 (description) is empty"}}},
        {"empty button",
         std::string(Head) + "A==圆弧=全局=全局\r\n",
         None,
         {{5, "error", "field 2 (button) is empty"}}},
        {"key too long",
         std::string(Head) + "ABCDEF=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         None,
         {{5, "error", "longer than five characters"}}},
        {"key no key name",
         std::string(Head) + "圆=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         None,
         {{5, "error", "no key name"}}},
        {"key blanks",
         std::string(Head) + " A =UG_MODELING_ARC=圆弧=全局=全局\r\n",
         None,
         {{5, "warning", "reads it as \"A\""}}},
        {"key bracket",
         std::string(Head) + "[A=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         None,
         {{5, "warning", "starts with \"[\""}}},
        {"header, not entry",
         std::string(Head) + "[A]=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         None,
         {{5, "error", "read as the section header [A]"}}},
        {"comment entry",
         std::string(Head) + ";A=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         None,
         {{5, "warning", "typing \";A\" runs it"}}},
        {"repeated key",
         std::string(Head) + "l = UG_MODELING_ARC=圆弧=全局=全局\r\n",
         None,
         {{5, "error", "repeats line 4 of this section: only line 4 is read"}}},
        {"repeated header",
         std::string(Head) + "[MODE]\r\n[全局]\r\nA=UG_A=a=全局=全局\r\n",
         None,
         {{5, "error", "section [MODE] repeats the header of line 1"},
          {6, "error", "repeats the header of line 3"}}},
        {"unknown sections",
         std::string(Head) + "[Modeling]\r\nA=UG_A=a=仅应用模块=Modeling\r\n[040]\r\n",
         None,
         {{5, "warning", "section [Modeling] is neither"}, {7, "warning", "section [040]"}}},
        {"before any header",
         "A=UG_A=a=全局=全局\r\n" + std::string(Head),
         None,
         {{1, "warning", "before the first section header"}}},
        {"scope fields",
         std::string(Head) + "A=UG_MODELING_ARC=圆弧=仅应用模块=40\r\n",
         None,
         {{5, "warning", "the scope fields say 仅应用模块 and [40], but the line is in [全局]"}}},
        {"value too long",
         std::string(Head) + "A=UG_MODELING_ARC=" + long_text + "=全局=全局\r\n",
         None,
         {{5, "error", "more than the 255 the lookup reads"}}},
        {"module and global",
         std::string(Head) + "[40]\r\nL=UG_MODELING_ARC=圆弧=仅应用模块=40\r\n",
         None,
         {{4, "warning", "also defined for application module 40 (line 6)"}}},
        {"global and custom",
         std::string(Head) + "[二次开发]\r\nL=MY_TOOL=工具=二次开发=二次开发\r\n",
         None,
         {{6, "warning", "also in [全局] (line 4), which is read first"}}},
        {"immediate prefix",
         std::string(Head) + "LI=UG_MODELING_ARC=圆弧=全局=全局\r\n",
         Immediate,
         {{5, "error", "code \"LI\" can never be typed: \"L\" (line 4) runs first"}}},
        {"immediate prefix in one module",
         std::string(Head) + "AR=UG_MODELING_ARC=圆弧=全局=全局\r\n[40]\r\n"
                             "A=UG_MODELING_ARC=圆弧=仅应用模块=40\r\n",
         Immediate,
         {{5, "error",
           "in application module 40, code \"AR\" can never be typed: \"A\" (line 7)"}}},
        {"space mode has no prefix rule", std::string(Head) + "LI=UG_A=a=全局=全局\r\n", Space, {}},
        {"clean",
         std::string(Head) + "[40]\r\nBL=UG_MODELING_BLEND=边倒圆=仅应用模块=40\r\n"
                             "[二次开发]\r\nQT=MY_TOOL=我的工具=二次开发=二次开发",
         Immediate,
         {}},
    };
    const KeyNames names = KeyNames::FromSystem();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CheckInput input;
        input.bytes = c.table;
        input.mode = c.mode;
        input.key_names = &names;
        CheckReport report = CheckTable(input);
        ASSERT_EQ(report.findings.size(), c.findings.size()) << Listed(report);
        for (size_t i = 0; i < c.findings.size(); ++i) {
            const Finding& found = report.findings[i];
            const Expected& e = c.findings[i];
            EXPECT_EQ(found.line, e.line) << found.text;
            EXPECT_EQ(found.severity == Severity::Error ? "error" : "warning", std::string(e.kind))
                << found.text;
            EXPECT_NE(found.text.find(e.text), std::string::npos) << found.text;
        }
    }
}

// The number pad's digit keys are named "Num 0" to "Num 9" and taken as digits with Num
// Lock on; only their Num Lock off codes are navigation keys, which the filter leaves to
// the host.
TEST(KeyNames, TheNumberPadsDigitsCanBeTyped) {
    const KeyNames names = KeyNames::FromSystem();
    std::string table = Head;
    for (char digit = '0'; digit <= '9'; ++digit) {
        const std::string code = std::string("Num ") + digit;
        EXPECT_TRUE(names.CanType(code)) << code;
        table += code + "=UG_NUM_" + digit + "=n=全局=全局\r\n";
    }
    CheckInput input;
    input.bytes = table;
    input.mode = Immediate;
    input.key_names = &names;
    EXPECT_TRUE(CheckTable(input).findings.empty()) << Listed(CheckTable(input));
    std::vector<EffectiveEntry> entries = EffectiveTable(input, 40);
    ASSERT_EQ(entries.size(), 11u);
    std::set<std::string> codes;
    for (const EffectiveEntry& entry : entries)
        codes.insert(entry.code);
    for (char digit = '0'; digit <= '9'; ++digit)
        EXPECT_EQ(codes.count(std::string("Num ") + digit), 1u) << digit;
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

namespace {

// The plug-in's lookup with the host recorded: what it runs for a typed code.
class RunRecorder final : public KeystrokePort {
  public:
    int module = 0;
    std::string ran; // "host BUTTON", "custom BUTTON" or empty: nothing ran
    void ReadKeyState(BYTE (&)[KeyStateSize]) override {}
    bool FocusIsOwn() override { return false; }
    void ReadFocusClass(char (&)[FocusClassSize]) override {}
    void ReadForegroundTitle(char (&)[ForegroundTitleSize]) override {}
    void ReadKeyName(char (&)[KeyNameSize]) override {}
    void Decided(KeystrokeRule, const KeystrokeFacts&) override {}
    void ShowStatus(const char*) override {}
    void ShowMessage(const char*, int) override {}
    void Wait(DWORD) override {}
    void LookUp(LookupVariant) override {}
    int ApplicationModule() override { return module; }
    HWND MainWindow() override { return reinterpret_cast<HWND>(1); }
    int ButtonId(const char* name) override {
        ran = std::string("host ") + name;
        return 1;
    }
    bool PostCommand(HWND, int) override { return true; }
    int PlayMacro(const char* name) override {
        // The playback refuses a missing name; the host is never asked.
        if (!*name)
            return MacroBadArgument;
        ran = std::string("custom ") + name;
        return MacroPlayed;
    }
};

std::string WriteScratch(const std::string& name, const std::string& bytes) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "tarnwick_differential_" + name + ".ini";
    FILE* file = fopen(path.c_str(), "wb");
    if (file) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    return path;
}

} // namespace

// What the checker says runs for a code in a module is what the plug-in's lookup runs
// for it, on generated tables: codes in several sections and spellings, the number
// pad's among them, values too long for the read, values without a button.
TEST(CheckTable, WhatRunsForACodeIsWhatTheLookupRuns) {
    // This system's key names, as the checker itself reads them.
    const KeyNames names = KeyNames::FromSystem();
    const char* codes[] = {"L", "l", "AB", "ab", "Num 1", "NUM 7", "Tab", "Q1", "Z"};
    const char* sections[] = {"0", "3", "全局", "二次开发", "MODE", "00"};
    std::mt19937 random(1818);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::string table;
        int line_count = 4 + static_cast<int>(random() % 16);
        for (int l = 0; l < line_count; ++l) {
            if (l == 0 || random() % 4 == 0)
                table += std::string("[") + sections[random() % 6] + "]\r\n";
            std::string code = codes[random() % 9];
            std::string button = "B" + std::to_string(l);
            switch (random() % 6) {
            case 0:
                table += code + "==x\r\n"; // the tokenising rule skips the leading "="
                break;
            case 1:
                table += code + "=\r\n"; // no button
                break;
            case 2:
                table += code + "=" + button + "=" + std::string(250 + random() % 10, 'x') + "\r\n";
                break;
            default:
                table += code + "=" + button + "=d=s=s\r\n";
            }
        }
        const std::string path = WriteScratch(std::to_string(round), table);
        CheckInput input;
        input.bytes = table;
        input.mode = TypingMode::Space;
        input.key_names = &names;
        for (int module : {0, 3, 7}) {
            std::map<std::string, std::string> checker; // folded code: what runs
            for (const EffectiveEntry& e : EffectiveTable(input, module))
                checker[FoldProfileName(e.code)] = (e.custom ? "custom " : "host ") + e.button;
            for (const char* code : codes) {
                SCOPED_TRACE(std::string("module ") + std::to_string(module) + " code " + code);
                TypedCode typed = {};
                snprintf(typed.TypedShortcut, sizeof typed.TypedShortcut, "%s", code);
                RunRecorder host;
                host.module = module;
                ShortcutLookup(typed, LookupVariant::Space, path.c_str(), "", host);
                auto listed = checker.find(FoldProfileName(code));
                EXPECT_EQ(host.ran, listed == checker.end() ? std::string() : listed->second)
                    << table;
            }
        }
        DeleteFileA(path.c_str());
    }
}
