// Measuring inside a real keystroke: a job runs within the hook call of one F24 key, as
// the plug-in's filter runs within the host's, so the hook chain's own costs count.
#pragma once

#include <windows.h>

#include <functional>

namespace tarnwick_bench {

// The lParam of a first key-down of `vk`, and of its key-up.
LPARAM KeyDownFlags(WORD vk);
LPARAM KeyUpFlags(WORD vk);

// Runs `job` once, inside the hook call of one F24 keystroke typed to this thread.
void RunInsideHook(const std::function<void()>& job);

} // namespace tarnwick_bench
