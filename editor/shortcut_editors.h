// Every editor the define action makes, owned by the plug-in until unload.
#pragma once

class KEY_DLG;

extern KEY_DLG* ShortcutEditor; // the newest editor; null until the first

// FENNOR_KEY_DEFINE: makes a new editor and shows it.
void OpenShortcutEditor();
// Unload: destroys every editor made, not only the newest.
void DestroyAllShortcutEditors();
