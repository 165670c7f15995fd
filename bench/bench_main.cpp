#include <cstdio>
#include <cstring>
#include <vector>

#include "bench.h"

namespace tarnwick_bench {

namespace {
std::vector<Section>& Sections() {
    static std::vector<Section> sections;
    return sections;
}

} // namespace

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool RegisterSection(const char* name, void (*run)()) {
    Sections().push_back({name, run});
    return true;
}

double SecondsPerCall(const std::function<void()>& fn, double budget_seconds) {
    fn(); // warm up caches and the file system
    long calls = 1;
    for (;;) {
        double start = Now();
        for (long i = 0; i < calls; ++i)
            fn();
        double elapsed = Now() - start;
        if (elapsed >= budget_seconds || calls >= (1L << 30))
            return elapsed / static_cast<double>(calls);
        calls = elapsed > 0.001
                    ? static_cast<long>(static_cast<double>(calls) * budget_seconds / elapsed) + 1
                    : calls * 10;
    }
}

} // namespace tarnwick_bench

// Runs every section, or only those whose title contains the first argument.
int main(int argc, char** argv) {
    const char* filter = argc > 1 ? argv[1] : nullptr;
    for (const tarnwick_bench::Section& s : tarnwick_bench::Sections()) {
        if (filter && !strstr(s.name, filter))
            continue;
        printf("== %s\n", s.name);
        fflush(stdout);
        s.run();
    }
    return 0;
}
