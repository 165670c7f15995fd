// State shared by the stand-in host's libraries: configuration, the ordered record,
// the registered menu actions and the host main window. One thread uses it (the
// host's user-interface thread), as on the real host.
#include "host_core.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "host_internal.h"
#include "uf_host.h"

namespace {

struct RecordedEvent {
    int kind;
    int value;
    std::string text;
};

struct Button {
    std::string name;
    int id;
};

struct Action {
    std::string name;
    UF_MB_callback_t callback;
    void* client_data;
};

struct Variable {
    bool defined;
    std::string value;
};

struct HostState {
    std::vector<RecordedEvent> record;
    int initialize_result = 0;
    int terminate_result = 0;
    std::string release = "NX 12.0.2";
    std::map<std::string, Variable> variables;
    int module_id = 0;
    unsigned int display_part = 0;
    std::vector<Button> buttons;
    bool library_loads = true;
    std::vector<HMODULE> loaded_libraries; // by UF_load_library, released by a reset
    bool interactive_messages = false;
    HostMessageCallback message_callback = nullptr;
    std::vector<Action> actions;
    HWND window = nullptr;
    HWND status = nullptr;
    HostShellCommand shell_command = nullptr;
    std::string status_text;
    HostRecordObserver observer = nullptr;
};

HostState& State() {
    static HostState state;
    return state;
}

const char* const kWindowClass = "TarnwickStandInHost";

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    HostState& s = State();
    switch (msg) {
    case WM_COMMAND: {
        // A control's notification (edit changes and the like) names its window in
        // lparam; menu choices and posted button ids carry none.
        if (lparam != 0)
            return 0;
        int id = static_cast<int>(LOWORD(wparam));
        const char* name = HostConfig_ButtonName(static_cast<int>(wparam));
        if (name) {
            HostRecord_Add(HOST_EV_COMMAND, static_cast<int>(wparam), name, strlen(name));
        } else if (s.shell_command) {
            s.shell_command(id);
        } else {
            HostRecord_Add(HOST_EV_COMMAND, static_cast<int>(wparam), "", 0);
        }
        return 0;
    }
    case WM_SIZE:
        if (s.status) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            MoveWindow(s.status, 0, rc.bottom - 22, rc.right, 22, TRUE);
        }
        return 0;
    case WM_DESTROY:
        if (s.window == hwnd) {
            s.window = nullptr;
            s.status = nullptr;
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wparam, lparam);
}

} // namespace

extern "C" {

int HostRecord_Get(int index, HostEvent* event) {
    HostState& s = State();
    if (!event || index < 0 || index >= static_cast<int>(s.record.size()))
        return 0;
    const RecordedEvent& e = s.record[static_cast<size_t>(index)];
    event->kind = e.kind;
    event->value = e.value;
    event->text = e.text.c_str();
    event->length = e.text.size();
    return 1;
}

void HostRecord_Clear(void) {
    State().record.clear();
}

void HostRecord_Add(int kind, int value, const char* text, size_t length) {
    HostState& s = State();
    s.record.push_back({kind, value, text ? std::string(text, length) : std::string()});
    if (s.observer) {
        // A copy: the observer may add to the record, which moves its elements.
        RecordedEvent added = s.record.back();
        HostEvent event = {added.kind, added.value, added.text.c_str(), added.text.size()};
        s.observer(&event);
    }
}

void HostRecord_SetObserver(HostRecordObserver observer) {
    State().observer = observer;
}

const char* HostRecord_KindName(int kind) {
    switch (kind) {
    case HOST_EV_INITIALIZE:
        return "initialize";
    case HOST_EV_TERMINATE:
        return "terminate";
    case HOST_EV_FAIL_MESSAGE:
        return "fail-message";
    case HOST_EV_LISTING_OPEN:
        return "listing-open";
    case HOST_EV_LISTING:
        return "listing";
    case HOST_EV_SYSLOG:
        return "syslog";
    case HOST_EV_VARIABLE:
        return "variable";
    case HOST_EV_RELEASE:
        return "release";
    case HOST_EV_MODULE:
        return "module";
    case HOST_EV_DISPLAY_PART:
        return "display-part";
    case HOST_EV_LOAD_LIBRARY:
        return "load-library";
    case HOST_EV_ADD_ACTION:
        return "add-action";
    case HOST_EV_BUTTON_ID:
        return "button-id";
    case HOST_EV_STATUS:
        return "status";
    case HOST_EV_MESSAGE:
        return "message";
    case HOST_EV_PLAYBACK:
        return "playback";
    case HOST_EV_PLAYBACK_PATH:
        return "playback-path";
    case HOST_EV_COMMAND:
        return "command";
    case HOST_EV_CUSTOM_COMMAND:
        return "custom-command";
    case HOST_EV_ACTION:
        return "action";
    case HOST_EV_NOTE:
        return "note";
    }
    return "unknown";
}

void HostConfig_Reset(void) {
    HostState& s = State();
    s.initialize_result = 0;
    s.terminate_result = 0;
    s.release = "NX 12.0.2";
    s.variables.clear();
    s.module_id = 0;
    s.display_part = 0;
    s.buttons.clear();
    s.library_loads = true;
    // A reset starts a new host session: the libraries loaded for the last one go, so
    // that no earlier test's library is still in the process.
    for (HMODULE module : s.loaded_libraries)
        FreeLibrary(module);
    s.loaded_libraries.clear();
    s.interactive_messages = false;
    s.message_callback = nullptr;
}

void HostConfig_SetInitializeResult(int result) {
    State().initialize_result = result;
}
void HostConfig_SetTerminateResult(int result) {
    State().terminate_result = result;
}
void HostConfig_SetRelease(const char* release) {
    State().release = release ? release : "";
}

void HostConfig_SetVariable(const char* name, const char* value) {
    if (!name)
        return;
    State().variables[name] = value ? Variable{true, value} : Variable{false, std::string()};
}

void HostConfig_SetModule(int module_id) {
    State().module_id = module_id;
}
int HostConfig_Module(void) {
    return State().module_id;
}
void HostConfig_SetDisplayPart(unsigned int tag) {
    State().display_part = tag;
}
unsigned int HostConfig_DisplayPart(void) {
    return State().display_part;
}

void HostConfig_AddButton(const char* name, int id) {
    if (name)
        State().buttons.push_back({name, id});
}

const char* HostConfig_ButtonName(int id) {
    for (const Button& b : State().buttons)
        if (b.id == id)
            return b.name.c_str();
    return nullptr;
}

void HostConfig_SetLibraryLoads(int loads) {
    State().library_loads = loads != 0;
}
void HostConfig_SetInteractiveMessages(int interactive) {
    State().interactive_messages = interactive != 0;
}
void HostConfig_SetMessageCallback(HostMessageCallback callback) {
    State().message_callback = callback;
}

int HostActions_Count(void) {
    return static_cast<int>(State().actions.size());
}

const char* HostActions_Name(int index) {
    HostState& s = State();
    if (index < 0 || index >= static_cast<int>(s.actions.size()))
        return nullptr;
    return s.actions[static_cast<size_t>(index)].name.c_str();
}

int HostActions_Invoke(const char* name) {
    if (!name)
        return -1;
    // Copied out first: a callback may register or clear actions.
    std::vector<Action> actions = State().actions;
    for (const Action& a : actions) {
        if (a.name == name) {
            int result = a.callback ? a.callback(nullptr, a.client_data, nullptr) : 0;
            HostRecord_Add(HOST_EV_ACTION, result, name, strlen(name));
            return result;
        }
    }
    return -1;
}

void HostActions_Clear(void) {
    State().actions.clear();
}

HWND HostWindow_Create(const char* title, HostShellCommand shell_command) {
    HostState& s = State();
    if (s.window)
        return s.window;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc); // fails harmlessly when already registered
    s.shell_command = shell_command;
    s.window = CreateWindowExA(0, kWindowClass, title ? title : "NX", WS_OVERLAPPEDWINDOW, 40, 40,
                               900, 600, nullptr, nullptr, instance, nullptr);
    if (!s.window)
        return nullptr;
    s.status = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 0,
                               0, 0, 0, s.window, nullptr, instance, nullptr);
    RECT rc;
    GetClientRect(s.window, &rc);
    MoveWindow(s.status, 0, rc.bottom - 22, rc.right, 22, TRUE);
    SetWindowTextA(s.status, s.status_text.c_str());
    return s.window;
}

HWND HostWindow_Handle(void) {
    return State().window;
}

void HostWindow_Destroy(void) {
    HostState& s = State();
    if (s.window)
        DestroyWindow(s.window);
    s.window = nullptr;
    s.status = nullptr;
    s.shell_command = nullptr;
}

const char* HostWindow_StatusText(void) {
    return State().status_text.c_str();
}

} // extern "C"

// Internal to the stand-in libraries (declared in host_internal.h).
extern "C" {

int HostInternal_InitializeResult(void) {
    return State().initialize_result;
}
int HostInternal_TerminateResult(void) {
    return State().terminate_result;
}
const char* HostInternal_Release(void) {
    return State().release.c_str();
}

const char* HostInternal_Variable(const char* name) {
    HostState& s = State();
    auto it = s.variables.find(name);
    if (it != s.variables.end())
        return it->second.defined ? it->second.value.c_str() : nullptr;
    // The environment's value is copied into the table so the text the host hands
    // out stays valid for the life of the process, as the contract promises.
    DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0)
        return nullptr;
    std::string value(needed, '\0');
    DWORD got = GetEnvironmentVariableA(name, &value[0], needed);
    value.resize(got);
    Variable& cached = s.variables[name];
    cached = {true, value};
    return cached.value.c_str();
}

int HostInternal_ButtonId(const char* name, int* id) {
    for (const Button& b : State().buttons) {
        if (b.name == name) {
            *id = b.id;
            return 1;
        }
    }
    return 0;
}

int HostInternal_LibraryLoads(void) {
    return State().library_loads ? 1 : 0;
}

void HostInternal_KeepLibrary(HMODULE module) {
    State().loaded_libraries.push_back(module);
}

void HostInternal_AddAction(const char* name, UF_MB_callback_t callback, void* client_data) {
    HostState& s = State();
    for (Action& a : s.actions) {
        if (a.name == name) {
            a.callback = callback;
            a.client_data = client_data;
            return;
        }
    }
    s.actions.push_back({name, callback, client_data});
}

void HostInternal_SetStatus(const char* text) {
    HostState& s = State();
    s.status_text = text;
    if (s.status)
        SetWindowTextA(s.status, text);
}

int HostInternal_ShowMessage(const char* text) {
    HostState& s = State();
    if (s.message_callback)
        s.message_callback(text, 1);
    if (s.interactive_messages)
        MessageBoxA(s.window, text, "NX", MB_OK | MB_ICONINFORMATION);
    return 0;
}

} // extern "C"
