#include "table_encoding.h"

#include <windows.h>

#include <cstring>

namespace {

// The texts every table holds, as section names and scope fields, in GBK and in UTF-8;
// the first two characters of each name are enough, and they are what is left of a name
// whose last character a rewrite through GBK broke.
struct TextForms {
    const char* gbk;
    const char* utf8;
};
const TextForms KnownTexts[] = {
    {"全局", u8"全局"},
    {"二次", u8"二次"}, // 二次开发
    {"仅应", u8"仅应"}, // 仅应用模块
};

bool HasBom(const std::string& bytes, const char* bom) {
    return bytes.compare(0, strlen(bom), bom) == 0;
}

// A GBK form counts only where a character starts: the trail byte of one character and
// the lead byte of the next do not make a name.
bool HoldsGbkForm(const std::string& bytes) {
    const size_t size = bytes.size();
    for (size_t i = 0; i < size; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x81 || c > 0xFE)
            continue;
        for (const TextForms& text : KnownTexts)
            if (bytes.compare(i, strlen(text.gbk), text.gbk) == 0)
                return true;
        ++i;
    }
    return false;
}

// UTF-8 synchronises itself: a form found anywhere is one.
bool HoldsUtf8Form(const std::string& bytes) {
    for (const TextForms& text : KnownTexts)
        if (bytes.find(text.utf8) != std::string::npos)
            return true;
    return false;
}

// Length of the UTF-8 sequence at p (2 to 4), or 0 when none starts there.
size_t Utf8SequenceLength(const unsigned char* p, size_t left) {
    unsigned char c = p[0];
    size_t length;
    unsigned minimum;
    unsigned code;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2, minimum = 0x80, code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3, minimum = 0x800, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4, minimum = 0x10000, code = c & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// The offset of the first byte that starts no UTF-8 character, or npos.
size_t FirstInvalidUtf8(const char* text, size_t size) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < size;) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        size_t length = Utf8SequenceLength(p + i, size - i);
        if (length == 0)
            return i;
        i += length;
    }
    return std::string::npos;
}

// Line ends as the profile service takes them: CR LF, LF, or a lone CR.
template <typename Char> int LineOf(const Char* text, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= offset || text[i + 1] != '\n')))
            ++line;
    return line;
}

// The GBK bytes of wide text, with nothing substituted; false when a character has no
// GBK form or does not read back as itself.
bool ExactGbk(const wchar_t* wide, int size, std::string* gbk) {
    gbk->clear();
    if (size == 0)
        return true;
    BOOL lost = FALSE;
    int out = WideCharToMultiByte(GbkCodePage, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0,
                                  nullptr, &lost);
    if (out <= 0 || lost)
        return false;
    gbk->assign(static_cast<size_t>(out), '\0');
    WideCharToMultiByte(GbkCodePage, WC_NO_BEST_FIT_CHARS, wide, size, &(*gbk)[0], out, nullptr,
                        &lost);
    if (lost)
        return false;
    int back = MultiByteToWideChar(GbkCodePage, MB_ERR_INVALID_CHARS, gbk->data(), out, nullptr, 0);
    if (back != size)
        return false;
    std::wstring read(static_cast<size_t>(back), L'\0');
    MultiByteToWideChar(GbkCodePage, MB_ERR_INVALID_CHARS, gbk->data(), out, &read[0], back);
    return read.compare(0, read.size(), wide, static_cast<size_t>(size)) == 0;
}

// Which character of the text fails the exact conversion, and where: its code point and
// its line. Only the failed conversion of a whole table comes here.
void NameFailingCharacter(const std::wstring& wide, GbkConversion* result) {
    std::string one;
    for (size_t i = 0; i < wide.size(); ++i) {
        unsigned code = static_cast<unsigned>(wide[i]);
        if (code < 0x80)
            continue;
        int units = 1;
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < wide.size()) {
            units = 2;
            code =
                0x10000 + ((code - 0xD800) << 10) + (static_cast<unsigned>(wide[i + 1]) - 0xDC00);
        }
        if (!ExactGbk(wide.data() + i, units, &one)) {
            result->code = code;
            result->line = LineOf(wide.data(), i);
            return;
        }
        i += static_cast<size_t>(units - 1);
    }
}

} // namespace

bool IsValidGbk(const char* text, size_t size) {
    bool high = false;
    for (size_t i = 0; i < size && !high; ++i)
        high = static_cast<unsigned char>(text[i]) >= 0x80;
    if (!high || size > 0x7FFFFFFF)
        return true;
    return MultiByteToWideChar(GbkCodePage, MB_ERR_INVALID_CHARS, text, static_cast<int>(size),
                               nullptr, 0) > 0;
}

bool IsValidUtf8(const char* text, size_t size) {
    return FirstInvalidUtf8(text, size) == std::string::npos;
}

TableEncoding DetectTableEncoding(const std::string& bytes) {
    if (HasBom(bytes, "\xFF\xFE"))
        return TableEncoding::Utf16Le;
    if (HasBom(bytes, "\xFE\xFF"))
        return TableEncoding::Utf16Be;
    if (HasBom(bytes, "\xEF\xBB\xBF"))
        return TableEncoding::Utf8Bom;
    if (HoldsGbkForm(bytes))
        return TableEncoding::Gbk;
    if (HoldsUtf8Form(bytes))
        return TableEncoding::Utf8;
    // No name to go by: text that both encodings read is the format's own.
    if (IsValidGbk(bytes.data(), bytes.size()))
        return TableEncoding::Gbk;
    return IsValidUtf8(bytes.data(), bytes.size()) ? TableEncoding::Utf8 : TableEncoding::Gbk;
}

bool IsUtf8Table(const std::string& bytes) {
    TableEncoding encoding = DetectTableEncoding(bytes);
    return encoding == TableEncoding::Utf8 || encoding == TableEncoding::Utf8Bom;
}

GbkConversion Utf8TableToGbk(const std::string& bytes) {
    GbkConversion result;
    const size_t start = HasBom(bytes, "\xEF\xBB\xBF") ? 3 : 0;
    const char* text = bytes.data() + start;
    const size_t size = bytes.size() - start;
    if (size > 0x3FFFFFFF)
        return result;
    const size_t broken = FirstInvalidUtf8(text, size);
    if (broken != std::string::npos) {
        result.line = LineOf(text, broken);
        result.byte = static_cast<unsigned char>(text[broken]);
        return result;
    }
    if (size == 0) {
        result.converted = true;
        return result;
    }
    const int length = static_cast<int>(size);
    int wide_size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
    if (wide_size <= 0)
        return result;
    std::wstring wide(static_cast<size_t>(wide_size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, &wide[0], wide_size);
    if (ExactGbk(wide.data(), wide_size, &result.gbk)) {
        result.converted = true;
        return result;
    }
    result.gbk.clear();
    NameFailingCharacter(wide, &result);
    return result;
}
