// The table checker on a large table: 50,000 entries over a global, a custom and four
// module sections, checked in immediate mode (every code's prefixes are looked up in
// each module) against a catalogue of menu buttons. The whole check of the file's bytes
// is timed: the line reading, every rule, the sorting of the findings.
#include <cstdio>
#include <string>
#include <vector>

#include "bench.h"
#include "menu_catalogue.h"
#include "table_findings.h"

namespace {

using tarnwick_bench::Now;
using tarnwick_bench::Spread;
using tarnwick_bench::SpreadOf;

std::string CodeOf(int n) {
    // Five letters, none a prefix of another: every code can be typed.
    std::string code(5, 'A');
    for (int i = 4; i >= 0; --i, n /= 26)
        code[i] = static_cast<char>('A' + n % 26);
    return code;
}

// The least any reader of the file pays: its bytes cut into lines, each one copied.
size_t BareLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines.size();
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
            std::string button = "UG_MODELING_BUTTON_" + std::to_string(n);
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
    std::vector<double> check, bare;
    size_t lines = 0;
    for (int run = 0; run < tarnwick_bench::MinSamples; ++run) {
        double start = Now();
        report = CheckTable(input);
        check.push_back(Now() - start);
        start = Now();
        lines = BareLines(table);
        bare.push_back(Now() - start);
    }
    Spread c = SpreadOf(check), b = SpreadOf(bare);
    printf("%d entries (%zu lines, %zu bytes), %zu findings\n", report.entries, lines, table.size(),
           report.findings.size());
    printf("check %.1f ms (p95 %.1f) | bare lines %.1f ms (p95 %.1f) | ratio %.1f (%.1f)\n",
           c.median * 1e3, c.p95 * 1e3, b.median * 1e3, b.p95 * 1e3, c.median / b.median,
           c.p95 / b.p95);
    printf("median (p95) of %d runs each, taken in turn\n"
           "check: the whole check in immediate mode against a catalogue of every button\n"
           "bare lines: the same bytes cut into lines, each copied\n",
           tarnwick_bench::MinSamples);
}

} // namespace
