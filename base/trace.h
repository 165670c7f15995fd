// The diagnostic trace: what the plug-in does on a seat, one line per event with a
// millisecond time stamp, for support. It is switched on by TARNWICK_TRACE at start-up
// (a file path, or 1 for tarnwick-trace.log in the data folder) and otherwise costs its
// callers one test of TraceOn.
//
// A key that goes on to the host is never named in it: keys typed into the host's own
// fields can be anything. Lines are the plug-in's narrow texts as they are (GBK on the
// target machines), CR LF ended.
#pragma once

enum { TracePathSize = 260, TraceLineMax = 2000, TraceFileMax = 1024 * 1024 };

extern bool TraceOn;

// Reads TARNWICK_TRACE from the environment and opens the trace, kept open for the run
// and appended to. A trace that cannot be opened says so in the listing window, once.
void StartTrace();
// Closes the trace; nothing is written after it.
void StopTrace();
// The path of the open trace, empty while it is off.
const char* TracePath();

// printf-style; one line (a line end of the text's own is dropped), cut at
// TraceLineMax bytes. Nothing happens while the trace is off. A write that fails
// switches the trace off with one line in the listing window.
void Trace(const char* format, ...);
