#include "table_encoding.h"

#include <windows.h>

#include "table_lines.h"

namespace {

const unsigned GbkCodePage = 936;

} // namespace

bool IsUtf8Table(const std::string& bytes) {
    TableEncoding encoding = DetectTableEncoding(bytes);
    return encoding == TableEncoding::Utf8 || encoding == TableEncoding::Utf8Bom;
}

bool Utf8TableToGbk(const std::string& bytes, std::string* gbk) {
    gbk->clear();
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (bytes.size() - start > 0x3FFFFFFF)
        return false;
    if (start == bytes.size())
        return true;
    const char* text = bytes.data() + start;
    int size = static_cast<int>(bytes.size() - start);
    int wide_size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, size, nullptr, 0);
    if (wide_size <= 0)
        return false;
    std::wstring wide(static_cast<size_t>(wide_size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, size, &wide[0], wide_size);
    BOOL lost = FALSE;
    int out_size =
        WideCharToMultiByte(GbkCodePage, 0, wide.data(), wide_size, nullptr, 0, nullptr, &lost);
    if (out_size <= 0 || lost)
        return false;
    gbk->assign(static_cast<size_t>(out_size), '\0');
    WideCharToMultiByte(GbkCodePage, 0, wide.data(), wide_size, &(*gbk)[0], out_size, nullptr,
                        &lost);
    return !lost;
}
