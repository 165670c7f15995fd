#include "menu_actions.h"

#include <cstdio>

#include "code_page_check.h"
#include "data_locations.h"
#include "host_message.h"
#include "keyboard_hook.h"
#include "plugin_module.h"
#include "shortcut_editors.h"
#include "shortcut_store.h"
#include "site_table.h"
#include "uf_host.h"

namespace {

enum { HostBox = 1, MessageSize = 1024 };

// The first %s is the table's full path, the second why it could not be written.
const char SwitchOnNotRecorded[] = "无法把开启状态写入快捷键表 %s（%s），快捷键保持关闭。"
                                   "请检查 TARNWICK_DIR 和该文件后再试。";
const char SwitchOffNotRecorded[] = "快捷键已关闭，但无法把关闭状态写入快捷键表 %s（%s），"
                                    "NX 下次启动时会重新开启快捷键。请检查该文件后再试。";
const char FileUnwritable[] = "文件不存在、只读或被其他程序占用";
const char FileNotGbk[] = "文件不是 GBK 文本，插件不写入这样的文件";
const char FileLocked[] = "另一个 NX 会话正在写入该文件";

// The table's full path; when it was not found at start-up, where it was looked for.
void TablePathForMessage(char* path, size_t size) {
    if (ShortcutTablePath[0]) {
        snprintf(path, size, "%s", ShortcutTablePath);
        return;
    }
    // Asked first, so that an unset variable brings no second box of its own.
    char* defined = nullptr;
    UF_translate_variable("TARNWICK_DIR", &defined);
    char root[DataPathSize] = {};
    if (defined && ReadInstallRoot(root))
        snprintf(path, size, "%s\\data\\button_id.ini", root);
    else
        snprintf(path, size, "%%TARNWICK_DIR%%\\data\\button_id.ini");
}

void ShowNotRecorded(const char* format, const TableWrite& write) {
    char path[DataPathSize + 64] = {};
    TablePathForMessage(path, sizeof path);
    const char* reason = write.not_gbk        ? FileNotGbk
                         : write.lock_timeout ? FileLocked
                                              : FileUnwritable;
    char message[MessageSize] = {};
    snprintf(message, sizeof message, format, path, reason);
    HostMessage(message, HostBox);
}

// MODE, written and read back. The first write of a session copies the table; a copy
// that failed is told once, so is what to do with a table that is not GBK text, and a
// lock held by another session every time. A write that failed for another reason is
// told by the caller, with the table's path.
bool RecordShortcutsEnabled(int on, TableWrite* write) {
    *write = WriteShortcutsEnabledSetting(ShortcutTablePath, on);
    if (const char* notice = TableWriteNotice(*write))
        HostMessage(notice, HostBox);
    return write->written;
}

int SetShortcutsAction(void*, void*, void*) {
    if (!ProcessCodePageIsGbk()) {
        ShowForeignCodePage();
        return 0;
    }
    RefreshSiteTable("switch-on");
    HookSwitch installed = InstallKeyboardHook();
    // Written in every case, so the next start-up tries again even after a failure.
    TableWrite write;
    bool recorded = RecordShortcutsEnabled(1, &write);
    if (installed != HookSwitch::Switched)
        return 0;
    if (recorded) {
        AnnounceShortcutsOn();
    } else {
        // Shortcuts that were on now but off at the next start would surprise the user;
        // they stay off until MODE can be recorded.
        RemoveKeyboardHookQuietly();
        ShowNotRecorded(SwitchOnNotRecorded, write);
    }
    return 0;
}

int UnsetShortcutsAction(void*, void*, void*) {
    if (!ProcessCodePageIsGbk()) {
        ShowForeignCodePage();
        return 0;
    }
    HookSwitch removed = RemoveKeyboardHook();
    TableWrite write;
    bool recorded = RecordShortcutsEnabled(0, &write);
    if (removed != HookSwitch::Switched)
        return 0;
    if (recorded)
        AnnounceShortcutsOff();
    else
        ShowNotRecorded(SwitchOffNotRecorded, write);
    return 0;
}

int DefineShortcutsAction(void*, void*, void*) {
    // Every change in the editor writes the table.
    if (!ProcessCodePageIsGbk()) {
        ShowForeignCodePage();
        return 0;
    }
    RefreshSiteTable("the editor's opening");
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
