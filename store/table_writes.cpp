#include "table_writes.h"

#include <windows.h>

#include "file_replace.h"
#include "table_backup.h"
#include "table_lines.h"
#include "write_report.h"

namespace {

// The copy due before a write. Without a table found at start-up nothing is copied or
// written: the platform would take the bare name for a file of the Windows folder.
TableWrite BeginWrite(const char* table_path, bool whole_file = false) {
    TableWrite write;
    if (table_path && *table_path)
        write.backup_failed =
            (whole_file ? BackUpTableNow(table_path) : BackUpTableBeforeFirstWrite(table_path)) ==
            BackupOutcome::Failed;
    return write;
}

bool IsKeyedLine(const TableLine& line) {
    return line.kind == LineKind::Entry || line.kind == LineKind::NoEquals;
}

// The file's lines with `key` under the headers of `section`; first_header_only limits
// them to the lines under its first header, the only one the profile service writes.
template <typename Visit>
void ForKeyLines(const TableLines& table, const char* section, const char* key,
                 bool first_header_only, Visit visit) {
    for (const TableLine& line : table.lines) {
        if (line.section_line == 0 || !IsKeyedLine(line) ||
            (first_header_only && line.section_occurrence != 1) ||
            !SameProfileName(line.section, section) || !SameProfileName(line.key, key))
            continue;
        if (!visit(line))
            return;
    }
}

bool HoldsValue(const char* table_path, const char* section, const char* key, const char* value) {
    TableLines table;
    if (ReadTableFile(table_path, &table) != 0)
        return false;
    bool holds = false;
    ForKeyLines(table, section, key, true, [&](const TableLine& line) {
        // The first line with the key is the one every reader finds.
        holds = line.has_value && line.value == value;
        return false;
    });
    return holds;
}

bool HoldsKey(const char* table_path, const char* section, const char* key, bool* holds) {
    TableLines table;
    unsigned long error = ReadTableFile(table_path, &table);
    if (error == ERROR_FILE_NOT_FOUND) {
        *holds = false;
        return true;
    }
    if (error)
        return false;
    *holds = false;
    ForKeyLines(table, section, key, false, [&](const TableLine&) {
        *holds = true;
        return false;
    });
    return true;
}

} // namespace

TableWrite WriteTableEntry(const char* table_path, const char* section, const char* key,
                           const char* value) {
    TableWrite write = BeginWrite(table_path);
    if (!table_path || !*table_path)
        return write;
    write.written = WritePrivateProfileStringA(section, key, value, table_path) &&
                    HoldsValue(table_path, section, key, value);
    ReportFileWrite(table_path, ("[" + std::string(section) + "] " + key + "=" + value).c_str(),
                    write.written);
    return write;
}

TableWrite RemoveTableEntry(const char* table_path, const char* section, const char* key) {
    TableWrite write = BeginWrite(table_path);
    if (!table_path || !*table_path)
        return write;
    bool holds = true;
    write.written = WritePrivateProfileStringA(section, key, nullptr, table_path) &&
                    HoldsKey(table_path, section, key, &holds) && !holds;
    ReportFileWrite(table_path, ("[" + std::string(section) + "] " + key + " removed").c_str(),
                    write.written);
    return write;
}

TableWrite ReplaceTableBytes(const char* table_path, const std::string& bytes) {
    TableWrite write = BeginWrite(table_path, true);
    if (!table_path || !*table_path)
        return write;
    std::string now;
    write.written =
        ReplaceFileBytes(table_path, bytes) && ReadFileBytes(table_path, &now) == 0 && now == bytes;
    ReportFileWrite(table_path, ("whole file, " + std::to_string(bytes.size()) + " bytes").c_str(),
                    write.written);
    return write;
}
