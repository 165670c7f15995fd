#include "file_replace.h"

#include <windows.h>

bool WriteFreshFile(const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".new";
    HANDLE file = CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        DWORD wrote = 0;
        ok = WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote,
                       nullptr) &&
             wrote > 0;
        done += wrote;
    }
    ok = CloseHandle(file) && ok;
    if (!ok)
        DeleteFileA(fresh.c_str());
    return ok;
}

bool ReplaceFileBytes(const std::string& path, const std::string& bytes) {
    if (!WriteFreshFile(path, bytes))
        return false;
    const std::string fresh = path + ".new";
    if (!MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    return true;
}
