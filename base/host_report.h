// Failed host calls go to the host's listing window and its system log.
#pragma once

// Prints the three lines of a failed call when code is not 0; returns code.
int ReportUfError(int line, const char* call_text, int code);

// printf-style; output beyond 1000 characters is cut.
void ListingPrintf(const char* format, ...);
