#include "table_lines.h"

#include <windows.h>

#include <algorithm>
#include <map>

namespace {

// The profile service's blanks: C's white space and Ctrl-Z (an old end-of-file mark).
bool IsProfileBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == 0x1A;
}

// The first, or the last, byte c in [begin, end) outside double-byte characters ("]"
// can be a GBK trail byte, "=" cannot), or npos.
size_t FindSingleByte(const std::string& text, size_t begin, size_t end, char c,
                      bool last = false) {
    size_t found = std::string::npos;
    for (size_t i = begin; i < end; ++i) {
        if (text[i] == c) {
            found = i;
            if (!last)
                break;
        }
        if (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < end)
            ++i;
    }
    return found;
}

std::string WideToGbk(const std::wstring& wide) {
    if (wide.empty())
        return std::string();
    int size = WideCharToMultiByte(GbkCodePage, 0, wide.data(), static_cast<int>(wide.size()),
                                   nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(GbkCodePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                            size, nullptr, nullptr);
    return text;
}

struct RawLine {
    size_t begin, end; // the whole line with its end
    std::string text;  // without its end
};

// Line ends as the profile service takes them: CR LF, LF, or a lone CR.
std::vector<RawLine> SplitBytes(const std::string& bytes, size_t start) {
    std::vector<RawLine> lines;
    size_t begin = start;
    size_t i = start;
    const size_t size = bytes.size();
    while (i < size) {
        char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        size_t text_end = i;
        i += (c == '\r' && i + 1 < size && bytes[i + 1] == '\n') ? 2 : 1;
        lines.push_back({begin, i, bytes.substr(begin, text_end - begin)});
        begin = i;
    }
    if (begin < size)
        lines.push_back({begin, size, bytes.substr(begin)});
    return lines;
}

// The same on 16-bit units; each line's text converted to GBK. An odd last byte goes
// with the last line.
std::vector<RawLine> SplitUtf16(const std::string& bytes, bool big_endian) {
    std::vector<RawLine> lines;
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t k) -> wchar_t {
        unsigned char a = static_cast<unsigned char>(bytes[2 * k]);
        unsigned char b = static_cast<unsigned char>(bytes[2 * k + 1]);
        return static_cast<wchar_t>(big_endian ? (a << 8 | b) : (b << 8 | a));
    };
    size_t k = 1; // after the byte-order mark, which goes with the first line
    std::wstring text;
    size_t line_begin_byte = 0;
    while (k < units) {
        wchar_t c = unit(k);
        if (c != L'\r' && c != L'\n') {
            text += c;
            ++k;
            continue;
        }
        k += (c == L'\r' && k + 1 < units && unit(k + 1) == L'\n') ? 2 : 1;
        lines.push_back({line_begin_byte, 2 * k, WideToGbk(text)});
        text.clear();
        line_begin_byte = 2 * k;
    }
    if (line_begin_byte < bytes.size())
        lines.push_back({line_begin_byte, bytes.size(), WideToGbk(text)});
    return lines;
}

std::string CutAtNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

// Reads one line's kind, names and fields.
void ReadLine(TableLine& line) {
    const std::string& text = line.text;
    size_t begin = 0, end = text.size();
    while (begin < end && IsProfileBlank(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && IsProfileBlank(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (begin == end) {
        line.kind = LineKind::Blank;
        return;
    }
    if (text[begin] == '[') {
        // The name ends at the last "]": "[A]B]" is the section "A]B".
        size_t close = FindSingleByte(text, begin, end, ']', true);
        if (close != std::string::npos) {
            line.kind = LineKind::Section;
            line.section = TrimmedPart(text, begin + 1, close);
            return;
        }
    }
    const bool comment = text[begin] == ';';
    size_t equals = FindSingleByte(text, begin, end, '=');
    if (equals == std::string::npos) {
        line.kind = comment ? LineKind::Comment : LineKind::NoEquals;
        line.key = text.substr(begin, end - begin);
        return;
    }
    line.kind = comment ? LineKind::Comment : LineKind::Entry;
    line.has_value = true;
    line.key = TrimmedPart(text, begin, equals);
    line.value = TrimmedPart(text, equals + 1, end);
}

// The keys under one header (folded, with their line's index), gathered and then sorted
// once: a map node per key would cost an allocation per line.
typedef std::vector<std::pair<std::string, size_t>> KeysUnderHeader;

void MarkRepeatedKeys(KeysUnderHeader& keys, std::vector<TableLine>* lines) {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const KeysUnderHeader::value_type& a,
                        const KeysUnderHeader::value_type& b) { return a.first < b.first; });
    for (size_t begin = 0; begin < keys.size();) {
        size_t end = begin + 1;
        while (end < keys.size() && keys[end].first == keys[begin].first)
            ++end;
        const int first_number = (*lines)[keys[begin].second].number;
        int keyed = 0;
        for (size_t i = begin; i < end; ++i) {
            if (i > begin)
                (*lines)[keys[i].second].first_key_line = first_number;
            keyed += IsKeyedLine((*lines)[keys[i].second]) ? 1 : 0;
        }
        if (keyed > 1)
            for (size_t i = begin; i < end; ++i)
                (*lines)[keys[i].second].addressable = false;
        begin = end;
    }
    keys.clear();
}

} // namespace

std::string TrimmedPart(const std::string& text, size_t begin, size_t end, bool keep_line_ends) {
    auto blank = [keep_line_ends](unsigned char c) {
        return IsProfileBlank(c) && !(keep_line_ends && (c == '\r' || c == '\n'));
    };
    end = end < text.size() ? end : text.size();
    while (begin < end && blank(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && blank(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

unsigned long ReadFileBytes(const char* path, std::string* bytes) {
    bytes->clear();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    unsigned long error = 0;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size)) {
        error = GetLastError();
    } else if (size.QuadPart > 0x7FFFFFFF) {
        error = ERROR_FILE_TOO_LARGE;
    } else {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (done < bytes->size()) {
            DWORD got = 0;
            if (!ReadFile(file, &(*bytes)[done], static_cast<DWORD>(bytes->size() - done), &got,
                          nullptr)) {
                error = GetLastError();
                break;
            }
            if (got == 0)
                break; // the file shrank meanwhile
            done += got;
        }
        bytes->resize(done);
    }
    CloseHandle(file);
    if (error)
        bytes->clear();
    return error;
}

TableLines ReadTableLines(const std::string& bytes) {
    TableLines table;
    table.encoding = DetectTableEncoding(bytes);
    std::vector<RawLine> raw;
    switch (table.encoding) {
    case TableEncoding::Utf16Le:
    case TableEncoding::Utf16Be:
        raw = SplitUtf16(bytes, table.encoding == TableEncoding::Utf16Be);
        break;
    case TableEncoding::Utf8Bom:
        raw = SplitBytes(bytes, 3);
        if (raw.empty())
            raw.push_back({3, 3, std::string()});
        raw.front().begin = 0; // the mark belongs to the first line's range
        break;
    default:
        raw = SplitBytes(bytes, 0);
        break;
    }

    // Headers seen so far, by folded name; and per header line, the keys under it. The
    // lines before the first header form a nameless section of their own, so a header
    // "[]" repeats it.
    std::map<std::string, int> header_count{{std::string(), 1}};
    KeysUnderHeader keys_here;
    std::string section;
    int occurrence = 0;
    int section_line = 0;

    // One conversion of the whole file settles the usual case: no line to look at.
    const bool all_gbk = IsValidGbk(bytes.data(), bytes.size());
    table.lines.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        TableLine line;
        line.number = static_cast<int>(i + 1);
        line.begin = raw[i].begin;
        line.end = raw[i].end;
        line.text = std::move(raw[i].text);
        line.has_nul = line.text.find('\0') != std::string::npos;
        line.invalid_gbk = !all_gbk && !IsValidGbk(line.text.data(), line.text.size());
        ReadLine(line);
        if (line.kind == LineKind::Section) {
            section = line.section;
            occurrence = ++header_count[FoldProfileName(section)];
            section_line = line.number;
            MarkRepeatedKeys(keys_here, &table.lines);
        }
        line.section = section;
        line.section_occurrence = occurrence;
        line.section_line = section_line;
        line.addressable = section_line != 0 && IsKeyedLine(line) && !line.has_nul;
        if (line.kind == LineKind::Entry || line.kind == LineKind::Comment ||
            line.kind == LineKind::NoEquals)
            keys_here.emplace_back(FoldProfileName(line.key), table.lines.size());
        if (line.invalid_gbk)
            table.invalid_gbk_lines.push_back(line.number);
        table.lines.push_back(std::move(line));
    }
    MarkRepeatedKeys(keys_here, &table.lines);
    // How often each line's section header occurs in the whole file: the count at the
    // last header of a name, less the nameless section the lines before any header form.
    std::vector<int> headers_of_line(table.lines.size(), 0);
    for (size_t i = 0; i < table.lines.size(); ++i) {
        const TableLine& line = table.lines[i];
        if (line.kind != LineKind::Section)
            continue;
        const std::string folded = FoldProfileName(line.section);
        headers_of_line[i] = header_count[folded] - (folded.empty() ? 1 : 0);
    }
    for (TableLine& line : table.lines)
        if (line.addressable)
            line.addressable = headers_of_line[static_cast<size_t>(line.section_line - 1)] == 1;
    return table;
}

bool IsKeyedLine(const TableLine& line) {
    return line.kind == LineKind::Entry || line.kind == LineKind::NoEquals;
}

const TableLine* FindTableKey(const TableLines& table, const std::string& section,
                              const std::string& key, bool first_header_only) {
    for (const TableLine& line : table.lines) {
        if (line.section_line == 0 || !IsKeyedLine(line) ||
            (first_header_only && line.section_occurrence != 1) ||
            !SameProfileName(line.section, section) || !SameProfileName(line.key, key))
            continue;
        return &line;
    }
    return nullptr;
}

unsigned long ReadTableFile(const char* path, TableLines* table) {
    std::string bytes;
    unsigned long error = ReadFileBytes(path, &bytes);
    if (error == 0)
        *table = ReadTableLines(bytes);
    return error;
}

std::string ProfileValueOf(const std::string& value) {
    std::string text = CutAtNul(value);
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
        return text.substr(1, text.size() - 2);
    return text;
}
