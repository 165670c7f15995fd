#include "plugin_library.h"

namespace driving {

bool CallStartUp(HMODULE module, int* status) {
    using Ufsta = void (*)(char*, int*, int);
    Ufsta ufsta = ProcAddress<Ufsta>(module, "ufsta");
    if (!ufsta)
        return false;
    char param[1] = {};
    ufsta(param, status, 0);
    return true;
}

bool CallAskUnload(HMODULE module, int* answer) {
    using AskUnload = int (*)(void);
    AskUnload ask = ProcAddress<AskUnload>(module, "ufusr_ask_unload");
    if (!ask)
        return false;
    *answer = ask();
    return true;
}

bool CallCleanup(HMODULE module) {
    using Cleanup = void (*)(void);
    Cleanup cleanup = ProcAddress<Cleanup>(module, "ufusr_cleanup");
    if (!cleanup)
        return false;
    cleanup();
    return true;
}

} // namespace driving
