#include "keystroke_filter.h"

#include <cstring>

#include "keyboard_hook.h"
#include "host_message.h"
#include "keystroke_decision.h"
#include "keystroke_trace.h"
#include "plugin_module.h"
#include "shortcut_lookup.h"
#include "trace.h"
#include "uf_host.h"

namespace {

void ShowStatus(const char* text) {
    UF_UI_set_status(text);
}
void ShowMessage(const char* text, int flag) {
    HostMessage(text, flag);
}
void Wait(DWORD milliseconds) {
    Sleep(milliseconds);
}

const KeystrokeEffects HostEffects = {ShowStatus, ShowMessage, ShortcutLookup, Wait};

enum { KeyEsc = 27 };

struct FocusAndForeground {
    HWND focus;
    HWND foreground;
};

// The focus of this thread and the foreground window. The foreground window is the
// active window of the foreground thread; when that thread is this one, its focus is
// this thread's focus, and one question to the window system answers both.
FocusAndForeground FindFocusAndForeground() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(0, &info) && info.hwndActive &&
        GetWindowThreadProcessId(info.hwndActive, nullptr) == GetCurrentThreadId())
        return {info.hwndFocus, info.hwndActive};
    return {GetFocus(), GetForegroundWindow()};
}

// A window of the plug-in's own: the editor or one of its controls, a box the editor
// owns, or a box shown while one of the plug-in's handlers runs. A box made by
// MessageBoxA carries no instance of the plug-in's, so its owners and the running
// handler tell.
bool IsPluginWindow(HWND window) {
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (!root || !PluginModule())
        return false;
    for (HWND w = root; w; w = GetWindow(w, GW_OWNER))
        if (reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(w, GWLP_HINSTANCE)) == PluginModule())
            return true;
    if (!PluginHandlerRunning())
        return false;
    char root_class[8] = {};
    GetClassNameA(root, root_class, sizeof root_class);
    return strcmp(root_class, "#32770") == 0;
}

// Facts are gathered cheapest first, and a keystroke that the facts so far already pass
// on goes on without the dearer ones: every pass-through rule ends alike and none has an
// effect. Every key release and repeat is decided by the hook's own arguments; the key
// state and the windows are a call into the window system each.
// Where there is no window, or a call fails, the text stays empty and matches nothing.
// True when the keystroke passes on the facts so far.
bool PassesWhileGathering(Keystroke& k) {
    if (PassesByArguments(k))
        return true;
    // One read of the state that GetKeyState reads key by key.
    GetKeyboardState(k.key_state);
    if (PassesByKeyState(k))
        return true;
    FocusAndForeground windows = FindFocusAndForeground();
    k.focus_is_own = IsPluginWindow(windows.focus);
    if (windows.focus)
        GetClassNameA(windows.focus, k.focus_class, FocusClassSize);
    k.focus_class[ClassNameCut] = '\0';
    // The title of another program's window is a call into the window system of its own.
    if (PassesByFocus(k))
        return true;
    if (windows.foreground)
        GetWindowTextA(windows.foreground, k.foreground_title, ForegroundTitleSize);
    if (PassesByForeground(k))
        return true;
    // The key-name call takes the keystroke flags as a 32-bit value.
    GetKeyNameTextA(static_cast<LONG>(k.flags & 0xFFFFFFFF), k.key_name, KeyNameSize - 1);
    return false;
}

} // namespace

LRESULT CALLBACK KeystrokeFilter(int code, WPARAM wParam, LPARAM lParam) {
    Keystroke k = {};
    k.code = code;
    k.key = wParam;
    k.flags = lParam;
    // An offer of the keystroke being decided needs no facts: it is swallowed.
    if (!IsOfferedAgain(k) && PassesWhileGathering(k)) {
        if (TraceOn)
            TracePassedKeystroke(k);
        return CallNextHookEx(KeyboardHook, code, wParam, lParam);
    }

    KeystrokeVerdict verdict = KeystrokeVerdict::PassOn;
    try {
        verdict = TraceOn ? DecideAndTrace(k, HostEffects) : DecideKeystroke(k, HostEffects);
    } catch (...) {
        // Nothing may unwind into the system's hook dispatch; the key goes on.
    }
    switch (verdict) {
    case KeystrokeVerdict::Swallow:
        return 1;
    case KeystrokeVerdict::PassOnAsEsc:
        return CallNextHookEx(KeyboardHook, code, KeyEsc, lParam);
    case KeystrokeVerdict::PassOn:
        break;
    }
    return CallNextHookEx(KeyboardHook, code, wParam, lParam);
}
