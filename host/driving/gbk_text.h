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

} // namespace driving
