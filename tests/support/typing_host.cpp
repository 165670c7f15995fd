#include "typing_host.h"

#include <map>

namespace tarnwick_test {

namespace {

using driving::InputSettleMs;

struct SinkState {
    std::vector<WPARAM> key_downs;
    int chars = 0;
};

std::map<HWND, SinkState>& Sinks() {
    static std::map<HWND, SinkState> sinks;
    return sinks;
}

LRESULT CALLBACK SinkProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Sinks()[hwnd].key_downs.push_back(wparam);
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        Sinks()[hwnd].chars++;
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // Kept from DefWindowProc: an Alt release would start the system menu's loop.
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wparam, lparam);
}

} // namespace

void TypeCode(const std::string& keys) {
    TypeKeys(keys);
    PumpMessages(20);
}

KeySink::KeySink(const char* class_name, const char* title, HWND parent) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SinkProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = class_name;
    RegisterClassA(&wc); // fails harmlessly when already registered
    DWORD style = parent ? (WS_CHILD | WS_VISIBLE) : (WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    hwnd_ = CreateWindowExA(0, class_name, title, style, 10, 10, 200, 100, parent, nullptr,
                            wc.hInstance, nullptr);
    Sinks()[hwnd_] = SinkState();
    Focus();
}

KeySink::~KeySink() {
    Sinks().erase(hwnd_);
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

void KeySink::Focus() const {
    HWND top = GetAncestor(hwnd_, GA_ROOT);
    ShowWindow(top, SW_SHOWNORMAL);
    SetForegroundWindow(top);
    SetFocus(hwnd_);
    PumpMessages(InputSettleMs);
}

const std::vector<WPARAM>& KeySink::KeyDowns() const {
    return Sinks()[hwnd_].key_downs;
}
int KeySink::CharCount() const {
    return Sinks()[hwnd_].chars;
}
void KeySink::Clear() {
    Sinks()[hwnd_] = SinkState();
}

TypingHost::TypingHost(const std::string& folder_name, const std::string& table,
                       const std::string& check1, bool switch_on,
                       const std::function<void(DataFolder&)>& prepare) {
    ResetHost();
    folder_.reset(new DataFolder(folder_name));
    folder_->WriteStandardFiles(table, check1);
    window_ = HostWindow_Create("NX", nullptr);
    sink_.reset(new KeySink("TarnwickKeySink", "", window_));
    if (prepare)
        prepare(*folder_);
    if (plugin_.Load()) {
        plugin_.StartUp();
        if (switch_on)
            HostActions_Invoke("FENNOR_KEY_SET");
    }
    PumpMessages(InputSettleMs);
    HostRecord_Clear();
}

TypingHost::~TypingHost() {
    plugin_.Unload();
    HostConfig_SetMessageCallback(nullptr);
    sink_.reset();
    HostWindow_Destroy();
    PumpMessages(InputSettleMs);
    folder_.reset();
}

void TypingHost::Activate() {
    sink_->Focus();
}

std::string Table(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace tarnwick_test
