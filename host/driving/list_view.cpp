#include "list_view.h"

#include <commctrl.h>

namespace driving {

int ListRowCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int ListColumnCount(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    return columns < 1 ? 1 : columns;
}

std::string ListCell(HWND list, int row, int column) {
    char text[4096] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::vector<std::string>> ListRows(HWND list) {
    std::vector<std::vector<std::string>> rows;
    int columns = ListColumnCount(list);
    int count = ListRowCount(list);
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column)
            cells.push_back(ListCell(list, row, column));
        rows.push_back(cells);
    }
    return rows;
}

void ListSelectRows(HWND list, const std::vector<int>& rows, bool focused) {
    LVITEMA clear = {};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    for (int row : rows) {
        LVITEMA set = {};
        set.stateMask = focused ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
        set.state = set.stateMask;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&set));
    }
}

std::vector<int> ListSelectedRows(HWND list) {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                MAKELPARAM(LVNI_SELECTED, 0)))) >= 0)
        rows.push_back(row);
    return rows;
}

LRESULT SendListClick(HWND dialog, int id, int row, LRESULT unset) {
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = GetDlgItem(dialog, id);
    click.hdr.idFrom = static_cast<UINT_PTR>(id);
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, unset);
    SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&click));
    return GetWindowLongPtrA(dialog, DWLP_MSGRESULT);
}

bool DialogClickRow(HWND dialog, int id, int row) {
    HWND list = GetDlgItem(dialog, id);
    if (!list || row < 0 || row >= ListRowCount(list))
        return false;
    ListSelectRows(list, {row}, true);
    SendListClick(dialog, id, row);
    return true;
}

} // namespace driving
