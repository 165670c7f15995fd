// Text conversions of the host shell. Everything inside the host is narrow GBK (code
// page 936), as on the target machines; script files are UTF-8 and the transcript is
// written as UTF-8 for the terminal.
#pragma once

#include <string>

#include "gbk_text.h"

using driving::AnsiToGbk;
using driving::GbkToUtf8;
using driving::Utf8ToGbk;

// Replaces every occurrence of `from` (compared without regard to ASCII letter case, as
// Windows compares paths) by `to`.
std::string ReplacePathText(const std::string& text, const std::string& from,
                            const std::string& to);

std::string Trim(const std::string& text);

// A whole decimal number within the range of int; false for anything else.
bool ParseInt(const std::string& text, int* value);
