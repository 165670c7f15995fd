// The editor's list of table lines: a report list view of five columns. Each row's item
// data is the index of its line's address, which the dialog keeps (row_addresses.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum ListColumn {
    ShortcutColumn = 0, // the key the user types
    ButtonColumn = 1,   // the host button to run
    CommandColumn = 2,  // the user's description
    ScopeColumn = 3,    // the scope text chosen when the line was written
    SectionColumn = 4,  // the fifth field as stored; rows find their line by their address
    ColumnCount = 5,
};

struct ShortcutRow {
    std::string column[ColumnCount];
};

// The row a stored line shows as: its first five fields by the tokenising rule. A line
// with fewer fields (an empty field, no "=" at all) shows its key in column 0 and the
// section it was read from in column 4; columns 1 to 3 take the fields of the value it
// has, empty where it has none.
ShortcutRow RowOfLine(const char* section, const char* line);

// Sets up the five columns.
void InsertShortcutColumns(HWND list);
// Replaces every row by these, in order; row i carries the data i.
void FillShortcutList(HWND list, const std::vector<ShortcutRow>& rows);

int RowCount(HWND list);
int FirstSelectedRow(HWND list);                     // -1: none
std::string RowText(HWND list, int row, int column); // the whole text
void SetRowText(HWND list, int row, int column, const std::string& text);
int AppendRow(HWND list, const ShortcutRow& row, LPARAM data);
LPARAM RowData(HWND list, int row);
void DeleteRow(HWND list, int row);

// The first row whose column 0 equals the text, ignoring letter case as the profile
// service does when it matches keys; -1: none.
int FindShortcutRow(HWND list, const std::string& shortcut);
