#include "keyboard_hook.h"

#include "host_message.h"
#include "keystroke_filter.h"
#include "trace.h"

HHOOK KeyboardHook = nullptr;

namespace {
enum { HostBox = 1 };
} // namespace

HookSwitch InstallKeyboardHook() {
    if (KeyboardHook) {
        HostMessage("当前已开启快捷键功能！", HostBox);
        return HookSwitch::AlreadySo;
    }
    // A thread hook of the host's UI thread: keystrokes of other threads never reach it.
    KeyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeystrokeFilter, nullptr, GetCurrentThreadId());
    if (!KeyboardHook)
        Trace("keyboard hook not installed (system error %lu)", GetLastError());
    return KeyboardHook ? HookSwitch::Switched : HookSwitch::Failed;
}

HookSwitch RemoveKeyboardHook() {
    if (!KeyboardHook) {
        HostMessage("当前快捷键处于未开启状态！", HostBox);
        return HookSwitch::AlreadySo;
    }
    if (!UnhookWindowsHookEx(KeyboardHook))
        return HookSwitch::Failed;
    KeyboardHook = nullptr;
    return HookSwitch::Switched;
}

void AnnounceShortcutsOn() {
    HostMessage("打开快捷键成功！", HostBox);
}

void AnnounceShortcutsOff() {
    HostMessage("关闭快捷键成功！", HostBox);
}

void EnableShortcuts() {
    if (InstallKeyboardHook() == HookSwitch::Switched)
        AnnounceShortcutsOn();
}

void RemoveKeyboardHookQuietly() {
    if (!KeyboardHook)
        return;
    UnhookWindowsHookEx(KeyboardHook);
    // The hook is given up whatever the answer: at unload nothing may call into the
    // library any more, and a switch-on that was not recorded must leave shortcuts off.
    KeyboardHook = nullptr;
}
