#include "gbk_text.h"

#include <windows.h>

namespace driving {

namespace {

const UINT GbkCodePage = 936;

std::string Narrow(const std::wstring& wide, UINT code_page) {
    const int wide_size = static_cast<int>(wide.size());
    int size =
        WideCharToMultiByte(code_page, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(code_page, 0, wide.data(), wide_size, &out[0], size, nullptr, nullptr);
    return out;
}

std::string Convert(const std::string& text, UINT from, UINT to) {
    if (text.empty())
        return text;
    const int size = static_cast<int>(text.size());
    int wide_size = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
    if (wide_size <= 0)
        return text;
    std::wstring wide(static_cast<size_t>(wide_size), L'\0');
    MultiByteToWideChar(from, 0, text.data(), size, &wide[0], wide_size);
    std::string out = Narrow(wide, to);
    return out.empty() ? text : out;
}

} // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    return Convert(utf8, CP_UTF8, GbkCodePage);
}

std::string GbkToUtf8(const std::string& gbk) {
    return Convert(gbk, GbkCodePage, CP_UTF8);
}

std::string WideToGbk(const std::wstring& wide) {
    return Narrow(wide, GbkCodePage);
}

std::string AnsiToGbk(const std::string& ansi) {
    return GetACP() == GbkCodePage ? ansi : Convert(ansi, CP_ACP, GbkCodePage);
}

} // namespace driving
