#include "trace.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "data_locations.h"
#include "host_report.h"
#include "trace_file.h"
#include "uf_host.h"

namespace {

const char TraceVariable[] = "TARNWICK_TRACE";
const char DataFolderTraceName[] = "tarnwick-trace.log";

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

void ReportWriteFailure(const char* path, unsigned long error) {
    ListingPrintf(WriteFailedLine, path, error, path, error);
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
        ListingPrintf(OpenFailedLine, TraceFilePath, error, TraceFilePath, error);
        TraceFilePath[0] = '\0';
        return;
    }
    TraceWriteFailed = ReportWriteFailure;
    TraceOn = true;
}
