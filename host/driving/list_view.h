// Reading and clicking a dialog's report list view from outside: its rows and cells,
// its selection, and the click notification the control sends its dialog.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace driving {

int ListRowCount(HWND list);
// The number of header columns (1 for a list without a header).
int ListColumnCount(HWND list);
std::string ListCell(HWND list, int row, int column);
// Every row, one text per column.
std::vector<std::vector<std::string>> ListRows(HWND list);

// Leaves exactly these rows selected; `focused` also moves the focus mark to them.
void ListSelectRows(HWND list, const std::vector<int>& rows, bool focused = false);
std::vector<int> ListSelectedRows(HWND list);

// Sends the dialog the NM_CLICK notification its list control `id` sends for a mouse
// click on `row` (-1: below the rows). Returns the result the dialog procedure left
// in DWLP_MSGRESULT, or `unset` when it left none.
LRESULT SendListClick(HWND dialog, int id, int row, LRESULT unset = 0);
// Selects the row and sends the click, as a mouse click on it does. False when the
// list or the row does not exist.
bool DialogClickRow(HWND dialog, int id, int row);

} // namespace driving
