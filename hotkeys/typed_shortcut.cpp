#include "typed_shortcut.h"

#include <cstring>

#include "uf_host.h"

char TypedShortcut[TypedShortcutSize];
char LastShortcut[TypedShortcutSize];

void ClearTypedShortcutAfterLaunch() {
    memset(TypedShortcut, 0, sizeof TypedShortcut);
    UF_UI_set_status(TypedShortcut);
}
