#include "table_lock.h"

#include <cstdio>
#include <vector>

#include "table_lines.h"

namespace {

std::string FullPath(const char* path) {
    std::vector<char> full(MAX_PATH);
    DWORD length = GetFullPathNameA(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length + 1);
        length = GetFullPathNameA(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size())
        return path;
    std::string text(full.data(), length);
    // A short (8.3) name and its long name are one file; a file not yet made has none.
    std::vector<char> long_name(length + MAX_PATH);
    DWORD long_length =
        GetLongPathNameA(text.c_str(), long_name.data(), static_cast<DWORD>(long_name.size()));
    if (long_length > 0 && long_length < long_name.size())
        text.assign(long_name.data(), long_length);
    return text;
}

} // namespace

std::string TableLockName(const char* path) {
    std::string full = FullPath(path ? path : "");
    for (char& c : full)
        if (c == '/')
            c = '\\';
    // The profile service's folding: ASCII letters outside double-byte characters.
    full = FoldProfileName(full);
    // A path can be longer than a kernel object's name may be, and holds backslashes,
    // which name a namespace: the name carries the path's 64-bit FNV-1a hash.
    unsigned long long hash = 0xCBF29CE484222325ull;
    for (unsigned char c : full) {
        hash ^= c;
        hash *= 0x100000001B3ull;
    }
    char name[64];
    snprintf(name, sizeof name, "Local\\Tarnwick.table.%016llx", hash);
    return name;
}

TableLock::TableLock(const char* path) {
    // No path, no file: nothing another writer could share.
    if (!path || !*path) {
        held_ = true;
        return;
    }
    mutex_ = CreateMutexA(nullptr, FALSE, TableLockName(path).c_str());
    if (!mutex_)
        return;
    // An abandoned lock belonged to a process that ended inside its write; the file is
    // whatever that write left, and the next writer may go on.
    DWORD wait = WaitForSingleObject(mutex_, TableLockWaitMilliseconds);
    held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

TableLock::~TableLock() {
    if (held_ && mutex_)
        ReleaseMutex(mutex_);
    if (mutex_)
        CloseHandle(mutex_);
}
