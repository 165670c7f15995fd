#include "write_report.h"

namespace {
FileWriteListener Listener = nullptr;
}

void SetFileWriteListener(FileWriteListener listener) {
    Listener = listener;
}

void ReportFileWrite(const char* path, const char* what, bool written) {
    if (Listener)
        Listener(path ? path : "", what, written);
}
