// The table read as raw lines: line ends, kinds, names and fields as the profile service
// reads them, repeated headers and keys, encodings. Generated tables are read back
// through the real profile service to hold the reading to what the plug-in gets.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "plugin_host.h"
#include "table_lines.h"

using namespace tarnwick_test;

namespace {

std::string Bytes(const char* text, size_t size) {
    return std::string(text, size);
}

// Bytes as C escapes, for failure messages.
std::string Escaped(const std::string& bytes) {
    std::string text;
    char hex[8];
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            text += static_cast<char>(c);
        } else {
            snprintf(hex, sizeof hex, "\\x%02X", c);
            text += hex;
        }
    }
    return text;
}

// Every line accounted for: consecutive ranges covering the input, numbered from 1.
void ExpectCoverage(const std::string& bytes, const TableLines& table) {
    size_t at = 0;
    for (size_t i = 0; i < table.lines.size(); ++i) {
        const TableLine& line = table.lines[i];
        ASSERT_EQ(line.number, static_cast<int>(i + 1));
        ASSERT_EQ(line.begin, at) << "line " << line.number;
        ASSERT_GT(line.end, line.begin) << "line " << line.number;
        at = line.end;
    }
    ASSERT_EQ(at, bytes.size());
}

} // namespace

TEST(TableLines, KindsSectionsAndFields) {
    const std::string bytes = "[MODE]\r\nMODE=1\r\n\r\n; a note\r\n[全局]\r\n"
                              "L=UG_A=直线=全局=全局\r\nloose text\r\n[40]\r\nDM=UG_B";
    TableLines table = ReadTableLines(bytes);
    ExpectCoverage(bytes, table);
    EXPECT_EQ(table.encoding, TableEncoding::Gbk);
    EXPECT_TRUE(table.invalid_gbk_lines.empty());
    struct Expected {
        LineKind kind;
        const char* section;
        int section_line;
        const char* key;
        const char* value;
    };
    const Expected expected[] = {
        {LineKind::Section, "MODE", 1, "", ""},
        {LineKind::Entry, "MODE", 1, "MODE", "1"},
        {LineKind::Blank, "MODE", 1, "", ""},
        {LineKind::Comment, "MODE", 1, "; a note", ""},
        {LineKind::Section, "全局", 5, "", ""},
        {LineKind::Entry, "全局", 5, "L", "UG_A=直线=全局=全局"},
        {LineKind::NoEquals, "全局", 5, "loose text", ""},
        {LineKind::Section, "40", 8, "", ""},
        {LineKind::Entry, "40", 8, "DM", "UG_B"},
    };
    ASSERT_EQ(table.lines.size(), sizeof expected / sizeof expected[0]);
    for (size_t i = 0; i < table.lines.size(); ++i) {
        const TableLine& line = table.lines[i];
        SCOPED_TRACE("line " + std::to_string(line.number));
        EXPECT_EQ(line.kind, expected[i].kind);
        EXPECT_EQ(line.section, expected[i].section);
        EXPECT_EQ(line.section_occurrence, 1);
        EXPECT_EQ(line.section_line, expected[i].section_line);
        EXPECT_EQ(line.key, expected[i].key);
        EXPECT_EQ(line.value, expected[i].value);
        EXPECT_EQ(line.first_key_line, 0);
    }
    EXPECT_EQ(table.lines[5].text, "L=UG_A=直线=全局=全局");
    EXPECT_EQ(table.lines[8].begin, bytes.size() - 7); // the final line has no end
}

TEST(TableLines, LineEndsAsTheProfileServiceTakesThem) {
    const std::string bytes = "A=1\rB=2\nC=3\r\n\r\nD=4\n\rE=5\r\r\nF=6";
    TableLines table = ReadTableLines(bytes);
    ExpectCoverage(bytes, table);
    const char* texts[] = {"A=1", "B=2", "C=3", "", "D=4", "", "E=5", "", "F=6"};
    ASSERT_EQ(table.lines.size(), 9u);
    for (size_t i = 0; i < 9; ++i)
        EXPECT_EQ(table.lines[i].text, texts[i]) << i;
    EXPECT_EQ(table.lines[2].end - table.lines[2].begin, 5u); // C=3 CR LF
}

TEST(TableLines, TrimmingAndHeaders) {
    struct Case {
        std::string line;
        LineKind kind;
        std::string section; // a header's name
        std::string key;
        std::string value;
    };
    const Case cases[] = {
        {" \tK \v= \f v w \x1a", LineKind::Entry, "", "K", "v w"},
        {"B = = 2", LineKind::Entry, "", "B", "= 2"},
        {"\t=ws", LineKind::Entry, "", "", "ws"},
        {"E =   ", LineKind::Entry, "", "E", ""},
        // The ideographic space is no blank to the profile service.
        {"\xA1\xA1K=v\xA1\xA1", LineKind::Entry, "", "\xA1\xA1K", "v\xA1\xA1"},
        {"  ;C=x", LineKind::Comment, "", ";C", "x"},
        {";just a note", LineKind::Comment, "", ";just a note", ""},
        {" \t[ T ]\t", LineKind::Section, "T", "", ""},
        {"[U] junk", LineKind::Section, "U", "", ""},
        {"[A]B] x", LineKind::Section, "A]B", "", ""},
        {"[\x1aX\x1a]", LineKind::Section, "X", "", ""},
        {"[]", LineKind::Section, "", "", ""},
        // "]" as the trail byte of a double-byte character does not close the name.
        {"[\x81]]", LineKind::Section, "\x81]", "", ""},
        {"[V", LineKind::NoEquals, "", "[V", ""},
        {"[V=1", LineKind::Entry, "", "[V", "1"},
        {"   ", LineKind::Blank, "", "", ""},
        {"\x1a", LineKind::Blank, "", "", ""},
    };
    for (const Case& c : cases) {
        TableLines table = ReadTableLines(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(table.lines.size(), 1u);
        const TableLine& line = table.lines[0];
        EXPECT_EQ(line.kind, c.kind);
        if (c.kind == LineKind::Section) {
            EXPECT_EQ(line.section, c.section);
        }
        EXPECT_EQ(line.key, c.key);
        EXPECT_EQ(line.value, c.value);
    }
}

TEST(TableLines, RepeatedHeadersAndKeys) {
    const std::string bytes = "A=before\r\n[ab]\r\nK=first\r\nk = second\r\nQ\r\nQ=shadowed\r\n"
                              "\x81\x41=1\r\n\x81\x61=2\r\n;c=1\r\n;C=2\r\n[ AB ]\r\nK=third\r\n"
                              "[]\r\nZ=1\r\n[Ab]\r\n";
    TableLines table = ReadTableLines(bytes);
    ExpectCoverage(bytes, table);
    ASSERT_EQ(table.lines.size(), 15u);
    struct Expected {
        int number;
        int occurrence;
        int section_line;
        int first_key_line;
    };
    const Expected expected[] = {
        {1, 0, 0, 0},   {2, 1, 2, 0},   {3, 1, 2, 0},   {4, 1, 2, 3},   {5, 1, 2, 0},
        {6, 1, 2, 5},   {7, 1, 2, 0},   {8, 1, 2, 0},   {9, 1, 2, 0},   {10, 1, 2, 9},
        {11, 2, 11, 0}, {12, 2, 11, 0}, {13, 2, 13, 0}, {14, 2, 13, 0}, {15, 3, 15, 0},
    };
    for (const Expected& e : expected) {
        const TableLine& line = table.lines[e.number - 1];
        SCOPED_TRACE("line " + std::to_string(e.number));
        EXPECT_EQ(line.section_occurrence, e.occurrence);
        EXPECT_EQ(line.section_line, e.section_line);
        EXPECT_EQ(line.first_key_line, e.first_key_line);
    }
    EXPECT_EQ(table.lines[11].section, "AB");
    EXPECT_TRUE(SameProfileName("全局k", "全局K"));
    EXPECT_FALSE(SameProfileName("\x81\x41", "\x81\x61"));
    EXPECT_TRUE(SameProfileName(Bytes("A\0X", 3), "a"));
}

TEST(TableLines, AddressableLines) {
    // Keyed lines the profile service reaches by section and key alone.
    const std::string bytes = Bytes("K=before\r\n[one]\r\nA=1\r\nb=2\r\nB=3\r\nC\r\n;A=4\r\n"
                                    "N=\0x\r\n[two]\r\nD=5\r\n[TWO]\r\nE=6\r\n[]\r\nF=7\r\n",
                                    80);
    TableLines table = ReadTableLines(bytes);
    ASSERT_EQ(table.lines.size(), 14u);
    struct Expected {
        int number;
        bool addressable;
    };
    const Expected expected[] = {
        {1, false},  // before any header
        {2, false},  // a header
        {3, true},   // its comment's key differs
        {4, false},  // "b" and "B" under one header
        {5, false},  //
        {6, true},   // a key without "="
        {7, false},  // a comment
        {8, false},  // a NUL byte
        {10, false}, // "[two]" and "[TWO]"
        {12, false}, //
        {14, true},  // "[]" once: the lines before any header are no header
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE("line " + std::to_string(e.number));
        EXPECT_EQ(table.lines[e.number - 1].addressable, e.addressable);
    }
    EXPECT_EQ(FindTableKey(table, "ONE", "c", false), &table.lines[5]);
    EXPECT_EQ(FindTableKey(table, "two", "E", false), &table.lines[11]);
    EXPECT_EQ(FindTableKey(table, "two", "E", true), nullptr);
    EXPECT_EQ(FindTableKey(table, "one", ";A", false), nullptr);
}

TEST(TableLines, Encodings) {
    struct Case {
        std::string bytes;
        TableEncoding encoding;
    };
    const Case cases[] = {
        {"", TableEncoding::Gbk},
        {"[MODE]\r\nMODE=0\r\n", TableEncoding::Gbk},
        {"[全局]\r\nL=UG_A=直线=全局=全局\r\n", TableEncoding::Gbk},
        {"[\xE5\x85\xA8\xE5\xB1\x80]\r\n", TableEncoding::Utf8}, // 全局 in UTF-8
        {"\xEF\xBB\xBF[MODE]\r\n", TableEncoding::Utf8Bom},
        {"\xEF\xBB\xBF", TableEncoding::Utf8Bom},
        {Bytes("\xFF\xFE[\0S\0]\0", 8), TableEncoding::Utf16Le},
        {Bytes("\xFE\xFF\0[\0S\0]", 8), TableEncoding::Utf16Be},
        {"\xC0\x80", TableEncoding::Gbk}, // an over-long form is no UTF-8
        // GBK whose bytes are valid UTF-8 too (小写 reads as Сд): no evidence of UTF-8.
        {"[MODE]\r\nMODE=1\r\n[40]\r\nXX=UG_A=小写=斜位\r\n", TableEncoding::Gbk},
        {"[全局]\r\nXX=UG_A=小写=全局=全局\r\n", TableEncoding::Gbk},
        {"[40]\r\nXX=UG_A=x=仅应用模块=40\r\nY=\xE5\x85\xA8\xE5\xB1\x80\r\n", TableEncoding::Gbk},
        // UTF-8 that a rewrite through GBK broke (a byte and the "=" after it lost): the
        // names' first characters are still UTF-8.
        {"[\xE4\xBA\x8C\xE6\xAC\xA1\xE5\xBC\x80?]\r\nQT=X=Y=\xE4\xBB\x85\xE5\xBA\x94?1\r\n",
         TableEncoding::Utf8},
        {"[MODE]\r\nA=\xE2\x82\xAC\r\n", TableEncoding::Utf8}, // valid UTF-8, no GBK
        {"[MODE]\r\nA=\xFF\r\n", TableEncoding::Gbk},          // neither: a broken GBK table
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectTableEncoding(c.bytes), c.encoding) << c.bytes;

    // A byte-order mark goes with the first line's range, not its text.
    TableLines utf8 = ReadTableLines("\xEF\xBB\xBF[S]\r\nA=1");
    ASSERT_EQ(utf8.lines.size(), 2u);
    EXPECT_EQ(utf8.lines[0].begin, 0u);
    EXPECT_EQ(utf8.lines[0].section, "S");

    // A UTF-16 file's lines are read in 16-bit units and converted to GBK.
    const std::string utf16 = Bytes("\xFF\xFE[\0S\0]\0\r\0\n\0A\0=\0\x68\x51\x40\x5C\r\0B\0", 24);
    TableLines wide = ReadTableLines(utf16);
    ExpectCoverage(utf16, wide);
    ASSERT_EQ(wide.lines.size(), 3u);
    EXPECT_EQ(wide.lines[0].section, "S");
    EXPECT_EQ(wide.lines[1].value, "全局");
    EXPECT_EQ(wide.lines[2].text, "B");
    EXPECT_EQ(wide.lines[2].begin, 22u);
}

TEST(TableLines, BytesThatAreNotGbk) {
    const std::string bytes = "[S]\r\nA=\xFF\r\nB=ok 全局\r\nC=\x81\r\nD=\x81\x30\r\nE=x\r\n";
    TableLines table = ReadTableLines(bytes);
    EXPECT_EQ(table.invalid_gbk_lines, (std::vector<int>{2, 4, 5}));
    EXPECT_TRUE(table.lines[1].invalid_gbk);
    EXPECT_FALSE(table.lines[2].invalid_gbk);
    TableLines nul = ReadTableLines(Bytes("A=x\0y\r\n", 7));
    EXPECT_TRUE(nul.lines[0].has_nul);
    EXPECT_EQ(ProfileValueOf(nul.lines[0].value), "x");
}

TEST(TableLines, ValuesAsAReadReturnsThem) {
    const char* cases[][2] = {
        {"\"q\"", "q"},       {"'y'", "y"},     {"\"", "\""},         {"\"\"", ""},
        {"\"a\"b\"", "a\"b"}, {"'a\"", "'a\""}, {"UG_A=x", "UG_A=x"},
    };
    for (auto& c : cases)
        EXPECT_EQ(ProfileValueOf(c[0]), c[1]) << c[0];
}

TEST(TableLines, ReadsFilesAndNamesTheError) {
    DataFolder folder("table_lines_file");
    folder.Write("button_id.ini", "[S]\r\nA=1\r\n");
    TableLines table;
    EXPECT_EQ(ReadTableFile(folder.PathOf("button_id.ini").c_str(), &table), 0ul);
    EXPECT_EQ(table.lines.size(), 2u);
    EXPECT_EQ(ReadTableFile(folder.PathOf("missing.ini").c_str(), &table),
              static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    std::string bytes = "stale";
    EXPECT_NE(ReadFileBytes(folder.Root().c_str(), &bytes), 0ul); // a folder
    EXPECT_TRUE(bytes.empty());
}

// Random bytes, with and without byte-order marks: no crash, every byte in one line.
TEST(TableLines, RandomBytesAreAllAccountedFor) {
    std::mt19937 random(12345);
    const char* prefixes[] = {"", "", "", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    const char interesting[] = "\r\n[]=; \t\"'\x1a\x81\xA1\xC8\xFF";
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = prefixes[random() % 6];
        size_t size = random() % 200;
        for (size_t i = 0; i < size; ++i) {
            bytes += random() % 2 ? static_cast<char>(random() % 256)
                                  : interesting[random() % (sizeof interesting - 1)];
        }
        TableLines table = ReadTableLines(bytes);
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectCoverage(bytes, table);
        if (table.encoding == TableEncoding::Gbk) {
            for (const TableLine& line : table.lines)
                ASSERT_EQ(bytes.compare(line.begin, line.text.size(), line.text), 0);
        }
    }
}

// Generated tables read through the real profile service: every key the line reading
// finds under a first header reads back as the reading says, and a shadowed or hidden
// line never wins.
TEST(TableLines, AgreesWithTheProfileService) {
    DataFolder folder("table_lines_profile");
    std::mt19937 random(777);
    const char* pieces[] = {"[",        "]",        "=",  " ", "\t",       "\v", "\x1a",
                            ";",        "A",        "a",  "B", "K",        "全", "\x81]",
                            "\x81\x41", "\x81\x61", "\"", "'", "\xA1\xA1", "1"};
    const char* ends[] = {"\r\n", "\n", "\r"};
    const size_t piece_count = sizeof pieces / sizeof pieces[0];
    int checked = 0;
    for (int round = 0; round < 60; ++round) {
        std::string bytes;
        int line_count = 1 + static_cast<int>(random() % 25);
        for (int l = 0; l < line_count; ++l) {
            if (random() % 4 == 0)
                bytes += "[";
            int length = static_cast<int>(random() % 7);
            for (int p = 0; p < length; ++p)
                bytes += pieces[random() % piece_count];
            bytes += ends[random() % 3];
        }
        // The service caches files by name and time: each round has its own file.
        const std::string name = "t" + std::to_string(round) + ".ini";
        folder.Write(name, bytes);
        const std::string path = folder.PathOf(name);
        TableLines table = ReadTableLines(bytes);
        for (const TableLine& line : table.lines) {
            if (line.section_line == 0 || line.section.empty() ||
                (line.kind != LineKind::Entry && line.kind != LineKind::Comment &&
                 line.kind != LineKind::NoEquals))
                continue;
            // What the reading says a read of this key in this section returns: the
            // first line with the key under the section's first header.
            std::string expected = "<MISS>";
            for (const TableLine& first : table.lines) {
                if (first.section_occurrence == 1 && first.section_line != 0 &&
                    SameProfileName(first.section, line.section) &&
                    first.kind != LineKind::Section && first.kind != LineKind::Blank &&
                    SameProfileName(first.key, line.key)) {
                    if (first.has_value)
                        expected = ProfileValueOf(first.value);
                    break;
                }
            }
            char buffer[256] = {};
            GetPrivateProfileStringA(line.section.c_str(), line.key.c_str(), "<MISS>", buffer,
                                     sizeof buffer, path.c_str());
            EXPECT_EQ(std::string(buffer), expected)
                << "line " << line.number << " of " << Escaped(bytes);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

// The one key equality, against the profile service on this code page (936): only the
// ASCII letters fold. Full-width, Greek and Cyrillic letters of another case are other
// keys, and the trail byte of a double-byte character never folds.
TEST(TableLines, KeysAreTheSameAsTheProfileServiceFindsThem) {
    DataFolder folder("table_lines_keys");
    struct KeyCase {
        const char* what;
        const char* written;
        const char* asked;
        bool same;
    };
    const KeyCase cases[] = {
        {"ASCII", "ab", "AB", true},
        {"full-width", "\xA3\xC1", "\xA3\xE1", false},
        {"Greek", "\xA6\xA1", "\xA6\xC1", false},
        {"Cyrillic", "\xA7\xA1", "\xA7\xD1", false},
        {"trail bytes A and a", "\x81\x41", "\x81\x61", false},
        {"pinyin e and E", "\xA8\xA6", "E", false},
        {"Chinese and ASCII", "全k", "全K", true},
    };
    std::string table = "[s]\r\n";
    for (const KeyCase& c : cases)
        table += std::string(c.written) + "=" + c.what + "\r\n";
    folder.Write("keys.ini", table);
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        char value[64] = {};
        GetPrivateProfileStringA("s", c.asked, "<MISS>", value, sizeof value,
                                 folder.PathOf("keys.ini").c_str());
        bool found = std::string(value) == c.what;
        EXPECT_EQ(found, c.same) << "the profile service";
        EXPECT_EQ(SameProfileName(c.written, c.asked), c.same);
        EXPECT_EQ(FoldProfileName(c.written) == FoldProfileName(c.asked), c.same);
    }
}
