#include "keyboard_hook.h"

#include "keystroke_filter.h"
#include "uf_host.h"

HHOOK KeyboardHook = nullptr;

void EnableShortcuts() {
    if (KeyboardHook) {
        uc1601("当前已开启快捷键功能！", 1);
        return;
    }
    // A thread hook of the host's UI thread: keystrokes of other threads never reach it.
    KeyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeystrokeFilter, nullptr, GetCurrentThreadId());
    if (KeyboardHook)
        uc1601("打开快捷键成功！", 1);
}

void DisableShortcuts() {
    if (!KeyboardHook) {
        uc1601("当前快捷键处于未开启状态！", 1);
        return;
    }
    if (UnhookWindowsHookEx(KeyboardHook)) {
        KeyboardHook = nullptr;
        uc1601("关闭快捷键成功！", 1);
    }
}

void RemoveKeyboardHookAtUnload() {
    if (!KeyboardHook)
        return;
    UnhookWindowsHookEx(KeyboardHook);
    // The library goes away whatever the answer: nothing may call into it any more.
    KeyboardHook = nullptr;
}
