// Who hears of each write to the data files: the plug-in's trace, when it is on. The
// store reports every write it makes, with its result, to the one listener set.
#pragma once

// path: the file written; what: the change, such as "[MODE] MODE=1"; written: the
// file holds it (for profile writes the platform's answer).
typedef void (*FileWriteListener)(const char* path, const char* what, bool written);

void SetFileWriteListener(FileWriteListener listener); // nullptr: nobody hears
void ReportFileWrite(const char* path, const char* what, bool written);
