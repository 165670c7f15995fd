// Running a program as a user runs it from a console or a shortcut: a command line, a
// working folder, its output read from a pipe, and a time after which it is stopped.
#pragma once

#include <string>
#include <vector>

namespace driving {

struct ProgramRun {
    bool started = false;
    bool timed_out = false; // the program or its output had not ended in the time allowed
    int status = -1;        // the exit status (-1 when it did not start or end)
    std::string output;     // stdout and stderr together, as written
};

// `folder` empty: the caller's working folder. Output is read while the program runs,
// so a program that writes more than a pipe holds cannot block on it; the call returns
// within `timeout_ms` (and the 5 s a stopped program may take to go) whatever the
// program and anything it started do.
ProgramRun RunProgram(const std::string& command_line, const std::string& folder,
                      unsigned timeout_ms);

// Text without its CR bytes.
std::string WithoutCarriageReturns(const std::string& text);
// The lines of a text cut at LF, without their LF; a last line without one counts.
std::vector<std::string> TextLines(const std::string& text);

} // namespace driving
