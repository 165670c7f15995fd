// libugopenint.dll of the stand-in host: menu actions, button ids, the main window,
// the status line and the message box (uc1601: flag 0 the status line, 1 a modal box).
#define UF_HOST_BUILDING
#include <cstring>

#include "host_internal.h"

extern "C" {

int UF_MB_add_actions(const UF_MB_action_t* table) {
    if (!table)
        return 1;
    for (const UF_MB_action_t* row = table; row->name; ++row) {
        HostInternal_AddAction(row->name, row->callback, row->client_data);
        HostRecord_Add(HOST_EV_ADD_ACTION, 0, row->name, strlen(row->name));
    }
    return 0;
}

int UF_MB_ask_button_id(const char* button_name, int* button_id) {
    if (!button_name || !button_id)
        return 1;
    int id = 0;
    int found = HostInternal_ButtonId(button_name, &id);
    if (found)
        *button_id = id;
    HostRecord_Add(HOST_EV_BUTTON_ID, found ? id : 0, button_name, strlen(button_name));
    return found ? 0 : 1;
}

void* UF_UI_get_default_parent(void) {
    return HostWindow_Handle();
}

int UF_UI_set_status(const char* text) {
    if (!text)
        return 1;
    HostRecord_Add(HOST_EV_STATUS, 0, text, strlen(text));
    HostInternal_SetStatus(text);
    return 0;
}

int uc1601(const char* message, int flag) {
    if (!message)
        return 1;
    HostRecord_Add(HOST_EV_MESSAGE, flag, message, strlen(message));
    // Flag 0 is a status-line text: no box, no message loop.
    if (flag == 0) {
        HostInternal_SetStatus(message);
        return 0;
    }
    return HostInternal_ShowMessage(message);
}

} // extern "C"
