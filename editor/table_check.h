// The file check every change makes first: the table as it is at that moment, not the
// list, which a second editor or a hand edit may have left behind.
#pragma once

#include <string>

#include "row_addresses.h"
#include "table_lines.h"

enum class TableRead {
    Read,
    Missing,    // no file (or no table found at start-up): an empty table
    Unreadable, // held by another program, no access: nothing can be checked
};

TableRead ReadTableNow(const char* table_path, TableLines* table);

// Whether any listed section holds the shortcut as a key, both trimmed, letter case
// ignored.
bool FileHoldsShortcut(const TableLines& table, const std::string& shortcut);

enum class StoredLineState {
    AsListed,      // the one line with the row's section and key, unchanged
    NotAsListed,   // gone, or changed since the list was read
    Unaddressable, // its key or its section's header now occurs twice
};

StoredLineState FindStoredLine(const TableLines& table, const RowAddress& address);
