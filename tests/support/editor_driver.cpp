#include "editor_driver.h"

#include "dialog_controls.h"
#include "host_core.h"
#include "list_view.h"

namespace tarnwick_test {

const char EditorCaption[] = "快捷键设置";

std::vector<HWND> EditorWindows() {
    std::vector<HWND> editors;
    for (HWND window : driving::ThreadWindowsWithCaption(EditorCaption))
        if (GetDlgItem(window, ShortcutListId))
            editors.push_back(window);
    return editors;
}

EditorDriver EditorDriver::OpenNew() {
    std::vector<HWND> before = EditorWindows();
    HostActions_Invoke("FENNOR_KEY_DEFINE");
    for (HWND window : EditorWindows()) {
        bool known = false;
        for (HWND old : before)
            known = known || old == window;
        if (!known)
            return EditorDriver(window);
    }
    return EditorDriver(nullptr);
}

std::string EditorDriver::Text(int id) const {
    return driving::DialogText(dialog_, id);
}

void EditorDriver::SetText(int id, const std::string& text) const {
    driving::DialogSetText(dialog_, id, text);
}

void EditorDriver::SetFields(const std::string& shortcut, const std::string& button_name,
                             const std::string& command_text) const {
    SetText(ShortcutEditId, shortcut);
    SetText(ButtonNameEditId, button_name);
    SetText(CommandEditId, command_text);
}

std::string EditorDriver::Scope() const {
    return Text(ScopeComboId);
}

void EditorDriver::SelectScope(const std::string& scope) const {
    driving::DialogSelectString(dialog_, ScopeComboId, scope);
}

void EditorDriver::Click(int id) const {
    driving::DialogClick(dialog_, id);
}

int EditorDriver::RowCount() const {
    return driving::ListRowCount(Item(ShortcutListId));
}

std::vector<ListRow> EditorDriver::Rows() const {
    return driving::ListRows(Item(ShortcutListId));
}

void EditorDriver::SelectRows(std::initializer_list<int> rows) const {
    driving::ListSelectRows(Item(ShortcutListId), rows);
}

std::vector<int> EditorDriver::SelectedRows() const {
    return driving::ListSelectedRows(Item(ShortcutListId));
}

// A sentinel in DWLP_MSGRESULT shows whether the dialog answered the notification.
LRESULT EditorDriver::ClickList(int row) const {
    return driving::SendListClick(dialog_, ShortcutListId, row, 12345);
}

} // namespace tarnwick_test
