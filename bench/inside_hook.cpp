#include "inside_hook.h"

#include "key_typing.h"

namespace tarnwick_bench {

namespace {

std::function<void()> JobInsideHook;

LRESULT CALLBACK MeasuringHook(int code, WPARAM key, LPARAM flags) {
    if (code == HC_ACTION && key == VK_F24 && !(flags & (1 << 30)) && JobInsideHook) {
        std::function<void()> job = JobInsideHook;
        JobInsideHook = nullptr;
        job();
        return 1;
    }
    return CallNextHookEx(nullptr, code, key, flags);
}

} // namespace

LPARAM KeyDownFlags(WORD vk) {
    return static_cast<LPARAM>(1 | (MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16));
}

LPARAM KeyUpFlags(WORD vk) {
    return KeyDownFlags(vk) | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
}

void RunInsideHook(const std::function<void()>& job) {
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, MeasuringHook, nullptr, GetCurrentThreadId());
    JobInsideHook = job;
    driving::KeyDown(VK_F24);
    driving::KeyUp(VK_F24);
    JobInsideHook = nullptr;
    UnhookWindowsHookEx(hook);
}

} // namespace tarnwick_bench
