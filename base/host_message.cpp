#include "host_message.h"

#include "trace.h"
#include "uf_host.h"

void HostMessage(const char* text, int flag) {
    // Before the call: a box runs a message loop, and what happens while it is open
    // comes after it in the trace.
    Trace("message flag=%d \"%s\"", flag, text);
    uc1601(text, flag);
}

void HostStatusMessage(const char* text) {
    Trace("status \"%s\"", text);
    UF_UI_set_status(text);
}
