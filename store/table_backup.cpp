#include "table_backup.h"

#include <windows.h>

#include <cstdio>

#include "file_replace.h"
#include "table_lines.h"
#include "write_report.h"

const char BackupFailedMessage[] =
    "无法备份快捷键表（button_id.ini.bak 写入失败），本次修改仍将保存。"
    "请检查 data 文件夹是否可写。";

namespace {

// Set at the first write of a session; a new load of the plug-in starts without it.
bool TableBackupTried = false;

enum class Generation { Missing, Sound, NotSound, InTheWay };

Generation GenerationAt(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Generation::Missing;
    // A folder (or a file that cannot be read) in a copy's place is not moved aside:
    // the user put it there.
    std::string bytes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || ReadFileBytes(path.c_str(), &bytes) != 0)
        return Generation::InTheWay;
    return IsSoundTable(bytes) ? Generation::Sound : Generation::NotSound;
}

// The generation the new copy frees: the first missing one; else, for a table that is not
// sound, the newest copy that is not sound either; else the oldest.
int GenerationToFree(const Generation (&generations)[BackupGenerations], bool sound) {
    for (int i = 0; i < BackupGenerations; ++i)
        if (generations[i] == Generation::Missing)
            return i;
    if (!sound)
        for (int i = 0; i < BackupGenerations; ++i)
            if (generations[i] == Generation::NotSound)
                return i;
    return BackupGenerations - 1;
}

} // namespace

std::string TableBackupPath(const char* table_path, int generation) {
    std::string path = std::string(table_path) + ".bak";
    if (generation > 0) {
        char suffix[16];
        snprintf(suffix, sizeof suffix, ".%d", generation);
        path += suffix;
    }
    return path;
}

bool IsSoundTable(const std::string& bytes) {
    return DetectTableEncoding(bytes) == TableEncoding::Gbk &&
           bytes.find('\0') == std::string::npos && IsValidGbk(bytes.data(), bytes.size());
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

    std::string paths[BackupGenerations];
    Generation generations[BackupGenerations];
    for (int i = 0; i < BackupGenerations; ++i) {
        paths[i] = TableBackupPath(table_path, i);
        generations[i] = GenerationAt(paths[i]);
    }
    std::string newest;
    if (generations[0] != Generation::Missing && ReadFileBytes(paths[0].c_str(), &newest) == 0 &&
        newest == bytes)
        return BackupOutcome::Copied;
    const int freed = GenerationToFree(generations, IsSoundTable(bytes));
    for (int i = 0; i <= freed; ++i)
        if (generations[i] == Generation::InTheWay)
            return BackupOutcome::Failed;

    // The copy is whole on disk before any older one moves: a failure on the way leaves
    // every older copy where it was.
    const std::string fresh = paths[0] + ".new";
    std::string written;
    if (!WriteFreshFile(paths[0], bytes))
        return BackupOutcome::Failed;
    if (ReadFileBytes(fresh.c_str(), &written) != 0 || written != bytes) {
        DeleteFileA(fresh.c_str());
        return BackupOutcome::Failed;
    }
    bool moved = generations[freed] == Generation::Missing || DeleteFileA(paths[freed].c_str());
    for (int i = freed - 1; moved && i >= 0; --i)
        moved = MoveFileExA(paths[i].c_str(), paths[i + 1].c_str(), 0) != 0;
    const bool copied =
        moved && MoveFileExA(fresh.c_str(), paths[0].c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!copied)
        DeleteFileA(fresh.c_str());
    ReportFileWrite(paths[0].c_str(),
                    ("copy of the table, " + std::to_string(bytes.size()) + " bytes").c_str(),
                    copied);
    return copied ? BackupOutcome::Copied : BackupOutcome::Failed;
}
