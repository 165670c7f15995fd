// The host's programming interface as the plug-in sees it: C linkage, the platform's
// default calling convention, narrow texts in the ANSI code page.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#if defined(UF_HOST_BUILDING)
#define UF_HOST_API __declspec(dllexport)
#else
#define UF_HOST_API __declspec(dllimport)
#endif

// libufun.dll
enum { UF_FAIL_MESSAGE_SIZE = 133 };
UF_HOST_API int UF_initialize(void);
UF_HOST_API int UF_terminate(void);
UF_HOST_API int UF_get_fail_message(int code, char message[UF_FAIL_MESSAGE_SIZE]);
UF_HOST_API int UF_UI_open_listing_window(void);
UF_HOST_API int UF_UI_write_listing_window(const char* text);
UF_HOST_API int UF_print_syslog(const char* text, int flag);
UF_HOST_API int UF_translate_variable(const char* name, char** value);
UF_HOST_API int UF_get_release(char** release);
UF_HOST_API void UF_free(void* data);
UF_HOST_API int UF_ask_application_module(int* module_id);
UF_HOST_API unsigned int UF_PART_ask_display_part(void);
UF_HOST_API int UF_load_library(const char* library_path, const char* symbol_name,
                                void (**function)(void));

// libugopenint.dll
typedef int (*UF_MB_callback_t)(void* widget, void* client_data, void* call_data);
typedef struct {
    const char* name;
    UF_MB_callback_t callback;
    void* client_data;
} UF_MB_action_t;

UF_HOST_API int UF_MB_add_actions(const UF_MB_action_t* table);
UF_HOST_API int UF_MB_ask_button_id(const char* button_name, int* button_id);
UF_HOST_API void* UF_UI_get_default_parent(void);
UF_HOST_API int UF_UI_set_status(const char* text);
UF_HOST_API int uc1601(const char* message, int flag);

// libugui.dll exports one function, reached only through UF_load_library under its
// decorated name; the host passes the path, a flag's address and the path's length.
#define UF_MACRO_PLAYBACK_SYMBOL "?MACRO_playback_from_usertool@@YAXPEBD@Z"
typedef void (*UF_macro_playback_t)(const char* macro_path, int* flag, int path_length);

#ifdef __cplusplus
}
#endif
