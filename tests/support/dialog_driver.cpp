#include "dialog_driver.h"

#include <commctrl.h>

#include "host_core.h"

namespace tarnwick_test {

const char EditorCaption[] = "快捷键设置";

namespace {

BOOL CALLBACK CollectEditor(HWND window, LPARAM found) {
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (lstrcmpA(caption, EditorCaption) == 0 && GetDlgItem(window, ShortcutListId))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> EditorWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectEditor, reinterpret_cast<LPARAM>(&found));
    return found;
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
    char text[4096] = {};
    GetDlgItemTextA(dialog_, id, text, sizeof text);
    return text;
}

void EditorDriver::SetText(int id, const std::string& text) const {
    SetDlgItemTextA(dialog_, id, text.c_str());
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
    LRESULT index =
        SendDlgItemMessageA(dialog_, ScopeComboId, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(scope.c_str()));
    SendDlgItemMessageA(dialog_, ScopeComboId, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void EditorDriver::Click(int id) const {
    SendMessageA(Item(id), BM_CLICK, 0, 0);
}

int EditorDriver::RowCount() const {
    return static_cast<int>(SendMessageA(Item(ShortcutListId), LVM_GETITEMCOUNT, 0, 0));
}

std::string EditorDriver::Cell(int row, int column) const {
    char text[4096] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(Item(ShortcutListId), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<ListRow> EditorDriver::Rows() const {
    std::vector<ListRow> rows;
    for (int row = 0; row < RowCount(); ++row) {
        ListRow cells;
        for (int column = 0; column < 5; ++column)
            cells.push_back(Cell(row, column));
        rows.push_back(cells);
    }
    return rows;
}

void EditorDriver::SelectRows(std::initializer_list<int> rows) const {
    HWND list = Item(ShortcutListId);
    LVITEMA clear = {};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    for (int row : rows) {
        LVITEMA set = {};
        set.stateMask = LVIS_SELECTED;
        set.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&set));
    }
}

std::vector<int> EditorDriver::SelectedRows() const {
    std::vector<int> rows;
    HWND list = Item(ShortcutListId);
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                MAKELPARAM(LVNI_SELECTED, 0)))) >= 0)
        rows.push_back(row);
    return rows;
}

LRESULT EditorDriver::ClickList(int row) const {
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = Item(ShortcutListId);
    click.hdr.idFrom = ShortcutListId;
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, 12345);
    SendMessageA(dialog_, WM_NOTIFY, ShortcutListId, reinterpret_cast<LPARAM>(&click));
    return GetWindowLongPtrA(dialog_, DWLP_MSGRESULT);
}

} // namespace tarnwick_test
