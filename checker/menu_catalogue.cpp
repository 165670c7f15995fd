#include "menu_catalogue.h"

#include <windows.h>

#include <algorithm>

#include "table_lines.h"

namespace {

bool HoldsAt(const std::string& folded, size_t at, const std::string& needle) {
    return folded.compare(at, needle.size(), needle) == 0;
}

bool Holds(const std::string& haystack, const std::string& text) {
    const std::string folded = FoldProfileName(haystack);
    const std::string needle = FoldProfileName(text);
    for (size_t i = 0; i + needle.size() <= folded.size(); ++i) {
        if (HoldsAt(folded, i, needle))
            return true;
        if (IsGbkLeadByte(static_cast<unsigned char>(folded[i])))
            ++i;
    }
    return false;
}

} // namespace

void ReadMenuText(const std::string& text, const std::string& file,
                  std::vector<MenuButton>* buttons) {
    const size_t first_of_file = buttons->size();
    bool have_button = false;
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        ++number;
        std::string line = TrimmedPart(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '!')
            continue;
        size_t space = line.find_first_of(" \t");
        std::string word = line.substr(0, space);
        std::string rest =
            space == std::string::npos ? std::string() : TrimmedPart(line.substr(space));
        if (word == "BUTTON" || word == "TOGGLE_BUTTON" || word == "APPLICATION_BUTTON" ||
            word == "CASCADE_BUTTON") {
            have_button = !rest.empty();
            if (have_button) {
                MenuButton button;
                button.name = rest;
                button.cascade = word == "CASCADE_BUTTON";
                button.file = file;
                button.line = number;
                buttons->push_back(button);
            }
        } else if (word == "LABEL" && have_button && buttons->size() > first_of_file) {
            buttons->back().label = rest;
        } else if (word == "ACTIONS" && have_button && buttons->size() > first_of_file) {
            buttons->back().actions = rest;
        } else if (word == "SEPARATOR" || word.compare(0, 7, "END_OF_") == 0 || word == "MENU" ||
                   word == "AFTER" || word == "BEFORE" || word == "TOP_MENU" || word == "MODIFY") {
            have_button = false; // LABEL and ACTIONS after these belong to no button
        }
    }
}

unsigned long ReadMenuFolder(const std::string& folder, std::vector<MenuButton>* buttons,
                             int* files) {
    *files = 0;
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_DIRECTORY;
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/')
        prefix += '\\';
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((prefix + "*.men").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::string bytes;
        unsigned long error = ReadFileBytes((prefix + name).c_str(), &bytes);
        if (error)
            return error;
        ReadMenuText(bytes, prefix + name, buttons);
        ++*files;
    }
    return 0;
}

bool ButtonMatches(const MenuButton& button, const std::string& text) {
    return Holds(button.name, text) || Holds(button.label, text);
}
