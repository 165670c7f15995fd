#include "text_codes.h"

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

static_assert(sizeof("全局") == 5, "narrow literals must be GBK: compile with -fexec-charset=GBK");

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

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

// long has 32 bits on Windows and strtol saturates at its ends: the range comes from a
// 64-bit read and its overflow flag.
bool ParseInt(const std::string& text, int* value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    long long number = strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return false;
    *value = static_cast<int>(number);
    return true;
}
