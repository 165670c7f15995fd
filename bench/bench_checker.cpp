// The table checker on a large table: 50,000 entries over a global, a custom and four
// module sections, checked in immediate mode (every code's prefixes are looked up in
// each module) against a catalogue of menu buttons. The whole check of the file's bytes
// is timed: the line reading, every rule, the sorting of the findings.
#include <cstdio>
#include <string>
#include <vector>

#include "bench.h"
#include "menu_catalogue.h"
#include "table_check.h"

namespace {

double ThreadSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 |
                                   t.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

std::string CodeOf(int n) {
    // Five letters, none a prefix of another: every code can be typed.
    std::string code(5, 'A');
    for (int i = 4; i >= 0; --i, n /= 26)
        code[i] = static_cast<char>('A' + n % 26);
    return code;
}

TARNWICK_BENCH_SECTION(CheckLargeTable, "Checker: a 50,000-entry table") {
    const char* sections[] = {"全局", "二次开发", "40", "1", "16", "48"};
    const char* scopes[] = {"全局",       "二次开发",   "仅应用模块",
                            "仅应用模块", "仅应用模块", "仅应用模块"};
    const int entries = 50000;
    std::string table = "[MODE]\r\nMODE=1\r\n";
    std::vector<MenuButton> buttons;
    int n = 0;
    for (int s = 0; s < 6; ++s) {
        table += std::string("[") + sections[s] + "]\r\n";
        for (int i = 0; i < entries / 6 + (s < entries % 6 ? 1 : 0); ++i, ++n) {
            std::string button = "UG_BUTTON_" + std::to_string(n);
            table += CodeOf(n) + "=" + button + "=命令说明 " + std::to_string(n) + "=" + scopes[s] +
                     "=" + sections[s] + "\r\n";
            MenuButton known;
            known.name = button;
            buttons.push_back(known);
        }
    }
    KeyNames key_names = KeyNames::FromSystem();
    CheckInput input;
    input.bytes = table;
    input.mode = TypingMode::Immediate;
    input.buttons = &buttons;
    input.key_names = &key_names;
    CheckReport report;
    double seconds = tarnwick_bench::SecondsPerCall([&] { report = CheckTable(input); }, 3.0);
    // The machine is shared: the thread's own processor time shows the check's cost
    // apart from the other work around it.
    const int calls = 5;
    double cpu = ThreadSeconds();
    for (int i = 0; i < calls; ++i)
        report = CheckTable(input);
    cpu = (ThreadSeconds() - cpu) / calls;
    printf("  %d entries, %zu bytes, %zu findings: %.1f ms per check (%.1f ms of processor "
           "time)\n",
           report.entries, table.size(), report.findings.size(), seconds * 1000.0, cpu * 1000.0);
}

} // namespace
