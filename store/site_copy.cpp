#include "site_copy.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "file_replace.h"
#include "table_lines.h"

char SiteTablePath[SiteTablePathSize];
SiteCopyState SiteCopyStatus = SiteCopyState::NoSite;

namespace {

const char SiteVariable[] = "TARNWICK_SITE_TABLE";
const char CopyName[] = "site_button_id.ini";

struct FileStamp {
    bool present = false;
    unsigned long long size = 0;
    FILETIME written = {};
};

FileStamp StampOf(const char* path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return stamp;
    stamp.present = true;
    stamp.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.written = data.ftLastWriteTime;
    return stamp;
}

bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.present && b.present && a.size == b.size &&
           CompareFileTime(&a.written, &b.written) == 0;
}

// The copy's creation time says when it was made (the seat check reports it), its
// last-write time is the site file's.
bool SetCopyTimes(const std::string& path, const FILETIME& written) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    bool set = SetFileTime(file, &now, nullptr, &written) != 0;
    return CloseHandle(file) && set;
}

// The copy's keys as "section\nkey", folded and sorted; used only while indexed.
std::vector<std::string> CopyKeys;
bool CopyIndexed = false;

std::string IndexKey(const std::string& section, const std::string& key) {
    return FoldProfileName(section) + '\n' + FoldProfileName(key);
}

void IndexCopy(const char* copy_path) {
    CopyKeys.clear();
    CopyIndexed = false;
    TableLines table;
    unsigned long error = ReadTableFile(copy_path, &table);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        CopyIndexed = true; // no copy: nothing to read
        return;
    }
    if (error || table.encoding != TableEncoding::Gbk || !table.invalid_gbk_lines.empty())
        return;
    for (const TableLine& line : table.lines) {
        if (line.has_nul)
            return;
        if (!line.key.empty())
            CopyKeys.push_back(IndexKey(line.section, line.key));
    }
    std::sort(CopyKeys.begin(), CopyKeys.end());
    CopyIndexed = true;
}

SiteCopyState Refresh(const char* site_path, const char* copy_path);

} // namespace

bool SiteCopyMayHold(const char* section, const char* key) {
    return !CopyIndexed ||
           std::binary_search(CopyKeys.begin(), CopyKeys.end(), IndexKey(section, key));
}

bool ReadSiteTableSetting() {
    SiteTablePath[0] = '\0';
    char value[SiteTablePathSize] = {};
    DWORD length = GetEnvironmentVariableA(SiteVariable, value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return false;
    snprintf(SiteTablePath, sizeof SiteTablePath, "%s", value);
    return true;
}

std::string SiteCopyPathBeside(const char* table_path) {
    if (!table_path || !table_path[0])
        return std::string();
    // The folder ends at the last backslash; a GBK trail byte may be 0x5C, so the path
    // is walked from its start.
    size_t folder_end = std::string::npos;
    for (size_t i = 0; table_path[i]; ++i) {
        if (table_path[i] == '\\')
            folder_end = i + 1;
        else if (IsDBCSLeadByteEx(936, static_cast<BYTE>(table_path[i])) && table_path[i + 1])
            ++i;
    }
    if (folder_end == std::string::npos)
        return std::string();
    return std::string(table_path, folder_end) + CopyName;
}

SiteCopyState RefreshSiteCopy(const char* site_path, const char* copy_path) {
    if (!site_path || !site_path[0] || !copy_path || !copy_path[0])
        return SiteCopyState::NoSite;
    SiteCopyState state = Refresh(site_path, copy_path);
    IndexCopy(copy_path);
    return state;
}

namespace {

SiteCopyState Refresh(const char* site_path, const char* copy_path) {
    const bool have_copy = StampOf(copy_path).present;
    const SiteCopyState unreachable =
        have_copy ? SiteCopyState::Unreachable : SiteCopyState::NoCopy;
    FileStamp site = StampOf(site_path);
    if (!site.present)
        return unreachable;
    if (SameStamp(site, StampOf(copy_path)))
        return SiteCopyState::Current;

    std::string bytes;
    if (ReadFileBytes(site_path, &bytes) != 0)
        return unreachable;
    // A file replaced while it was read gives a mixture of two versions: the next
    // refresh takes the new one whole.
    FileStamp after = StampOf(site_path);
    if (!SameStamp(site, after) || after.size != bytes.size())
        return have_copy ? SiteCopyState::CopyFailed : SiteCopyState::NoCopy;

    const std::string fresh = std::string(copy_path) + ".new";
    std::string read_back;
    bool ok = WriteFreshFile(copy_path, bytes) && SetCopyTimes(fresh, site.written) &&
              ReadFileBytes(fresh.c_str(), &read_back) == 0 && read_back == bytes &&
              MoveFileExA(fresh.c_str(), copy_path, MOVEFILE_REPLACE_EXISTING);
    if (!ok) {
        DeleteFileA(fresh.c_str());
        return have_copy ? SiteCopyState::CopyFailed : SiteCopyState::NoCopy;
    }
    // NTFS hands a name that reappears within seconds the old file's creation time.
    SetCopyTimes(copy_path, site.written);
    return SiteCopyState::Refreshed;
}

} // namespace
