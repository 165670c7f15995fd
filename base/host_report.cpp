#include "host_report.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "trace.h"
#include "uf_host.h"

namespace {
const char SourceName[] = "Tarnwick";
enum { ListingTextMax = 1000 };
} // namespace

int ReportUfError(int line, const char* call_text, int code) {
    if (code == 0)
        return 0;
    char message[UF_FAIL_MESSAGE_SIZE] = {};
    UF_get_fail_message(code, message);
    message[UF_FAIL_MESSAGE_SIZE - 1] = '\0';
    ListingPrintf("*** ERROR code %d at line %d in %s:\n", code, line, SourceName);
    ListingPrintf("+++ %s\n", message);
    ListingPrintf("%s;\n", call_text);
    return code;
}

void ListingPrintf(const char* format, ...) {
    char text[ListingTextMax + 1] = {};
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // The trace quotes the text without the line end that ends a listing piece.
    size_t length = strlen(text);
    if (length > 0 && text[length - 1] == '\n')
        --length;
    Trace("listing \"%.*s\"", static_cast<int>(length), text);
    // The listing window is opened for every piece: the user may have closed it.
    UF_UI_open_listing_window();
    UF_UI_write_listing_window(text);
    UF_print_syslog(text, 0);
}
