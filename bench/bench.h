// The benchmark program: each section registers itself and prints its own figures,
// as ratios against a bare baseline measured in the same run. Every figure is the
// median and the 95th percentile of at least MinSamples samples: the machine is
// shared, and a median with its p95 says both what is usual and what a user meets
// at worst but rarely.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tarnwick_bench {

struct Section {
    const char* name;
    void (*run)();
};

bool RegisterSection(const char* name, void (*run)());

const int MinSamples = 200;

// The performance counter, in seconds.
double Now();

struct Spread {
    double median;
    double p95;
    size_t samples;
};
Spread SpreadOf(std::vector<double> samples);

// Waits until reading a file just written costs its steady value. Wine's profile
// service parses a file afresh while its time stamp is young (for about two
// seconds), which makes every read of it several times dearer; the files the host
// reads in use were written long before. Waits for the file to be 3 s old, then
// until five reads in a row agree within a quarter. Returns the seconds waited.
double SettleFile(const std::string& path, const std::function<void()>& read);

} // namespace tarnwick_bench

#define TARNWICK_BENCH_SECTION(id, title)                                                          \
    static void id();                                                                              \
    static const bool id##_registered = ::tarnwick_bench::RegisterSection(title, id);              \
    static void id()
