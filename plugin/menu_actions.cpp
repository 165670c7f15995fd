#include "menu_actions.h"

#include "data_locations.h"
#include "shortcut_editors.h"
#include "host_message.h"
#include "keyboard_hook.h"
#include "plugin_module.h"
#include "shortcut_store.h"
#include "table_backup.h"
#include "uf_host.h"

namespace {

// The first write of a session copies the table; a copy that failed is told once.
void RecordShortcutsEnabled(int on) {
    if (WriteShortcutsEnabledSetting(ShortcutTablePath, on).backup_failed)
        HostMessage(BackupFailedMessage, 1);
}

int SetShortcutsAction(void*, void*, void*) {
    EnableShortcuts();
    // Written in every case, so the next start-up tries again even after a failure.
    RecordShortcutsEnabled(1);
    return 0;
}

int UnsetShortcutsAction(void*, void*, void*) {
    DisableShortcuts();
    RecordShortcutsEnabled(0);
    return 0;
}

int DefineShortcutsAction(void*, void*, void*) {
    // The editor is a top-level window of its own, as the host shows a plug-in's dialog.
    OpenShortcutEditor(PluginModule(), nullptr);
    return 0;
}

// The host keeps a pointer to this table for as long as the plug-in is loaded.
const UF_MB_action_t MenuActionTable[] = {
    {"FENNOR_KEY_SET", SetShortcutsAction, nullptr},
    {"FENNOR_KEY_UNSET", UnsetShortcutsAction, nullptr},
    {"FENNOR_KEY_DEFINE", DefineShortcutsAction, nullptr},
    {nullptr, nullptr, nullptr},
};

} // namespace

void RegisterMenuActions() {
    UF_MB_add_actions(MenuActionTable);
}

void RestoreEnabledState() {
    if (ReadShortcutsEnabledSetting(ShortcutTablePath))
        EnableShortcuts();
}
