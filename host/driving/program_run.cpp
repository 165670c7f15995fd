#include "program_run.h"

#include <windows.h>

#include <vector>

namespace driving {

namespace {

// Reads what the pipe holds now; never waits, since no read asks for more than the peek
// showed. False once the pipe has ended: every writer has closed its end and nothing is
// left in it.
bool ReadAvailable(HANDLE pipe, std::string* output) {
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
            return false;
        if (available == 0)
            return true;
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got,
                      nullptr))
            return false;
        output->append(buffer, got);
    }
}

bool Passed(DWORD start, unsigned timeout_ms) {
    return GetTickCount() - start > timeout_ms;
}

} // namespace

ProgramRun RunProgram(const std::string& command_line, const std::string& folder,
                      unsigned timeout_ms) {
    ProgramRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0))
        return run;
    // Only the child's end is inherited: the pipe then ends when the child ends.
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    std::vector<char> line(command_line.begin(), command_line.end());
    line.push_back('\0');
    PROCESS_INFORMATION process = {};
    run.started =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &process) != FALSE;
    CloseHandle(write_end);
    if (run.started) {
        // The program's end and the pipe's end come in either order: the last bytes may
        // show in the pipe only after the process has been signalled, and a process the
        // program started may hold the pipe open after it. Both are waited for, and
        // neither past the time allowed.
        const DWORD start = GetTickCount();
        bool ended = false, pipe_open = true;
        for (;;) {
            pipe_open = pipe_open && ReadAvailable(read_end, &run.output);
            ended = ended || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
            if (ended && !pipe_open)
                break;
            if (Passed(start, timeout_ms)) {
                if (!ended) {
                    TerminateProcess(process.hProcess, 99);
                    WaitForSingleObject(process.hProcess, 5000);
                }
                run.timed_out = true;
                break;
            }
            if (ended)
                Sleep(5);
            else
                WaitForSingleObject(process.hProcess, 20);
        }
        DWORD status = 0;
        if (ended && GetExitCodeProcess(process.hProcess, &status))
            run.status = static_cast<int>(status);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(read_end);
    return run;
}

std::string WithoutCarriageReturns(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace driving
