#include "shortcut_list.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "shortcut_store.h"
#include "typed_code_rules.h"

namespace {

struct ColumnHeading {
    const char* text;
    int width; // pixels
};

const ColumnHeading Headings[ColumnCount] = {
    {"快捷键", 50}, {"ID", 300}, {"功能", 80}, {"模块", 80}, {"备注", 50},
};

} // namespace

ShortcutRow RowOfLine(const char* section, const char* line) {
    ShortcutRow row;
    std::vector<std::string> pieces = SplitEntryLine(line);
    if (pieces.size() >= ColumnCount) {
        for (int i = 0; i < ColumnCount; ++i)
            row.column[i] = pieces[static_cast<size_t>(i)];
        return row;
    }
    const char* equals = strchr(line, '=');
    row.column[ShortcutColumn] =
        equals ? std::string(line, static_cast<size_t>(equals - line)) : line;
    if (equals) {
        std::vector<std::string> fields = SplitEntryLine(equals + 1);
        for (size_t i = 0; i < fields.size() && i < 3; ++i)
            row.column[ButtonColumn + i] = fields[i];
    }
    row.column[SectionColumn] = section;
    return row;
}

void InsertShortcutColumns(HWND list) {
    for (int i = 0; i < ColumnCount; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = Headings[i].width;
        column.pszText = const_cast<char*>(Headings[i].text);
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
}

void FillShortcutList(HWND list, const std::vector<ShortcutRow>& rows) {
    // One redraw for the whole list rather than one per row.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows.size()), 0);
    for (size_t i = 0; i < rows.size(); ++i)
        AppendRow(list, rows[i], static_cast<LPARAM>(i));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

int RowCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int FirstSelectedRow(HWND list) {
    return static_cast<int>(
        SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

std::string RowText(HWND list, int row, int column) {
    // The control copies at most size - 1 bytes and says how many: grow until a copy
    // comes back shorter than the buffer allows.
    std::vector<char> text(64);
    for (;;) {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        LRESULT got = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(&item));
        // Wine stops one byte early before a double-byte character that does not fit.
        if (got < 0 || static_cast<size_t>(got) + 2 < text.size())
            return std::string(text.data(), got > 0 ? static_cast<size_t>(got) : 0);
        text.assign(text.size() * 2, '\0');
    }
}

void SetRowText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int AppendRow(HWND list, const ShortcutRow& row, LPARAM data) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.lParam = data;
    item.iItem = RowCount(list);
    item.pszText = const_cast<char*>(row.column[ShortcutColumn].c_str());
    int index =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0)
        return index;
    for (int column = ButtonColumn; column < ColumnCount; ++column)
        SetRowText(list, index, column, row.column[column]);
    return index;
}

LPARAM RowData(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.lParam;
}

void DeleteRow(HWND list, int row) {
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

int FindShortcutRow(HWND list, const std::string& shortcut) {
    int count = RowCount(list);
    for (int row = 0; row < count; ++row)
        if (SameProfileName(RowText(list, row, ShortcutColumn), shortcut))
            return row;
    return -1;
}
