// Keystrokes and lookup: what the keystroke filter and the lookup cost the host's UI
// thread, each against a bare baseline measured in the same run, and how long a typed
// code takes to become the host's command.
//
// The filter is reached the way the system reaches it: through the thread's hook
// chain. A measuring hook is installed above it; for one real keystroke (SendInput)
// it calls CallNextHookEx many times with a chosen key, which runs the next hook in the
// chain, the plug-in's KeystrokeFilter or, for the baseline, a bare procedure that only
// calls CallNextHookEx itself. The plug-in exports nothing else, and the hook
// dispatch is part of what every keystroke costs the host.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench.h"
#include "inside_hook.h"
#include "key_typing.h"
#include "message_pump.h"
#include "plugin_host.h"
#include "typing_host.h"

using namespace tarnwick_test;
using tarnwick_bench::KeyDownFlags;
using tarnwick_bench::KeyUpFlags;
using tarnwick_bench::Now;
using tarnwick_bench::RunInsideHook;
using tarnwick_bench::Spread;
using tarnwick_bench::SpreadOf;

namespace {

LRESULT CALLBACK BareHook(int code, WPARAM key, LPARAM flags) {
    return CallNextHookEx(nullptr, code, key, flags);
}

// Seconds per call of the next hook with the given keystroke, one sample per batch of
// calls, all inside one real keystroke; the host's record is emptied between
// batches, outside the timed part, so that it does not grow without end.
void SampleNextHookCalls(WPARAM key, LPARAM flags, int batches, int calls, WORD held,
                         std::vector<double>* samples) {
    if (held)
        KeyDown(held);
    RunInsideHook([&] {
        for (int b = 0; b < batches; ++b) {
            double start = Now();
            for (int i = 0; i < calls; ++i)
                CallNextHookEx(nullptr, HC_ACTION, key, flags);
            samples->push_back((Now() - start) / calls);
            HostRecord_Clear();
        }
    });
    if (held)
        KeyUp(held);
}

void SampleBareHookCalls(WPARAM key, LPARAM flags, int batches, int calls, WORD held,
                         std::vector<double>* samples) {
    HHOOK bare = SetWindowsHookExA(WH_KEYBOARD, BareHook, nullptr, GetCurrentThreadId());
    SampleNextHookCalls(key, flags, batches, calls, held, samples);
    UnhookWindowsHookEx(bare);
}

// Four-letter codes AAAA, AAAB, ...: never the five-letter code that is looked up.
std::string Code(int index) {
    std::string code(4, 'A');
    for (int i = 3; i >= 0; --i, index /= 26)
        code[static_cast<size_t>(i)] = static_cast<char>('A' + index % 26);
    return code;
}

// A table of n entries spread over the module section 0, "全局" and "二次开发", with
// `last_global` as the last line of "全局" when given.
std::string TableOf(int n, const std::string& last_global = std::string()) {
    std::string sections[3] = {"[0]\r\n", "[全局]\r\n", "[二次开发]\r\n"};
    const char* scopes[3] = {"仅应用模块=0", "全局=全局", "二次开发=二次开发"};
    for (int i = 0; i < n; ++i)
        sections[i % 3] += Code(i) + "=BUTTON_" + std::to_string(i) + "=Command " +
                           std::to_string(i) + "=" + scopes[i % 3] + "\r\n";
    if (!last_global.empty())
        sections[1] += last_global + "=BTN_TARGET=Target=全局=全局\r\n";
    return "[MODE]\r\nMODE=1\r\n" + sections[0] + sections[1] + sections[2];
}

} // namespace

TARNWICK_BENCH_SECTION(bench_filter_per_key, "Keystroke filter per key, against a bare hook") {
    TypingHost host("bench_filter", TableOf(10));
    // Filter and bare hook take turns, a few batches each, so that a load that comes
    // and goes falls on both alike.
    const int turns = 20, batches = tarnwick_bench::MinSamples / turns, calls = 50;
    struct Kind {
        const char* what;
        WPARAM key;
        LPARAM flags;
        WORD held;
    } kinds[] = {
        {"pass-through, key release", 'A', KeyUpFlags('A'), 0},
        {"pass-through, F5", VK_F5, KeyDownFlags(VK_F5), 0},
        {"pass-through, A with Shift held", 'A', KeyDownFlags('A'), VK_SHIFT},
        {"pass-through, Esc on an empty code", VK_ESCAPE, KeyDownFlags(VK_ESCAPE), 0},
        {"taken, letter A in Space mode", 'A', KeyDownFlags('A'), 0},
    };
    printf("  per call, median (p95) of %d batches of %d calls\n", turns * batches, calls);
    for (const Kind& k : kinds) {
        std::vector<double> filter, bare;
        for (int t = 0; t < turns; ++t) {
            SampleNextHookCalls(k.key, k.flags, batches, calls, k.held, &filter);
            HostActions_Invoke("FENNOR_KEY_UNSET");
            SampleBareHookCalls(k.key, k.flags, batches, calls, k.held, &bare);
            HostActions_Invoke("FENNOR_KEY_SET");
        }
        Spread f = SpreadOf(filter), b = SpreadOf(bare);
        printf("  %-36s filter %6.2f (%6.2f) us  bare %5.2f (%5.2f) us  ratio %.2fx (%.2fx)\n",
               k.what, f.median * 1e6, f.p95 * 1e6, b.median * 1e6, b.p95 * 1e6,
               f.median / b.median, f.p95 / b.p95);
    }
}

// Two builds of the plug-in, this one and the one TARNWICK_BENCH_REFERENCE names (a
// Tarnwick.dll built from another tree), each loaded in turn into the same host, with
// the bare hook measured in every turn: a load that comes and goes falls on both builds
// alike, so even on a busy machine the two ratios can be told apart to a few hundredths.
TARNWICK_BENCH_SECTION(bench_filter_against_reference,
                       "Keystroke filter against another build (TARNWICK_BENCH_REFERENCE)") {
    char reference[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("TARNWICK_BENCH_REFERENCE", reference, sizeof reference);
    if (length == 0 || length >= sizeof reference) {
        printf("  TARNWICK_BENCH_REFERENCE is not set: skipped\n");
        return;
    }
    const std::string builds[2] = {reference, ProgramFolder() + "\\Tarnwick.dll"};
    ResetHost();
    DataFolder folder("bench_reference");
    folder.WriteStandardFiles(TableOf(10), "1");
    HWND window = HostWindow_Create("NX", nullptr);
    {
        KeySink sink("TarnwickKeySink", "", window);
        struct Kind {
            const char* what;
            WPARAM key;
            WORD held;
        } kinds[] = {
            {"pass-through, A with Shift held", 'A', VK_SHIFT},
            {"pass-through, Esc on an empty code", VK_ESCAPE, 0},
        };
        const int turns = 60, batches = 10, calls = 50;
        // One ratio per build, kind and turn; the builds take turns at going first.
        std::vector<double> ratios[2][2];
        for (int t = 0; t < turns; ++t) {
            for (int i = 0; i < 2; ++i) {
                int b = (t + i) % 2;
                PluginHost plugin;
                if (!plugin.Load(builds[b])) {
                    printf("  %s does not load\n", builds[b].c_str());
                    return;
                }
                plugin.StartUp();
                HostActions_Invoke("FENNOR_KEY_SET");
                sink.Focus();
                std::vector<double> filter[2], bare[2];
                for (int k = 0; k < 2; ++k)
                    SampleNextHookCalls(kinds[k].key, KeyDownFlags(static_cast<WORD>(kinds[k].key)),
                                        batches, calls, kinds[k].held, &filter[k]);
                HostActions_Invoke("FENNOR_KEY_UNSET");
                for (int k = 0; k < 2; ++k) {
                    SampleBareHookCalls(kinds[k].key, KeyDownFlags(static_cast<WORD>(kinds[k].key)),
                                        batches, calls, kinds[k].held, &bare[k]);
                    ratios[b][k].push_back(SpreadOf(filter[k]).median / SpreadOf(bare[k]).median);
                }
                plugin.Unload();
            }
        }
        printf("  reference %s\n  the median of %d turns' ratios, each of %d batches of %d calls\n",
               reference, turns, batches, calls);
        for (int k = 0; k < 2; ++k) {
            double before = SpreadOf(ratios[0][k]).median, after = SpreadOf(ratios[1][k]).median;
            printf("  %-36s reference %.2fx  this build %.2fx  difference %+.2fx\n", kinds[k].what,
                   before, after, after - before);
        }
    }
    HostWindow_Destroy();
}

TARNWICK_BENCH_SECTION(bench_lookup,
                       "Lookup of a code (miss, three reads) against three bare reads") {
    // Space mode, Space on an empty code: the last code, ZZZZZ, is looked up and found in
    // no section, so all three reads run (and the miss message is recorded).
    TypingHost host("bench_lookup", TableOf(10));
    TypeKeys("ZZZZZ");
    const std::string path = host.Folder().PathOf("button_id.ini");
    auto three_reads = [&] {
        char value[256];
        GetPrivateProfileStringA("0", "ZZZZZ", "应用模块没有", value, sizeof value, path.c_str());
        GetPrivateProfileStringA("全局", "ZZZZZ", "快捷键有误", value, sizeof value, path.c_str());
        GetPrivateProfileStringA("二次开发", "ZZZZZ", "二次开发没有", value, sizeof value,
                                 path.c_str());
    };
    printf("  per lookup, median (p95) of %d batches of 20 calls, taken in turn\n",
           tarnwick_bench::MinSamples);
    for (int n : {10, 100, 1000, 5000}) {
        host.Folder().Write("button_id.ini", TableOf(n));
        double waited = tarnwick_bench::SettleFile(path, three_reads);
        // All are measured inside one hook call, in short batches taken in turn.
        const int batch = 20;
        std::vector<double> lookup, filter_only, bare, fopen_test, create_test;
        auto sample = [&](std::vector<double>* samples, const std::function<void()>& fn) {
            double start = Now();
            for (int i = 0; i < batch; ++i)
                fn();
            samples->push_back((Now() - start) / batch);
        };
        RunInsideHook([&] {
            for (int r = 0; r < tarnwick_bench::MinSamples; ++r) {
                sample(&lookup, [] {
                    CallNextHookEx(nullptr, HC_ACTION, VK_SPACE, KeyDownFlags(VK_SPACE));
                });
                // The filter's own share: Esc on an empty code is judged, named, passed on.
                sample(&filter_only, [] {
                    CallNextHookEx(nullptr, HC_ACTION, VK_ESCAPE, KeyDownFlags(VK_ESCAPE));
                });
                sample(&bare, three_reads);
                // Two ways of testing that the table exists before reading it.
                sample(&fopen_test, [&] {
                    FILE* table = fopen(path.c_str(), "r");
                    if (table)
                        fclose(table);
                });
                sample(&create_test, [&] {
                    HANDLE table =
                        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
                    if (table != INVALID_HANDLE_VALUE)
                        CloseHandle(table);
                });
                HostRecord_Clear();
            }
        });
        Spread l = SpreadOf(lookup), f = SpreadOf(filter_only), b = SpreadOf(bare),
               o = SpreadOf(fopen_test), c = SpreadOf(create_test);
        printf("  %5d entries: via hook %6.1f (%6.1f) us, three reads %6.1f (%6.1f) us: "
               "%.2fx (%.2fx); less the filter's %4.1f us: %.2fx; existence test fopen %4.1f us, "
               "CreateFile %4.1f us; settled after %.1f s\n",
               n, l.median * 1e6, l.p95 * 1e6, b.median * 1e6, b.p95 * 1e6, l.median / b.median,
               l.p95 / b.p95, f.median * 1e6, (l.median - f.median) / b.median, o.median * 1e6,
               c.median * 1e6, waited);
        fflush(stdout);
    }
}

TARNWICK_BENCH_SECTION(bench_space_to_command,
                       "Space typed to WM_COMMAND at the host, 1000 entries") {
    TypingHost host("bench_latency", TableOf(1000, "QQQQ"));
    HostConfig_AddButton("BTN_TARGET", 901);
    const std::string path = host.Folder().PathOf("button_id.ini");
    tarnwick_bench::SettleFile(path, [&] {
        char value[256];
        GetPrivateProfileStringA("全局", "QQQQ", "", value, sizeof value, path.c_str());
    });
    const int runs = tarnwick_bench::MinSamples + 50;
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        TypeKeys("QQQQ");
        HostRecord_Clear();
        double start = Now();
        driving::SendKeyEvent(VK_SPACE, false);
        bool arrived = false;
        while (!arrived && Now() - start < 2.0) {
            driving::PumpMessages();
            HostEvent e;
            for (int k = 0; HostRecord_Get(k, &e); ++k)
                arrived = arrived || (e.kind == HOST_EV_COMMAND && e.value == 901);
        }
        if (arrived)
            seconds.push_back(Now() - start);
        KeyUp(VK_SPACE);
    }
    if (seconds.empty()) {
        printf("  no command arrived\n");
        return;
    }
    Spread s = SpreadOf(seconds);
    printf("  %zu of %d arrived: median %.2f ms  p95 %.2f ms  max %.2f ms\n", seconds.size(), runs,
           s.median * 1e3, s.p95 * 1e3, *std::max_element(seconds.begin(), seconds.end()) * 1e3);
}
