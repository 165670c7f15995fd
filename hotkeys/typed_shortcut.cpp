#include "typed_shortcut.h"

#include <cstring>

#include "uf_host.h"

char TypedShortcut[TypedShortcutSize];
char LastShortcut[TypedShortcutSize];

void ResetTypedShortcut() {
    UF_UI_set_status("");
    memset(TypedShortcut, 0, sizeof TypedShortcut);
}

void ClearTypedShortcutAfterLaunch() {
    memset(TypedShortcut, 0, sizeof TypedShortcut);
    UF_UI_set_status(TypedShortcut);
}
