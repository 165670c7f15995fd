// The table's encoding. The format is GBK; common text editors now save UTF-8 by
// default, which every reader would take for GBK, so such a table is converted on the
// user's word.
#pragma once

#include <string>

// True for a table saved as UTF-8, with or without a byte-order mark.
bool IsUtf8Table(const std::string& bytes);

// The same text in GBK, without the byte-order mark; line ends and every other byte
// as they were. False when a character has no GBK form (it would become "?").
bool Utf8TableToGbk(const std::string& bytes, std::string* gbk);
