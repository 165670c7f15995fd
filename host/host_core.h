// The stand-in host's core: the configuration its three interface libraries answer
// from, the ordered record of what the plug-in asked of them, the registered menu
// actions and the host main window. Tests and the host shell drive it; the interface
// libraries (libufun, libugopenint, libugui) are thin fronts over it.
#pragma once

#include <stddef.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(HOST_CORE_BUILDING)
#define HOST_CORE_API __declspec(dllexport)
#else
#define HOST_CORE_API __declspec(dllimport)
#endif

// What the record holds, in the order it happened.
typedef enum {
    HOST_EV_INITIALIZE = 1, // UF_initialize; value = result given
    HOST_EV_TERMINATE,      // UF_terminate; value = result given
    HOST_EV_FAIL_MESSAGE,   // UF_get_fail_message; value = code, text = message given
    HOST_EV_LISTING_OPEN,   // UF_UI_open_listing_window
    HOST_EV_LISTING,        // UF_UI_write_listing_window; text
    HOST_EV_SYSLOG,         // UF_print_syslog; text, value = flag
    HOST_EV_VARIABLE,       // UF_translate_variable; text = name, value = 1 when defined
    HOST_EV_RELEASE,        // UF_get_release; text = release given
    HOST_EV_MODULE,         // UF_ask_application_module; value = module given
    HOST_EV_DISPLAY_PART,   // UF_PART_ask_display_part; value = tag given
    HOST_EV_LOAD_LIBRARY,   // UF_load_library; text = "path|symbol", value = result
    HOST_EV_ADD_ACTION,     // UF_MB_add_actions, one per row; text = name
    HOST_EV_BUTTON_ID,      // UF_MB_ask_button_id; text = name, value = id given (0: none)
    HOST_EV_STATUS,         // UF_UI_set_status; text
    HOST_EV_MESSAGE,        // uc1601; text, value = flag
    HOST_EV_PLAYBACK,       // macro playback; text = the macro file's bytes, value = flag
    HOST_EV_PLAYBACK_PATH,  // macro playback; text = path given, value = path length given
    HOST_EV_COMMAND,        // host button run from WM_COMMAND; value = id, text = name
    HOST_EV_CUSTOM_COMMAND, // custom button run by playback; text = name
    HOST_EV_ACTION,         // menu action chosen; text = name, value = callback result
    HOST_EV_NOTE,           // free text added by the host shell or a test
} HostEventKind;

typedef struct {
    int kind;
    int value;
    const char* text; // zero-terminated; valid until HostRecord_Clear
    size_t length;    // bytes of text, without the terminator
} HostEvent;

HOST_CORE_API int HostRecord_Get(int index, HostEvent* event);
HOST_CORE_API void HostRecord_Clear(void);
HOST_CORE_API void HostRecord_Add(int kind, int value, const char* text, size_t length);
HOST_CORE_API const char* HostRecord_KindName(int kind);
// Called after every addition to the record, on the thread that made it, with the new
// event (valid for the call only); the host shell mirrors its listing window and
// command log from it. NULL removes the observer.
typedef void (*HostRecordObserver)(const HostEvent* event);
HOST_CORE_API void HostRecord_SetObserver(HostRecordObserver observer);

// Configuration. HostConfig_Reset restores the defaults: initialise and terminate
// succeed, release "NX 12.0.2", variables from the process environment, module 0,
// no displayed part, no buttons, libraries load, uc1601's box records and returns at once;
// the libraries UF_load_library loaded are released.
HOST_CORE_API void HostConfig_Reset(void);
HOST_CORE_API void HostConfig_SetInitializeResult(int result);
HOST_CORE_API void HostConfig_SetTerminateResult(int result);
HOST_CORE_API void HostConfig_SetRelease(const char* release);
// value NULL makes the variable undefined whatever the environment holds.
HOST_CORE_API void HostConfig_SetVariable(const char* name, const char* value);
HOST_CORE_API void HostConfig_SetModule(int module_id);
HOST_CORE_API int HostConfig_Module(void);
HOST_CORE_API void HostConfig_SetDisplayPart(unsigned int tag);
HOST_CORE_API unsigned int HostConfig_DisplayPart(void);
HOST_CORE_API void HostConfig_AddButton(const char* name, int id);
HOST_CORE_API const char* HostConfig_ButtonName(int id); // NULL when no button has the id
HOST_CORE_API void HostConfig_SetLibraryLoads(int loads);
// uc1601 with flag 1, the host's modal box: 0 records it and returns at once; 1 shows a
// real modal message box. Flag 0 always writes the status line and returns at once.
HOST_CORE_API void HostConfig_SetInteractiveMessages(int interactive);
// Called inside uc1601's box (flag 1) after the record, as a real box would run the
// thread's message loop while open; lets a test type keys while a message is up.
typedef void (*HostMessageCallback)(const char* text, int flag);
HOST_CORE_API void HostConfig_SetMessageCallback(HostMessageCallback callback);

// Menu actions registered through UF_MB_add_actions.
HOST_CORE_API int HostActions_Count(void);
HOST_CORE_API const char* HostActions_Name(int index);
// Runs the callback bound to the name as the host does when its menu item is chosen;
// returns -1 when no action of that name is registered.
HOST_CORE_API int HostActions_Invoke(const char* name);
HOST_CORE_API void HostActions_Clear(void);

// The host main window: a top-level window with a status line. It runs the host
// buttons whose ids reach it as WM_COMMAND (recorded as HOST_EV_COMMAND), and
// UF_UI_get_default_parent answers with it. A command id that names no button goes to
// the given handler (the host shell's own menus) or, without one, is recorded with an
// empty name.
typedef void (*HostShellCommand)(int id);
HOST_CORE_API HWND HostWindow_Create(const char* title, HostShellCommand shell_command);
HOST_CORE_API HWND HostWindow_Handle(void);
HOST_CORE_API void HostWindow_Destroy(void);
HOST_CORE_API const char* HostWindow_StatusText(void);

#ifdef __cplusplus
}
#endif
