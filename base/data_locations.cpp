#include "data_locations.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "data_defaults.h"
#include "trace.h"
#include "uf_host.h"

char ShortcutTablePath[DataPathSize];
char MacroFilePath[DataPathSize];
char SettingsFilePath[DataPathSize];
char SiteCopyPath[DataPathSize];
char UiLibraryPath[UiLibraryPathSize];

namespace {

const char UiLibraryName[] = "libugui.dll";
const char NoInstallRootMessage[] = "TARNWICK_DIR 环境变量没有设置!";

// The system's texts, and so TARNWICK_DIR on the target machines, are code page 936.
const UINT GbkCodePage = 936;

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
        Trace("box \"%s\"", NoInstallRootMessage);
        MessageBoxA(nullptr, NoInstallRootMessage, "提示", MB_OKCANCEL);
        return false;
    }
    CopyInstallRoot(value, buffer);
    return true;
}

void CopyInstallRoot(const char* value, char* buffer) {
    strncpy(buffer, value, DataPathSize - 1);
    buffer[DataPathSize - 1] = '\0';
    // Only a backslash that is a character of its own goes: in GBK the trail byte of a
    // double-byte character may be 0x5C (淺 is 9C 5C), so the text is walked from its
    // start, a lead byte taking the byte after it along.
    const char* last = nullptr;
    for (const char* p = buffer; *p; ++p) {
        last = p;
        if (IsDBCSLeadByteEx(GbkCodePage, static_cast<BYTE>(*p)) && p[1])
            ++p;
    }
    if (last && *last == '\\')
        buffer[last - buffer] = '\0';
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
    // A user's first start: the data folder is not there yet (an installation for every
    // user names each user's %APPDATA%\Tarnwick); once filled from the installation's
    // defaults the file is looked for again.
    if (!file && FillDataFolderFromDefaults(install_root))
        file = fopen(composed, "r");
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

    // A running host has its UI library loaded already, and that module's own path is
    // right whatever folder the host was started in; the working-folder rule is only
    // a guess for a host that has not loaded it.
    if (HMODULE loaded = GetModuleHandleA(UiLibraryName)) {
        DWORD length = GetModuleFileNameA(loaded, UiLibraryPath, sizeof UiLibraryPath);
        // A path that does not fit is not recorded half: the playback then reports
        // that the library did not load.
        if (length == 0 || length >= sizeof UiLibraryPath)
            UiLibraryPath[0] = '\0';
    } else {
        char folder[MAX_PATH] = {};
        HostFolderOfWorkingDirectory(folder, sizeof folder);
        const char* format = release_number <= 100 ? "%sUGII\\%s" : "%sNXBIN\\%s";
        int needed = snprintf(UiLibraryPath, sizeof UiLibraryPath, format, folder, UiLibraryName);
        if (needed < 0 || needed >= static_cast<int>(sizeof UiLibraryPath))
            UiLibraryPath[0] = '\0';
    }

    if (release)
        UF_free(release);
}
