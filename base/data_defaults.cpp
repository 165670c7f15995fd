#include "data_defaults.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "data_locations.h"
#include "host_report.h"
#include "plugin_module.h"

namespace {

const char* const DefaultFiles[] = {"button_id.ini", "chick.ini", "Tarnwick.macro"};

bool IsFolder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The position of the last backslash of a path that is a character of its own (a GBK
// trail byte may be 0x5C), or -1.
int LastBackslash(const char* path) {
    int last = -1;
    for (int i = 0; path[i]; ++i) {
        if (path[i] == '\\')
            last = i;
        else if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && path[i + 1])
            ++i;
    }
    return last;
}

// The installation's data folder: "data" beside the "startup" folder this DLL was
// loaded from. False when the DLL lies elsewhere or the folder is not there.
bool InstallationDataFolder(char* folder, size_t size) {
    char module[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(PluginModule(), module, sizeof module);
    if (length == 0 || length >= sizeof module)
        return false;
    int file = LastBackslash(module);
    if (file < 0)
        return false;
    module[file] = '\0';
    int startup = LastBackslash(module);
    if (startup < 0 || lstrcmpiA(module + startup + 1, "startup") != 0)
        return false;
    module[startup] = '\0';
    int needed = snprintf(folder, size, "%s\\data", module);
    return needed > 0 && needed < static_cast<int>(size) && IsFolder(folder);
}

bool Compose(char* path, size_t size, const char* folder, const char* name) {
    int needed = snprintf(path, size, "%s\\%s", folder, name);
    return needed > 0 && needed < static_cast<int>(size);
}

} // namespace

bool FillDataFolderFromDefaults(const char* root) {
    char data[DataPathSize] = {};
    if (!root || !root[0] || !Compose(data, sizeof data, root, "data"))
        return false;
    if (GetFileAttributesA(data) != INVALID_FILE_ATTRIBUTES)
        return false;
    char defaults[MAX_PATH] = {};
    if (!InstallationDataFolder(defaults, sizeof defaults))
        return false;

    // The user's folder itself may be missing too (nothing has made %APPDATA%\Tarnwick
    // yet); its parent must exist.
    if (!IsFolder(root))
        CreateDirectoryA(root, nullptr);
    if (!CreateDirectoryA(data, nullptr) && !IsFolder(data)) {
        unsigned long error = GetLastError();
        ListingPrintf("Tarnwick: 无法创建数据文件夹 %s（错误 %lu）。\n"
                      "Tarnwick: cannot create the data folder %s (error %lu).\n",
                      data, error, data, error);
        return false;
    }
    int failed = 0;
    for (const char* name : DefaultFiles) {
        char from[MAX_PATH] = {};
        char to[MAX_PATH] = {};
        if (!Compose(from, sizeof from, defaults, name) || !Compose(to, sizeof to, data, name))
            continue;
        if (GetFileAttributesA(from) == INVALID_FILE_ATTRIBUTES)
            continue;
        // Never over a file: another host of the same user may have made it meanwhile.
        if (!CopyFileA(from, to, TRUE) && GetLastError() != ERROR_FILE_EXISTS)
            ++failed;
    }
    if (failed)
        ListingPrintf("Tarnwick: 新的数据文件夹 %s 已创建，但有 %d 个默认文件无法从 %s 复制。\n"
                      "Tarnwick: made the new data folder %s, but %d default files could not "
                      "be copied from %s.\n",
                      data, failed, defaults, data, failed, defaults);
    else
        ListingPrintf(
            "Tarnwick: 首次启动：已创建您的数据文件夹 %s，并从 %s 复制了默认的快捷键表和设置。\n"
            "Tarnwick: first start: made your data folder %s with the default table "
            "and settings from %s.\n",
            data, defaults, data, defaults);
    return true;
}
