#include "trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "trace_file.h"

bool TraceOn = false;
char TraceFilePath[TracePathSize];
void (*TraceWriteFailed)(const char* path, unsigned long error) = nullptr;

namespace {

const char OldSuffix[] = ".old";

// Room for the time stamp and the line end around a line of TraceLineMax bytes.
enum { StampSize = 32, LineEndSize = 2 };

HANDLE TraceFile = INVALID_HANDLE_VALUE;
unsigned long long TraceFileSize = 0;

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

// A write that failed: the trace goes off, and the one who started it is told.
void SwitchOff(DWORD error) {
    TraceOn = false;
    CloseTraceFile();
    if (TraceWriteFailed)
        TraceWriteFailed(TraceFilePath, error);
    TraceFilePath[0] = '\0';
}

} // namespace

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
            SwitchOff(error);
            return;
        }
    }
    DWORD written = 0;
    if (!WriteFile(TraceFile, line, static_cast<DWORD>(length), &written, nullptr) ||
        written != length) {
        DWORD error = GetLastError();
        SwitchOff(error ? error : ERROR_WRITE_FAULT);
        return;
    }
    TraceFileSize += written;
}
