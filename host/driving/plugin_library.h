// A host plug-in library loaded and called as the host does: LoadLibrary, then its
// entries by the names the host interface gives them.
#pragma once

#include <windows.h>

#include <string>

namespace driving {

// GetProcAddress with the function's own type; the detour through void (*)(void) is
// the cast the compiler accepts between unrelated function types.
template <typename F> F ProcAddress(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

// The start-up entry ufsta with an empty parameter; false when the library has none.
bool CallStartUp(HMODULE module, int* status);
// ufusr_ask_unload; false when the library has none.
bool CallAskUnload(HMODULE module, int* answer);
// ufusr_cleanup; false when the library has none.
bool CallCleanup(HMODULE module);

} // namespace driving
