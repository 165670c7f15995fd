// The lookup with a site table: a code found only in the site's local copy (the user's
// three sections miss, then the copy's module section misses and its 全局 holds it), and
// a code found in the user's table as without a site table, each against three bare
// reads of the user's table.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench.h"
#include "inside_hook.h"
#include "file_bytes.h"
#include "key_typing.h"
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

std::string Code(int index, char first) {
    std::string code(4, first);
    for (int i = 3; i >= 1; --i, index /= 26)
        code[static_cast<size_t>(i)] = static_cast<char>('A' + index % 26);
    return code;
}

// n entries over the module section 0, 全局 and 二次开发, codes starting with `first`;
// `target` as the last line of 全局.
std::string TableOf(int n, char first, const std::string& target) {
    std::string sections[3] = {"[0]\r\n", "[全局]\r\n", "[二次开发]\r\n"};
    const char* scopes[3] = {"仅应用模块=0", "全局=全局", "二次开发=二次开发"};
    for (int i = 0; i < n; ++i)
        sections[i % 3] += Code(i, first) + "=BUTTON_" + std::to_string(i) + "=Command " +
                           std::to_string(i) + "=" + scopes[i % 3] + "\r\n";
    sections[1] += target + "=BTN_TARGET=Target=全局=全局\r\n";
    return "[MODE]\r\nMODE=1\r\n" + sections[0] + sections[1] + sections[2];
}

} // namespace

TARNWICK_BENCH_SECTION(bench_site_lookup,
                       "Site table: lookup of a code in the site's copy or the user's table") {
    const std::string site_path = ProgramFolder() + "\\..\\scratch\\bench_site_share.ini";
    SetEnvironmentVariableA("TARNWICK_SITE_TABLE", site_path.c_str());
    driving::WriteFileBytes(site_path, TableOf(10, 'S', "QQQQ"));
    {
        TypingHost host("bench_site", TableOf(10, 'A', "PPPP"));
        HostConfig_AddButton("BTN_TARGET", 4242);
        const std::string user = host.Folder().PathOf("button_id.ini");
        const std::string copy = host.Folder().PathOf("site_button_id.ini");
        auto three_reads = [&] {
            char value[256];
            GetPrivateProfileStringA("0", "ZZZZZ", "应用模块没有", value, sizeof value,
                                     user.c_str());
            GetPrivateProfileStringA("全局", "ZZZZZ", "快捷键有误", value, sizeof value,
                                     user.c_str());
            GetPrivateProfileStringA("二次开发", "ZZZZZ", "二次开发没有", value, sizeof value,
                                     user.c_str());
        };
        printf("  per lookup (Space repeating the last code, hit and launch), median (p95) of "
               "%d batches of 20 calls, taken in turn\n",
               tarnwick_bench::MinSamples);
        for (int n : {10, 100, 1000, 5000}) {
            host.Folder().Write("button_id.ini", TableOf(n, 'A', "PPPP"));
            driving::WriteFileBytes(site_path, TableOf(n, 'S', "QQQQ"));
            // The copy follows the site's file at the switch-on.
            HostActions_Invoke("FENNOR_KEY_SET");
            host.Activate();
            double waited = tarnwick_bench::SettleFile(user, three_reads);
            tarnwick_bench::SettleFile(copy, [&] {
                char value[256];
                GetPrivateProfileStringA("全局", "QQQQ", "x", value, sizeof value, copy.c_str());
            });
            const int batch = 20;
            // Each kind is compared with the bare reads sampled beside it, in the same hook
            // call, so that a load that comes and goes falls on both alike.
            std::vector<double> site_hit, user_hit, bare_by_site, bare;
            auto sample = [&](std::vector<double>* samples, const std::function<void()>& fn) {
                double start = Now();
                for (int i = 0; i < batch; ++i)
                    fn();
                samples->push_back((Now() - start) / batch);
            };
            auto space = [] {
                CallNextHookEx(nullptr, HC_ACTION, VK_SPACE, KeyDownFlags(VK_SPACE));
            };
            // Space repeats the last code typed: each kind is typed once per turn outside
            // the clock, then looked up again and again inside one hook call.
            const int turns = 40, batches = tarnwick_bench::MinSamples / turns;
            for (int t = 0; t < turns; ++t) {
                TypeCode("QQQQ ");
                RunInsideHook([&] {
                    for (int i = 0; i < batches; ++i) {
                        sample(&site_hit, space);
                        sample(&bare_by_site, three_reads);
                    }
                });
                TypeCode("PPPP ");
                RunInsideHook([&] {
                    for (int i = 0; i < batches; ++i) {
                        sample(&user_hit, space);
                        sample(&bare, three_reads);
                    }
                });
                // The posted commands and the record are emptied outside the clock.
                PumpMessages();
                HostRecord_Clear();
            }
            Spread s = SpreadOf(site_hit), u = SpreadOf(user_hit), b = SpreadOf(bare),
                   bs = SpreadOf(bare_by_site);
            printf(
                "  %5d entries per table: site's copy %6.1f (%6.1f) us: %.2fx (%.2fx); user's "
                "table %6.1f (%6.1f) us: %.2fx (%.2fx); three reads %6.1f (%6.1f) / %6.1f (%6.1f) "
                "us; settled after %.1f s\n",
                n, s.median * 1e6, s.p95 * 1e6, s.median / bs.median, s.p95 / bs.p95,
                u.median * 1e6, u.p95 * 1e6, u.median / b.median, u.p95 / b.p95, bs.median * 1e6,
                bs.p95 * 1e6, b.median * 1e6, b.p95 * 1e6, waited);
            fflush(stdout);
        }
    }
    SetEnvironmentVariableA("TARNWICK_SITE_TABLE", nullptr);
    DeleteFileA(site_path.c_str());
}
