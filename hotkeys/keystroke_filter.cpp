#include "keystroke_filter.h"

#include <cstring>

#include "data_locations.h"
#include "host_message.h"
#include "keyboard_hook.h"
#include "keystroke_decision.h"
#include "keystroke_trace.h"
#include "macro_playback.h"
#include "plugin_module.h"
#include "shortcut_lookup.h"
#include "shortcut_store.h"
#include "trace.h"
#include "uf_host.h"

namespace {

enum { KeyEsc = 27 };

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

// The window system and the host, for one keystroke. Under Wine each question about
// the thread's input is a round trip to the wine server: the decision asks only what
// its rules need.
class HostPort final : public KeystrokePort {
  public:
    explicit HostPort(LPARAM flags) : flags_(flags) {}

    void ReadKeyState(BYTE (&state)[KeyStateSize]) override {
        // One read of the state that GetKeyState reads key by key.
        GetKeyboardState(state);
    }
    bool FocusIsOwn() override { return IsPluginWindow(Windows().focus); }
    void ReadFocusClass(char (&text)[FocusClassSize]) override {
        if (Windows().focus)
            GetClassNameA(Windows().focus, text, FocusClassSize);
    }
    void ReadForegroundTitle(char (&text)[ForegroundTitleSize]) override {
        // The title of another program's window is a call into the window system of
        // its own.
        if (Windows().foreground)
            GetWindowTextA(Windows().foreground, text, ForegroundTitleSize);
    }
    void ReadKeyName(char (&text)[KeyNameSize]) override {
        // The key-name call takes the keystroke flags as a 32-bit value.
        GetKeyNameTextA(static_cast<LONG>(flags_ & 0xFFFFFFFF), text, KeyNameSize - 1);
    }
    void Decided(KeystrokeRule rule, const KeystrokeFacts& facts) override {
        if (TraceOn)
            TraceKeystroke(rule, facts);
    }

    void ShowStatus(const char* text) override { UF_UI_set_status(text); }
    void ShowMessage(const char* text, int flag) override { HostMessage(text, flag); }
    void Wait(DWORD milliseconds) override { Sleep(milliseconds); }
    void LookUp(LookupVariant variant) override {
        ShortcutLookup(HostTypedCode, variant, ShortcutTablePath, SiteCopyPath, *this);
    }
    int ApplicationModule() override {
        int module_id = 0;
        UF_ask_application_module(&module_id);
        return module_id;
    }
    HWND MainWindow() override { return static_cast<HWND>(UF_UI_get_default_parent()); }
    int ButtonId(const char* button_name) override {
        int button_id = 0;
        UF_MB_ask_button_id(button_name, &button_id);
        return button_id;
    }
    bool PostCommand(HWND window, int command_id) override {
        return PostMessageA(window, WM_COMMAND,
                            static_cast<WPARAM>(static_cast<INT_PTR>(command_id)), 0) != 0;
    }
    int PlayMacro(const char* button_name) override { return MacroPlayback(button_name); }

  private:
    struct FocusAndForeground {
        HWND focus;
        HWND foreground;
    };

    // The focus of this thread and the foreground window. The foreground window is the
    // active window of the foreground thread; when that thread is this one, its focus
    // is this thread's focus, and one question to the window system answers both.
    const FocusAndForeground& Windows() {
        if (!windows_known_) {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            if (GetGUIThreadInfo(0, &info) && info.hwndActive &&
                GetWindowThreadProcessId(info.hwndActive, nullptr) == GetCurrentThreadId())
                windows_ = {info.hwndFocus, info.hwndActive};
            else
                windows_ = {GetFocus(), GetForegroundWindow()};
            windows_known_ = true;
        }
        return windows_;
    }

    LPARAM flags_;
    bool windows_known_ = false;
    FocusAndForeground windows_ = {};
};

} // namespace

LRESULT CALLBACK KeystrokeFilter(int code, WPARAM wParam, LPARAM lParam) {
    KeystrokeVerdict verdict = KeystrokeVerdict::PassOn;
    try {
        HostPort port(lParam);
        verdict = DecideKeystroke(code, wParam, lParam, SpaceMode, HostTypedCode, port);
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
