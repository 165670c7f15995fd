#include "data_locations.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "uf_host.h"

char ShortcutTablePath[DataPathSize];
char MacroFilePath[DataPathSize];
char SettingsFilePath[DataPathSize];
char UiLibraryPath[UiLibraryPathSize];

namespace {

const char UiLibraryName[] = "libugui.dll";

// Nine digits always fit a signed 32-bit number; further digits are not taken.
enum { ReleaseDigitsMax = 9 };

int ReleaseNumber(const char* release) {
    int number = 0;
    int digits = 0;
    for (const char* p = release; p && *p && digits < ReleaseDigitsMax; ++p) {
        if (*p >= '0' && *p <= '9') {
            number = number * 10 + (*p - '0');
            ++digits;
        }
    }
    return number;
}

// The working directory with its last four characters cut off, so that a working
// directory ending in the host's four-letter folder (…\UGII) leaves its parent
// followed by a backslash. A directory of fewer than four characters (a drive root
// such as C:\) is kept whole, ending in a backslash; a failing call leaves it empty.
void HostFolderOfWorkingDirectory(char* folder, size_t size) {
    char directory[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
    folder[0] = '\0';
    if (length == 0 || length >= sizeof directory)
        return;
    if (length >= 4) {
        directory[length - 4] = '\0';
        snprintf(folder, size, "%s", directory);
    } else {
        bool ends_in_backslash = directory[length - 1] == '\\';
        snprintf(folder, size, "%s%s", directory, ends_in_backslash ? "" : "\\");
    }
}

} // namespace

bool ReadInstallRoot(char* buffer) {
    char* value = nullptr;
    UF_translate_variable("TARNWICK_DIR", &value);
    if (!value) {
        MessageBoxA(nullptr, "TARNWICK_DIR 环境变量没有设置!", "提示", MB_OKCANCEL);
        return false;
    }
    strncpy(buffer, value, DataPathSize - 1);
    buffer[DataPathSize - 1] = '\0';
    size_t length = strlen(buffer);
    if (length > 0 && buffer[length - 1] == '\\')
        buffer[length - 1] = '\0';
    return true;
}

int LocateDataFile(const char* file_name, char* path) {
    path[0] = '\0';
    char install_root[DataPathSize] = {};
    char composed[DataPathSize] = {};
    if (!ReadInstallRoot(install_root))
        return -1;
    int needed = snprintf(composed, sizeof composed, "%s\\data\\%s", install_root, file_name);
    if (needed < 0 || needed >= static_cast<int>(sizeof composed))
        return -3;
    FILE* file = fopen(composed, "r");
    if (!file)
        return -2;
    strncpy(path, composed, DataPathSize - 1);
    path[DataPathSize - 1] = '\0';
    fclose(file);
    return 0;
}

void LocateUiLibrary() {
    char* release = nullptr;
    UF_get_release(&release);
    int release_number = ReleaseNumber(release);

    char folder[MAX_PATH] = {};
    HostFolderOfWorkingDirectory(folder, sizeof folder);

    const char* format = release_number <= 100 ? "%sUGII\\%s" : "%sNXBIN\\%s";
    int needed = snprintf(UiLibraryPath, sizeof UiLibraryPath, format, folder, UiLibraryName);
    // A path that does not fit is not recorded half: the playback then reports that
    // the library did not load.
    if (needed < 0 || needed >= static_cast<int>(sizeof UiLibraryPath))
        UiLibraryPath[0] = '\0';

    if (release)
        UF_free(release);
}
