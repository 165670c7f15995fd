#include "table_writes.h"

#include <windows.h>

#include <vector>

#include "file_replace.h"
#include "table_backup.h"
#include "table_lines.h"
#include "table_lock.h"
#include "write_report.h"

const char NotGbkNotice[] =
    "快捷键表 button_id.ini 不是 GBK 编码（可能被文本编辑器保存成了 UTF-8 或 UTF-16），"
    "本工具不会写入它，文件保持原样，快捷键的开关状态也不会被记住。"
    "请用文本编辑器把它另存为 GBK（ANSI）编码；"
    "UTF-8 的表也可以打开快捷键编辑器（快捷键设置），同意把它转换为 GBK。";
const char LockTimeoutNotice[] =
    "快捷键表 button_id.ini 正被另一个 NX 会话写入，等待 5 秒后仍无法写入，"
    "本次操作没有保存，文件没有改变。请稍后再试。";
const char OthersChangedNotice[] =
    "快捷键表已写入，但表中其他的行与写入前不一致（另一个程序同时修改了它，"
    "或表中有无法保持的字节）。本次会话第一次改动前的表保存在 button_id.ini.bak，"
    "更早的副本在 button_id.ini.bak.1 至 button_id.ini.bak.4。";

namespace {

// Told once a session: the same table stays as it is until the user acts.
bool NotGbkTold = false;

enum class Backup { None, FirstOfSession, Now };

// A line as every reader sees it: through the process's code page, as the profile
// service reads the file, with names folded and the value as a read returns it.
struct ReaderLine {
    LineKind kind;
    std::string section;
    int occurrence;
    std::string key;
    std::string value;
    bool has_value;

    bool operator==(const ReaderLine& o) const {
        return kind == o.kind && section == o.section && occurrence == o.occurrence &&
               key == o.key && value == o.value && has_value == o.has_value;
    }
};

std::string ThroughCodePage(const std::string& bytes) {
    if (bytes.empty() || bytes.size() > 0x3FFFFFFF)
        return bytes;
    int size = static_cast<int>(bytes.size());
    int wide_size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (wide_size <= 0)
        return bytes;
    std::wstring wide(static_cast<size_t>(wide_size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &wide[0], wide_size);
    int out = WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
    if (out <= 0)
        return bytes;
    std::string text(static_cast<size_t>(out), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_size, &text[0], out, nullptr, nullptr);
    return text;
}

// The readers' lines other than the key's lines under the section; blank lines, which
// the profile service may drop or add, are left out.
std::vector<ReaderLine> OtherLines(const std::string& bytes, const std::string& section,
                                   const std::string& key, bool* has_section) {
    TableLines table = ReadTableLines(ThroughCodePage(bytes));
    const std::string folded_section = FoldProfileName(section);
    const std::string folded_key = FoldProfileName(key);
    std::vector<ReaderLine> lines;
    lines.reserve(table.lines.size());
    for (const TableLine& line : table.lines) {
        if (line.kind == LineKind::Blank)
            continue;
        ReaderLine seen{line.kind,
                        FoldProfileName(line.section),
                        line.section_occurrence,
                        FoldProfileName(line.key),
                        line.has_value ? ProfileValueOf(line.value) : std::string(),
                        line.has_value};
        const bool in_section = line.section_line != 0 && seen.section == folded_section;
        if (in_section && line.kind == LineKind::Section)
            *has_section = true;
        if (in_section && line.kind != LineKind::Section && seen.key == folded_key)
            continue;
        lines.push_back(std::move(seen));
    }
    return lines;
}

// The write as one sequence under the lock: the file as it stands (refused when it
// cannot be read, or is not GBK text), the backup due, the profile service's write, the
// file read back.
template <typename Write>
TableWrite LockedProfileWrite(const char* path, Backup backup, Write write_and_check) {
    TableWrite write;
    if (!path || !*path)
        return write;
    TableLock lock(path);
    if (!lock.Held()) {
        write.lock_timeout = true;
        return write;
    }
    std::string before;
    unsigned long error = ReadFileBytes(path, &before);
    if (error && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        return write;
    if (DetectTableEncoding(before) != TableEncoding::Gbk) {
        write.not_gbk = true;
        return write;
    }
    if (backup != Backup::None)
        write.backup_failed =
            (backup == Backup::Now ? BackUpTableNow(path) : BackUpTableBeforeFirstWrite(path)) ==
            BackupOutcome::Failed;
    write_and_check(before, &write);
    return write;
}

TableWrite WriteEntry(const char* path, const char* section, const char* key, const char* value,
                      Backup backup) {
    return LockedProfileWrite(path, backup, [&](const std::string& before, TableWrite* write) {
        if (!WritePrivateProfileStringA(section, key, value, path))
            return;
        std::string after;
        if (ReadFileBytes(path, &after) != 0)
            return;
        TableLines table = ReadTableLines(after);
        // The first line with the key is the one every reader finds.
        const TableLine* line = FindTableKey(table, section, key, true);
        write->written = line && line->has_value && line->value == value;
        bool had_section = false, has_section = false;
        std::vector<ReaderLine> meant = OtherLines(before, section, key, &had_section);
        std::vector<ReaderLine> now = OtherLines(after, section, key, &has_section);
        if (!had_section)
            meant.push_back({LineKind::Section, FoldProfileName(section), 1, "", "", false});
        write->others_changed = meant != now;
    });
}

TableWrite RemoveLine(const char* table_path, const char* section, const char* key) {
    return LockedProfileWrite(
        table_path, Backup::FirstOfSession, [&](const std::string& before, TableWrite* write) {
            if (!WritePrivateProfileStringA(section, key, nullptr, table_path))
                return;
            std::string after;
            if (ReadFileBytes(table_path, &after) != 0)
                return;
            write->written = !FindTableKey(ReadTableLines(after), section, key, false);
            bool had_section = false, has_section = false;
            write->others_changed = OtherLines(before, section, key, &had_section) !=
                                    OtherLines(after, section, key, &has_section);
        });
}

TableWrite ReplaceBytes(const char* table_path, const std::string& expected,
                        const std::string& bytes) {
    TableWrite write;
    if (!table_path || !*table_path)
        return write;
    TableLock lock(table_path);
    if (!lock.Held()) {
        write.lock_timeout = true;
        return write;
    }
    std::string before;
    if (ReadFileBytes(table_path, &before) != 0)
        return write;
    if (before != expected) {
        write.others_changed = true;
        return write;
    }
    write.backup_failed = BackUpTableNow(table_path) == BackupOutcome::Failed;
    if (!ReplaceFileBytes(table_path, bytes))
        return write;
    std::string now;
    write.written = ReadFileBytes(table_path, &now) == 0 && now == bytes;
    return write;
}

// Every write is heard by the trace with its result, a refusal with its reason.
TableWrite Reported(const char* path, std::string what, const TableWrite& write) {
    if (!path || !*path)
        return write;
    if (write.lock_timeout)
        what += " (refused: lock held by another session)";
    else if (write.not_gbk)
        what += " (refused: not GBK text)";
    else if (write.others_changed)
        what += " (other lines changed)";
    ReportFileWrite(path, what.c_str(), write.written);
    return write;
}

std::string EntryText(const char* section, const char* key, const char* value) {
    return "[" + std::string(section) + "] " + key + (value ? "=" : " removed") +
           (value ? value : "");
}

} // namespace

const char* TableWriteNotice(const TableWrite& write) {
    if (write.lock_timeout)
        return LockTimeoutNotice;
    if (write.not_gbk) {
        if (NotGbkTold)
            return nullptr;
        NotGbkTold = true;
        return NotGbkNotice;
    }
    if (write.backup_failed)
        return BackupFailedMessage;
    if (write.others_changed)
        return OthersChangedNotice;
    return nullptr;
}

TableWrite WriteTableEntry(const char* table_path, const char* section, const char* key,
                           const char* value) {
    return Reported(table_path, EntryText(section, key, value),
                    WriteEntry(table_path, section, key, value, Backup::FirstOfSession));
}

TableWrite WriteSettingsEntry(const char* settings_path, const char* section, const char* key,
                              const char* value) {
    return Reported(settings_path, EntryText(section, key, value),
                    WriteEntry(settings_path, section, key, value, Backup::None));
}

TableWrite RemoveTableEntry(const char* table_path, const char* section, const char* key) {
    return Reported(table_path, EntryText(section, key, nullptr),
                    RemoveLine(table_path, section, key));
}

TableWrite ReplaceTableBytes(const char* table_path, const std::string& expected,
                             const std::string& bytes) {
    return Reported(table_path, "whole file, " + std::to_string(bytes.size()) + " bytes",
                    ReplaceBytes(table_path, expected, bytes));
}
