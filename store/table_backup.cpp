#include "table_backup.h"

#include <windows.h>

#include "file_replace.h"
#include "table_lines.h"
#include "write_report.h"

const char BackupFailedMessage[] =
    "无法备份快捷键表（button_id.ini.bak 写入失败），本次修改仍将保存。"
    "请检查 data 文件夹是否可写。";

namespace {

// Set at the first write of a session; a new load of the plug-in starts without it.
bool TableBackupTried = false;

} // namespace

std::string TableBackupPath(const char* table_path) {
    return std::string(table_path) + ".bak";
}

BackupOutcome BackUpTableBeforeFirstWrite(const char* table_path) {
    if (TableBackupTried)
        return BackupOutcome::NotDue;
    return BackUpTableNow(table_path);
}

BackupOutcome BackUpTableNow(const char* table_path) {
    TableBackupTried = true;
    if (!table_path || !*table_path)
        return BackupOutcome::NothingToCopy;
    std::string bytes;
    unsigned long error = ReadFileBytes(table_path, &bytes);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return BackupOutcome::NothingToCopy;
    if (error)
        return BackupOutcome::Failed;
    // An older copy is only ever replaced by a complete one.
    std::string backup = TableBackupPath(table_path);
    bool copied = ReplaceFileBytes(backup, bytes);
    ReportFileWrite(backup.c_str(),
                    ("copy of the table, " + std::to_string(bytes.size()) + " bytes").c_str(),
                    copied);
    return copied ? BackupOutcome::Copied : BackupOutcome::Failed;
}
