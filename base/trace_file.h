// The trace's file, shared by its writer and by the start-up that opens it. The writer
// needs nothing of the host: the start-up tells it where a failed write is reported.
#pragma once

#include <windows.h>

#include "trace.h"

extern char TraceFilePath[TracePathSize];
// Called once the trace has gone off after a failed write, with the file and the error.
extern void (*TraceWriteFailed)(const char* path, unsigned long error);

void CloseTraceFile();
// Opens TraceFilePath for appending; 0 or the system's error.
DWORD OpenTraceFile(DWORD disposition);
