#include "trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "data_locations.h"
#include "host_report.h"
#include "uf_host.h"

bool TraceOn = false;

namespace {

const char TraceVariable[] = "TARNWICK_TRACE";
const char DataFolderTraceName[] = "tarnwick-trace.log";
const char OldSuffix[] = ".old";

// One listing line each, English then Chinese: the listing window is where the admin
// looks when the trace stays empty.
const char OpenFailedLine[] = "Tarnwick: the trace file %s cannot be opened (system error %lu); "
                              "no trace is kept. / Tarnwick：无法打开跟踪文件 %s（系统错误 "
                              "%lu），不记录跟踪。\n";
const char WriteFailedLine[] = "Tarnwick: the trace file %s cannot be written (system error %lu); "
                               "the trace is off. / Tarnwick：无法写入跟踪文件 %s（系统错误 "
                               "%lu），跟踪已关闭。\n";
const char NoFolderLine[] =
    "Tarnwick: TARNWICK_TRACE is 1 but TARNWICK_DIR is not set, so there is "
    "no data folder for the trace; no trace is kept. / Tarnwick："
    "TARNWICK_TRACE 为 1，但 TARNWICK_DIR 没有设置，没有存放跟踪的 data "
    "文件夹，不记录跟踪。\n";
const char OwnFileLine[] =
    "Tarnwick: TARNWICK_TRACE names %s, a file of the plug-in's or the host's "
    "kind (.ini, .bak, .macro, .men, .dll, .exe), which the trace would "
    "spoil; no trace is kept. / Tarnwick：TARNWICK_TRACE 指向 %s，这是插件或 "
    "NX 使用的文件类型（.ini、.bak、.macro、.men、.dll、.exe），写入跟踪会损坏"
    "它，不记录跟踪。\n";
// A trace appended to the table, the settings, a backup or a library would spoil it.
const char* const RefusedEndings[] = {".ini", ".bak", ".macro", ".men", ".dll", ".exe"};
const char BadPathLine[] = "Tarnwick: TARNWICK_TRACE does not name a usable file path; no trace "
                           "is kept. / Tarnwick：TARNWICK_TRACE 不是可用的文件路径，不记录跟踪。\n";

// Room for the time stamp and the line end around a line of TraceLineMax bytes.
enum { StampSize = 32, LineEndSize = 2 };

char TraceFilePath[TracePathSize];
HANDLE TraceFile = INVALID_HANDLE_VALUE;
unsigned long long TraceFileSize = 0;

void CloseTraceFile() {
    if (TraceFile != INVALID_HANDLE_VALUE)
        CloseHandle(TraceFile);
    TraceFile = INVALID_HANDLE_VALUE;
}

// Appends to what an earlier session left. Opened for appending only, so that every line
// goes to the file's end even while a second host session traces into the same file;
// Windows answers the size only to a handle that may read the attributes. Readers may
// open, rename or delete the file while the host runs: a support engineer looks at it
// without closing the host.
DWORD OpenTraceFile(DWORD disposition) {
    TraceFile = CreateFileA(TraceFilePath, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (TraceFile == INVALID_HANDLE_VALUE)
        return GetLastError();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(TraceFile, &size)) {
        DWORD error = GetLastError();
        CloseTraceFile();
        return error;
    }
    TraceFileSize = static_cast<unsigned long long>(size.QuadPart);
    return 0;
}

// The full file becomes the ".old" one, replacing an older, and a new file starts, so
// the trace never takes more than twice TraceFileMax.
DWORD StartAnew() {
    char old_path[TracePathSize + sizeof OldSuffix] = {};
    snprintf(old_path, sizeof old_path, "%s%s", TraceFilePath, OldSuffix);
    CloseTraceFile();
    if (!MoveFileExA(TraceFilePath, old_path, MOVEFILE_REPLACE_EXISTING))
        return GetLastError();
    return OpenTraceFile(CREATE_ALWAYS);
}

void SwitchOff(const char* line, DWORD error) {
    TraceOn = false;
    CloseTraceFile();
    ListingPrintf(line, TraceFilePath, error, TraceFilePath, error);
    TraceFilePath[0] = '\0';
}

// The file named by the setting: "1" for the data folder's trace, anything else a
// path, made full so that the trace's own first line says where it is.
bool ResolveTracePath(const char* setting) {
    TraceFilePath[0] = '\0';
    if (strcmp(setting, "1") == 0) {
        char* install = nullptr;
        UF_translate_variable("TARNWICK_DIR", &install);
        if (!install) {
            ListingPrintf(NoFolderLine);
            return false;
        }
        char root[DataPathSize] = {};
        CopyInstallRoot(install, root);
        int needed = snprintf(TraceFilePath, sizeof TraceFilePath, "%s\\data\\%s", root,
                              DataFolderTraceName);
        if (needed > 0 && needed < static_cast<int>(sizeof TraceFilePath))
            return true;
    } else {
        DWORD length = GetFullPathNameA(setting, sizeof TraceFilePath, TraceFilePath, nullptr);
        if (length > 0 && length < sizeof TraceFilePath)
            return true;
    }
    TraceFilePath[0] = '\0';
    ListingPrintf(BadPathLine);
    return false;
}

bool EndsWith(const char* text, const char* ending) {
    size_t length = strlen(text), ending_length = strlen(ending);
    return length >= ending_length && _stricmp(text + length - ending_length, ending) == 0;
}

bool IsRefusedTraceFile(const char* path) {
    for (const char* ending : RefusedEndings)
        if (EndsWith(path, ending))
            return true;
    return false;
}

} // namespace

void StartTrace() {
    StopTrace();
    // From the process's environment, not through the host: a seat without the trace
    // sees no host call of it.
    char setting[TracePathSize] = {};
    DWORD length = GetEnvironmentVariableA(TraceVariable, setting, sizeof setting);
    if (length >= sizeof setting) {
        ListingPrintf(BadPathLine);
        return;
    }
    // Unset, empty or 0: the trace stays off, as it is for every seat by default.
    if (length == 0 || strcmp(setting, "0") == 0)
        return;
    if (!ResolveTracePath(setting))
        return;
    if (IsRefusedTraceFile(TraceFilePath)) {
        ListingPrintf(OwnFileLine, TraceFilePath, TraceFilePath);
        TraceFilePath[0] = '\0';
        return;
    }
    DWORD error = OpenTraceFile(OPEN_ALWAYS);
    if (error) {
        SwitchOff(OpenFailedLine, error);
        return;
    }
    TraceOn = true;
}

void StopTrace() {
    TraceOn = false;
    CloseTraceFile();
    TraceFilePath[0] = '\0';
}

const char* TracePath() {
    return TraceFilePath;
}

void Trace(const char* format, ...) {
    if (!TraceOn)
        return;
    char line[StampSize + TraceLineMax + LineEndSize + 1] = {};
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    int stamp =
        snprintf(line, StampSize, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth,
                 now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    if (stamp < 0 || stamp >= StampSize)
        stamp = 0;
    va_list args;
    va_start(args, format);
    vsnprintf(line + stamp, TraceLineMax + 1, format, args);
    va_end(args);
    size_t length = strlen(line);
    while (length > static_cast<size_t>(stamp) &&
           (line[length - 1] == '\n' || line[length - 1] == '\r'))
        --length;
    // A message of several lines stays one line of the trace. No GBK trail byte is a
    // line end, so the bytes can be looked at one by one.
    for (size_t i = static_cast<size_t>(stamp); i < length; ++i)
        if (line[i] == '\n' || line[i] == '\r')
            line[i] = ' ';
    line[length++] = '\r';
    line[length++] = '\n';

    if (TraceFileSize + length > TraceFileMax) {
        DWORD error = StartAnew();
        if (error) {
            SwitchOff(WriteFailedLine, error);
            return;
        }
    }
    DWORD written = 0;
    if (!WriteFile(TraceFile, line, static_cast<DWORD>(length), &written, nullptr) ||
        written != length) {
        DWORD error = GetLastError();
        SwitchOff(WriteFailedLine, error ? error : ERROR_WRITE_FAULT);
        return;
    }
    TraceFileSize += written;
}
