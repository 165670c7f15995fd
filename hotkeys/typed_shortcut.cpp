#include "typed_shortcut.h"

#include <cstring>

TypedCode HostTypedCode;

void ClearTypedShortcutAfterLaunch(TypedCode& typed, KeystrokePort& port) {
    memset(typed.TypedShortcut, 0, sizeof typed.TypedShortcut);
    port.ShowStatus(typed.TypedShortcut);
}
