// Placeholder until the editor dialog lands.
#include "shortcut_editors.h"

KEY_DLG* ShortcutEditor = nullptr;

void OpenShortcutEditor() {}
void DestroyAllShortcutEditors() {}
