#include "text_codes.h"

#include <windows.h>

#include <vector>

static_assert(sizeof("全局") == 5, "narrow literals must be GBK: compile with -fexec-charset=GBK");

namespace {

enum { GbkCodePage = 936 };

std::string Convert(const std::string& text, UINT from, UINT to) {
    if (text.empty())
        return text;
    int wide_size =
        MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide_size <= 0)
        return text;
    std::vector<wchar_t> wide(static_cast<size_t>(wide_size));
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        wide_size);
    int size = WideCharToMultiByte(to, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return text;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wide_size, &out[0], size, nullptr, nullptr);
    return out;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    return Convert(utf8, CP_UTF8, GbkCodePage);
}
std::string GbkToUtf8(const std::string& gbk) {
    return Convert(gbk, GbkCodePage, CP_UTF8);
}

std::string AnsiToGbk(const std::string& ansi) {
    // Under 936 the bytes stay as given, broken ones included.
    return GetACP() == GbkCodePage ? ansi : Convert(ansi, CP_ACP, GbkCodePage);
}

std::string ReplacePathText(const std::string& text, const std::string& from,
                            const std::string& to) {
    if (from.empty() || text.size() < from.size())
        return text;
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        bool match = i + from.size() <= text.size();
        for (size_t k = 0; match && k < from.size(); ++k)
            match = Lower(text[i + k]) == Lower(from[k]);
        if (match) {
            out += to;
            i += from.size();
        } else {
            // A GBK lead byte carries its trail byte along, so a trail byte that happens
            // to look like ASCII never starts a match.
            unsigned char c = static_cast<unsigned char>(text[i]);
            size_t step = (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) ? 2 : 1;
            out.append(text, i, step);
            i += step;
        }
    }
    return out;
}

std::string Trim(const std::string& text) {
    size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos)
        return std::string();
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(start, end - start + 1);
}
