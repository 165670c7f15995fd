// libufun.dll of the stand-in host: answers from the core's configuration and records
// what it was asked.
#define UF_HOST_BUILDING
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host_internal.h"

namespace {

void Record(int kind, int value, const char* text) {
    HostRecord_Add(kind, value, text, text ? strlen(text) : 0);
}

} // namespace

extern "C" {

int UF_initialize(void) {
    int result = HostInternal_InitializeResult();
    Record(HOST_EV_INITIALIZE, result, nullptr);
    return result;
}

int UF_terminate(void) {
    int result = HostInternal_TerminateResult();
    Record(HOST_EV_TERMINATE, result, nullptr);
    return result;
}

int UF_get_fail_message(int code, char message[UF_FAIL_MESSAGE_SIZE]) {
    if (!message)
        return 1;
    snprintf(message, UF_FAIL_MESSAGE_SIZE, "Stand-in host error %d", code);
    Record(HOST_EV_FAIL_MESSAGE, code, message);
    return 0;
}

int UF_UI_open_listing_window(void) {
    Record(HOST_EV_LISTING_OPEN, 0, nullptr);
    return 0;
}

int UF_UI_write_listing_window(const char* text) {
    if (!text)
        return 1;
    Record(HOST_EV_LISTING, 0, text);
    return 0;
}

int UF_print_syslog(const char* text, int flag) {
    if (!text)
        return 1;
    Record(HOST_EV_SYSLOG, flag, text);
    return 0;
}

int UF_translate_variable(const char* name, char** value) {
    if (!value)
        return 1;
    const char* found = name ? HostInternal_Variable(name) : nullptr;
    *value = const_cast<char*>(found);
    Record(HOST_EV_VARIABLE, found ? 1 : 0, name);
    return 0;
}

int UF_get_release(char** release) {
    if (!release)
        return 1;
    const char* text = HostInternal_Release();
    size_t size = strlen(text) + 1;
    *release = static_cast<char*>(malloc(size));
    if (!*release)
        return 1;
    memcpy(*release, text, size);
    Record(HOST_EV_RELEASE, 0, text);
    return 0;
}

void UF_free(void* data) {
    free(data);
}

int UF_ask_application_module(int* module_id) {
    if (!module_id)
        return 1;
    *module_id = HostConfig_Module();
    Record(HOST_EV_MODULE, *module_id, nullptr);
    return 0;
}

unsigned int UF_PART_ask_display_part(void) {
    unsigned int tag = HostConfig_DisplayPart();
    Record(HOST_EV_DISPLAY_PART, static_cast<int>(tag), nullptr);
    return tag;
}

int UF_load_library(const char* library_path, const char* symbol_name, void (**function)(void)) {
    std::string text =
        std::string(library_path ? library_path : "") + "|" + (symbol_name ? symbol_name : "");
    int result = 1;
    if (library_path && symbol_name && function && HostInternal_LibraryLoads()) {
        HMODULE module = LoadLibraryA(library_path);
        if (module) {
            HostInternal_KeepLibrary(module);
            *function = reinterpret_cast<void (*)(void)>(GetProcAddress(module, symbol_name));
            result = 0;
        }
    }
    HostRecord_Add(HOST_EV_LOAD_LIBRARY, result, text.c_str(), text.size());
    return result;
}

} // extern "C"
