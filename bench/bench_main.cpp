#include <algorithm>
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

// Seconds since the file was last written, by the system's clock.
double AgeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER written, current;
    written.LowPart = data.ftLastWriteTime.dwLowDateTime;
    written.HighPart = data.ftLastWriteTime.dwHighDateTime;
    current.LowPart = now.dwLowDateTime;
    current.HighPart = now.dwHighDateTime;
    return current.QuadPart > written.QuadPart
               ? static_cast<double>(current.QuadPart - written.QuadPart) / 1e7
               : 0;
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

Spread SpreadOf(std::vector<double> samples) {
    if (samples.empty())
        return {0, 0, 0};
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    // Nearest rank: the smallest sample with at least 95% of them at or below it.
    size_t rank = (95 * n + 99) / 100;
    return {samples[n / 2], samples[rank - 1], n};
}

double SettleFile(const std::string& path, const std::function<void()>& read) {
    const double min_age = 3.0, give_up = 15.0;
    double start = Now();
    double age = AgeOf(path);
    if (age < min_age)
        Sleep(static_cast<DWORD>((min_age - age) * 1000) + 1);
    std::vector<double> recent;
    while (Now() - start < give_up) {
        double t = Now();
        read();
        recent.push_back(Now() - t);
        if (recent.size() > 5)
            recent.erase(recent.begin());
        if (recent.size() == 5 && *std::max_element(recent.begin(), recent.end()) <=
                                      1.25 * *std::min_element(recent.begin(), recent.end()))
            break;
        Sleep(20);
    }
    return Now() - start;
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
