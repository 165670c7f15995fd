#include "table_sections.h"

#include <windows.h>

#include <cstring>

namespace {

// The lists are never longer than the file itself (each line loses its line end and
// gains one NUL), so a buffer of that size takes them in one call.
size_t ProfileListSizeFor(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) || data.nFileSizeHigh)
        return 0;
    return static_cast<size_t>(data.nFileSizeLow) + 16;
}

// A list from the profile service, each entry ended by a NUL and the list by a second
// one. The service cuts a list that does not fit and then returns size - 2; the buffer
// grows until the whole list fits, so no entry is ever left out.
template <typename Read> std::vector<std::string> ReadProfileList(const char* path, Read read) {
    std::vector<std::string> entries;
    if (!path || !*path)
        return entries;
    size_t first_size = ProfileListSizeFor(path);
    std::vector<char> buffer(first_size < 1024 ? 1024 : first_size);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD got = read(buffer.data(), size);
        if (got + 2 < size) {
            buffer[got] = '\0';
            buffer[got + 1] = '\0';
            break;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
    for (const char* entry = buffer.data(); *entry; entry += strlen(entry) + 1)
        entries.emplace_back(entry);
    return entries;
}

} // namespace

std::vector<std::string> ReadTableSectionNames(const char* table_path) {
    return ReadProfileList(table_path, [&](char* buffer, DWORD size) {
        return GetPrivateProfileSectionNamesA(buffer, size, table_path);
    });
}

std::vector<std::string> ReadTableSectionLines(const char* table_path, const char* section) {
    return ReadProfileList(table_path, [&](char* buffer, DWORD size) {
        return GetPrivateProfileSectionA(section, buffer, size, table_path);
    });
}
