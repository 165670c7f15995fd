// The narrow texts of a driven program are GBK (code page 936), as on the target
// machines, whatever the process's own code page; files meant for people (scripts,
// transcripts) are UTF-8, and resources UTF-16.
#pragma once

#include <string>

namespace driving {

// A text that does not convert comes back unchanged.
std::string Utf8ToGbk(const std::string& utf8);
std::string GbkToUtf8(const std::string& gbk);
std::string WideToGbk(const std::wstring& wide);
// A program's texts are in the process's ANSI code page, which is GBK only on a seat
// whose code page is 936; under any other they are brought to GBK. Under 936 the bytes
// stay as given, broken ones included.
std::string AnsiToGbk(const std::string& ansi);

} // namespace driving
