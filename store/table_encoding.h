// The table's encoding. The format is GBK; common text editors now save UTF-8 by
// default, which every reader would take for GBK, and the profile service rewrites the
// whole file on each write: a write into a table that is not GBK breaks every line that
// holds a character beyond ASCII. Such a table is converted on the user's word, and
// nothing else writes into it.
#pragma once

// GBK: the code page of every text of the table and the settings, whatever the
// process's own ANSI code page.
enum : unsigned { GbkCodePage = 936 };

#include <stddef.h>

#include <string>

enum class TableEncoding {
    Gbk,     // GBK or plain ASCII, as the format wants
    Utf8,    // UTF-8 without a byte-order mark, whole or already partly broken
    Utf8Bom, // EF BB BF
    Utf16Le, // FF FE
    Utf16Be, // FE FF
};

// Decided by the table's own evidence, never by a guess a GBK table can trip: a
// byte-order mark; the GBK and UTF-8 forms of the texts every table holds (the section
// and scope texts 全局, 二次开发, 仅应用模块, and their first two characters, which
// survive a rewrite that broke the rest); then the sequences invalid in either encoding.
// A table holding those texts in GBK is GBK; without either form, only a table that is
// valid UTF-8 and not valid GBK is UTF-8.
TableEncoding DetectTableEncoding(const std::string& bytes);

// True for a table saved as UTF-8, with or without a byte-order mark.
bool IsUtf8Table(const std::string& bytes);

bool IsValidGbk(const char* text, size_t size);
bool IsValidUtf8(const char* text, size_t size);

// Converting a UTF-8 table to GBK, without the byte-order mark; line ends and every
// other byte as they were. Nothing is substituted: a character GBK has not got, or a
// byte that is not UTF-8, fails the conversion and is named.
struct GbkConversion {
    bool converted = false;
    std::string gbk;
    int line = 0;           // failed: the 1-based line of the first character that fails
    unsigned code = 0;      // failed: that character's code point; 0 for a broken byte
    unsigned char byte = 0; // failed at a broken byte: its value
};
GbkConversion Utf8TableToGbk(const std::string& bytes);
