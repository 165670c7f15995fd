#include "program_run.h"

#include <windows.h>

#include <vector>

namespace driving {

namespace {

void ReadAvailable(HANDLE pipe, std::string* output) {
    char buffer[4096];
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) || got == 0)
            return;
        output->append(buffer, got);
    }
}

// Once the program has ended every byte it wrote is in the pipe, but a peek may not show
// the last of them yet: read until the pipe reports its end.
void ReadToEnd(HANDLE pipe, std::string* output) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output->append(buffer, got);
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
        const DWORD start = GetTickCount();
        for (;;) {
            if (WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) {
                ReadToEnd(read_end, &run.output);
                break;
            }
            ReadAvailable(read_end, &run.output);
            if (GetTickCount() - start > timeout_ms) {
                TerminateProcess(process.hProcess, 99);
                WaitForSingleObject(process.hProcess, 5000);
                run.timed_out = true;
                break;
            }
        }
        DWORD status = 0;
        if (!run.timed_out && GetExitCodeProcess(process.hProcess, &status))
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
