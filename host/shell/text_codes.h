// Text conversions of the host shell. Everything inside the host is narrow GBK (code
// page 936), as on the target machines; script files are UTF-8 and the transcript is
// written as UTF-8 for the terminal.
#pragma once

#include <string>

std::string Utf8ToGbk(const std::string& utf8);
std::string GbkToUtf8(const std::string& gbk);
// A plug-in's texts are in the process's ANSI code page, which is GBK only on a seat
// whose code page is 936; under any other they are brought to GBK.
std::string AnsiToGbk(const std::string& ansi);

// Replaces every occurrence of `from` (compared without regard to ASCII letter case, as
// Windows compares paths) by `to`.
std::string ReplacePathText(const std::string& text, const std::string& from,
                            const std::string& to);

std::string Trim(const std::string& text);
