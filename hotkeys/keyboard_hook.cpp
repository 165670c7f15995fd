// Placeholder until the keystroke filter lands: shortcuts cannot be switched on yet.
#include "keyboard_hook.h"

#include "typed_shortcut.h"

HHOOK KeyboardHook = nullptr;
char TypedShortcut[TypedShortcutSize];
char LastShortcut[TypedShortcutSize];
int SpaceMode = 0;

void EnableShortcuts() {}
void DisableShortcuts() {}
void RemoveKeyboardHookAtUnload() {}
