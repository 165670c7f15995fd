// The benchmark program: each section registers itself and prints its own figures,
// as ratios against a bare baseline measured in the same run.
#pragma once

#include <windows.h>

#include <functional>

namespace tarnwick_bench {

struct Section {
    const char* name;
    void (*run)();
};

bool RegisterSection(const char* name, void (*run)());

// The performance counter, in seconds.
double Now();

// Seconds per call of fn, over enough calls to take about the given time.
double SecondsPerCall(const std::function<void()>& fn, double budget_seconds = 0.5);

} // namespace tarnwick_bench

#define TARNWICK_BENCH_SECTION(id, title)                                                          \
    static void id();                                                                              \
    static const bool id##_registered = ::tarnwick_bench::RegisterSection(title, id);              \
    static void id()
