#include "table_check.h"

#include <windows.h>

#include "entry_rules.h"

TableRead ReadTableNow(const char* table_path, TableLines* table) {
    *table = TableLines();
    if (!table_path || !*table_path)
        return TableRead::Missing;
    unsigned long error = ReadTableFile(table_path, table);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return TableRead::Missing;
    return error ? TableRead::Unreadable : TableRead::Read;
}

bool FileHoldsShortcut(const TableLines& table, const std::string& shortcut) {
    const std::string wanted = TrimProfileBlanks(shortcut);
    for (const TableLine& line : table.lines)
        if (IsListedSection(line) && IsKeyedLine(line) &&
            SameProfileName(TrimProfileBlanks(line.key), wanted))
            return true;
    return false;
}

StoredLineState FindStoredLine(const TableLines& table, const RowAddress& address) {
    const TableLine* found = FindTableKey(table, address.section, address.key, false);
    if (!found)
        return StoredLineState::NotAsListed;
    if (!found->addressable)
        return StoredLineState::Unaddressable;
    if (found->section != address.section || found->key != address.key ||
        found->has_value != address.has_value || found->value != address.value)
        return StoredLineState::NotAsListed;
    return StoredLineState::AsListed;
}
