// The table file as lines, for what the profile service cannot tell: a key that occurs
// twice in one section, lines under a repeated section header, lines without "=", the
// file's encoding and bytes that are not GBK. Each line keeps its 1-based number and
// its byte range, so a message can name it.
//
// The reading follows the platform's profile service (tried under Wine): a line ends at
// CR LF, LF or a lone CR; surrounding spaces, tabs, vertical tabs, form feeds and Ctrl-Z
// are trimmed (the ideographic space is not); a line starting with ";" is a comment,
// one starting with "[" and holding a "]" a section header named by the trimmed text
// before the last "]"; any other line is a key, split at its first "=". Names compare
// with ASCII letters folded, inside double-byte characters nothing folds.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "typed_code_rules.h"

#include "table_encoding.h"

enum class LineKind {
    Blank,
    Comment,  // ";..." after the leading blanks
    Section,  // "[name]..."
    Entry,    // key=value
    NoEquals, // text without "=": a key without value for the profile service
};

struct TableLine {
    int number = 0;   // 1-based
    size_t begin = 0; // byte range in the file, line end included; the lines' ranges
    size_t end = 0;   // follow each other and cover the whole file
    std::string text; // the line without its end (GBK; a UTF-16 file's lines converted)
    LineKind kind = LineKind::Blank;

    // The section the line lies under (a header line: its own), trimmed. Before the
    // first header the name is empty and the occurrence 0; otherwise the occurrence
    // counts the headers of that name so far (1 for the first).
    std::string section;
    int section_occurrence = 0;
    int section_line = 0; // the number of that header's line, 0 before the first header

    // Comments, entries and lines without "=" (the profile service keys comments too):
    // the key and value trimmed as the service trims them.
    std::string key;
    std::string value;
    bool has_value = false; // the line holds "=": a key without one reads as missing
    // An earlier line under the same header has the same key, and shadows this one.
    int first_key_line = 0; // that earlier line's number, 0 when the key is the first
    // A keyed line the profile service can reach by section and key alone: it lies under
    // a header, its section's header occurs once in the file, no other keyed line under
    // that header has its key, and it holds no NUL. Writes and deletes reach only the
    // first header and the first line, so any repeat leaves every copy out of reach.
    bool addressable = false;

    bool has_nul = false;     // the service cuts keys and values at a NUL byte
    bool invalid_gbk = false; // a byte sequence that is not GBK
};

struct TableLines {
    TableEncoding encoding = TableEncoding::Gbk;
    std::vector<TableLine> lines;
    std::vector<int> invalid_gbk_lines; // numbers of lines with bytes that are not GBK
};

// A line that names a key: an entry, or a text without "=" (a key without value).
bool IsKeyedLine(const TableLine& line);

// The first keyed line under a header of the section with the key, names compared as
// the profile service compares them: under the section's first header only (the one the
// service reads and writes), or under any. Null when there is none.
const TableLine* FindTableKey(const TableLines& table, const std::string& section,
                              const std::string& key, bool first_header_only);

// Reads a whole file. Returns 0, or the system's error code when it cannot be read.
unsigned long ReadFileBytes(const char* path, std::string* bytes);

// Splits a table's bytes into lines and reads each as the profile service does.
TableLines ReadTableLines(const std::string& bytes);
// The same for a file; 0 or the system's error code.
unsigned long ReadTableFile(const char* path, TableLines* table);

// The part [begin, end) of text without the profile service's blanks at either end: C's
// white space and Ctrl-Z (an old end-of-file mark). With keep_line_ends, CR and LF stay:
// in a user's field they are a fault to refuse, not a blank to hide.
std::string TrimmedPart(const std::string& text, size_t begin = 0, size_t end = std::string::npos,
                        bool keep_line_ends = false);

// What a read of the value returns when it fits: cut at a NUL byte, and a pair of
// equal quotes (' or ") around it removed.
std::string ProfileValueOf(const std::string& value);
