#include "keyboard_hook.h"

#include "host_message.h"
#include "keystroke_filter.h"
#include "trace.h"
#include "uf_host.h"

HHOOK KeyboardHook = nullptr;

void EnableShortcuts() {
    if (KeyboardHook) {
        HostMessage("当前已开启快捷键功能！", 1);
        return;
    }
    // A thread hook of the host's UI thread: keystrokes of other threads never reach it.
    KeyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeystrokeFilter, nullptr, GetCurrentThreadId());
    if (!KeyboardHook)
        Trace("keyboard hook not installed (system error %lu)", GetLastError());
    if (KeyboardHook)
        HostMessage("打开快捷键成功！", 1);
}

void DisableShortcuts() {
    if (!KeyboardHook) {
        HostMessage("当前快捷键处于未开启状态！", 1);
        return;
    }
    if (UnhookWindowsHookEx(KeyboardHook)) {
        KeyboardHook = nullptr;
        HostMessage("关闭快捷键成功！", 1);
    }
}

void RemoveKeyboardHookAtUnload() {
    if (!KeyboardHook)
        return;
    UnhookWindowsHookEx(KeyboardHook);
    // The library goes away whatever the answer: nothing may call into it any more.
    KeyboardHook = nullptr;
}
