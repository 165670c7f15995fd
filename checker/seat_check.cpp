#include "seat_check.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "key_names.h"
#include "pe_image.h"
#include "seat_texts.h"
#include "shortcut_store.h"
#include "table_findings.h"
#include "table_lines.h"
#include "uf_host.h"

namespace {

// What the plug-in finds, by its own names and rules.
const char* const DataFileNames[] = {"button_id.ini", "chick.ini", "Tarnwick.macro"};
const char TableName[] = "button_id.ini";
const char SettingsName[] = "chick.ini";
const char TraceFileName[] = "tarnwick-trace.log";
const char SiteVariable[] = "TARNWICK_SITE_TABLE";
const char SiteCopyName[] = "site_button_id.ini";
// The plug-in keeps the site table's path in 260 bytes.
enum { SitePathMax = 259 };
// The plug-in refuses to append its trace to a file of these kinds.
const char* const RefusedTraceEndings[] = {".ini", ".bak", ".macro", ".men", ".dll", ".exe"};
const UINT GbkCodePage = 936;
// The plug-in keeps each data file's path in 256 bytes.
enum { DataPathMax = 255 };

struct Seat {
    Language language;
    std::vector<SeatItem> items;

    void Add(SeatStatus status, const std::string& text) { items.push_back({status, text}); }
    const char* Text(SeatTextId id) const { return SeatText(language, id); }
};

// A variable that is set and not empty, as the plug-in takes it.
bool Variable(const char* name, std::string* value) {
    char buffer[32768];
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return false;
    value->assign(buffer, length);
    return true;
}

// One trailing backslash goes, as the plug-in takes TARNWICK_DIR: a backslash of its
// own, not the trail byte of a GBK double-byte character.
std::string WithoutTrailingBackslash(const std::string& text) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        last = i;
        if (IsDBCSLeadByteEx(GbkCodePage, static_cast<BYTE>(text[i])) && i + 1 < text.size())
            ++i;
    }
    if (last != std::string::npos && text[last] == '\\')
        return text.substr(0, last);
    return text;
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Opened with the access asked and closed again: a test of write access that writes
// nothing and leaves the file's time stamps alone. Everyone else's opens stay allowed.
DWORD OpenError(const std::string& path, DWORD access) {
    HANDLE file =
        CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(file);
    return 0;
}

std::string Reason(DWORD error, Language language) {
    return SystemMessage(error, language);
}

void CheckCodePage(Seat* seat) {
    UINT code_page = GetACP();
    if (code_page == GbkCodePage)
        seat->Add(SeatStatus::Ok, seat->Text(SeatTextId::CodePageOk));
    else
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::CodePageWrong), code_page));
}

// The file present, readable and writable; false when its content cannot be looked at.
bool CheckAccess(Seat* seat, const char* name, const std::string& path) {
    int length = static_cast<int>(path.size());
    if (length > DataPathMax) {
        seat->Add(SeatStatus::Error,
                  Format(seat->Text(SeatTextId::PathTooLong), name, path.c_str(), length));
        return false;
    }
    if (!IsFile(path)) {
        seat->Add(SeatStatus::Error,
                  Format(seat->Text(SeatTextId::FileMissing), name, path.c_str()));
        return false;
    }
    if (DWORD error = OpenError(path, GENERIC_READ)) {
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::FileUnreadable), name,
                                            path.c_str(), Reason(error, seat->language).c_str()));
        return false;
    }
    if (DWORD error = OpenError(path, GENERIC_WRITE))
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::FileNotWritable), name,
                                            path.c_str(), Reason(error, seat->language).c_str()));
    else
        seat->Add(SeatStatus::Ok, Format(seat->Text(SeatTextId::FileOk), name, path.c_str()));
    return true;
}

void CheckEncoding(Seat* seat, const char* name, const std::string& bytes) {
    switch (DetectTableEncoding(bytes)) {
    case TableEncoding::Gbk:
        seat->Add(SeatStatus::Ok, Format(seat->Text(SeatTextId::EncodingGbk), name));
        break;
    case TableEncoding::Utf8:
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::EncodingUtf8), name));
        break;
    case TableEncoding::Utf8Bom:
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::EncodingUtf8Bom), name));
        break;
    case TableEncoding::Utf16Le:
    case TableEncoding::Utf16Be:
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::EncodingUtf16), name));
        break;
    }
}

// The existing table check, counted; its lines are the table checker's to print.
void CheckTableFindings(Seat* seat, const std::string& path, const std::string& bytes,
                        const std::string& data_folder) {
    KeyNames key_names = KeyNames::FromSystem();
    CheckInput input;
    input.bytes = bytes;
    input.key_names = &key_names;
    input.language = seat->language;
    std::string settings = data_folder + "\\" + SettingsName;
    if (IsFile(settings))
        input.mode =
            ReadSpaceModeSetting(settings.c_str()) == 1 ? TypingMode::Space : TypingMode::Immediate;
    CheckReport report = CheckTable(input);
    if (report.findings.empty())
        seat->Add(SeatStatus::Ok, Format(seat->Text(SeatTextId::TableClean), report.entries));
    else
        seat->Add(report.errors ? SeatStatus::Error : SeatStatus::Warning,
                  Format(seat->Text(SeatTextId::TableFindings), report.errors, report.warnings,
                         report.entries, path.c_str()));
}

void CheckBackup(Seat* seat, const std::string& table_path) {
    std::string path = table_path + ".bak";
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        seat->Add(SeatStatus::Ok, seat->Text(SeatTextId::BackupNone));
        return;
    }
    if (DWORD error = OpenError(path, GENERIC_WRITE)) {
        seat->Add(SeatStatus::Warning, Format(seat->Text(SeatTextId::BackupNotWritable),
                                              path.c_str(), Reason(error, seat->language).c_str()));
        return;
    }
    FILETIME local;
    SYSTEMTIME time = {};
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &time);
    std::string when = Format("%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay,
                              time.wHour, time.wMinute);
    seat->Add(SeatStatus::Ok, Format(seat->Text(SeatTextId::BackupOk), when.c_str()));
}

std::string LocalTime(const FILETIME& stamp) {
    FILETIME local;
    SYSTEMTIME time = {};
    FileTimeToLocalFileTime(&stamp, &local);
    FileTimeToSystemTime(&local, &time);
    return Format("%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute);
}

// The site's table as the plug-in takes it from the process environment, and its local
// copy, which keeps the site file's size and last-write time when it is made.
void CheckSiteTable(Seat* seat, const std::string& data_folder) {
    std::string site;
    // A seat without a site table reads as it always did.
    if (!Variable(SiteVariable, &site))
        return;
    if (site.size() > SitePathMax) {
        seat->Add(SeatStatus::Error,
                  Format(seat->Text(SeatTextId::SiteTooLong), static_cast<int>(site.size())));
        return;
    }
    std::string bytes;
    WIN32_FILE_ATTRIBUTE_DATA site_data = {};
    DWORD error = ReadFileBytes(site.c_str(), &bytes);
    bool reachable =
        error == 0 && GetFileAttributesExA(site.c_str(), GetFileExInfoStandard, &site_data);
    if (reachable) {
        KeyNames key_names = KeyNames::FromSystem();
        CheckInput input;
        input.bytes = bytes;
        input.key_names = &key_names;
        input.language = seat->language;
        seat->Add(SeatStatus::Ok,
                  Format(seat->Text(SeatTextId::SiteOk), site.c_str(), CheckTable(input).entries));
    } else {
        seat->Add(SeatStatus::Warning,
                  Format(seat->Text(SeatTextId::SiteUnreachable), site.c_str(),
                         Reason(error ? error : GetLastError(), seat->language).c_str()));
    }
    if (data_folder.empty())
        return;
    std::string copy = data_folder + "\\" + SiteCopyName;
    WIN32_FILE_ATTRIBUTE_DATA copy_data = {};
    if (!GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &copy_data)) {
        if (reachable)
            seat->Add(SeatStatus::Warning,
                      Format(seat->Text(SeatTextId::SiteCopyNone), copy.c_str()));
        else
            seat->Add(SeatStatus::Error,
                      Format(seat->Text(SeatTextId::SiteCopyMissing), copy.c_str()));
        return;
    }
    std::string made = LocalTime(copy_data.ftCreationTime);
    if (!reachable) {
        seat->Add(SeatStatus::Warning,
                  Format(seat->Text(SeatTextId::SiteCopyServes), copy.c_str(), made.c_str()));
    } else if (copy_data.nFileSizeLow == site_data.nFileSizeLow &&
               copy_data.nFileSizeHigh == site_data.nFileSizeHigh &&
               CompareFileTime(&copy_data.ftLastWriteTime, &site_data.ftLastWriteTime) == 0) {
        seat->Add(SeatStatus::Ok,
                  Format(seat->Text(SeatTextId::SiteCopyCurrent), copy.c_str(), made.c_str()));
    } else {
        seat->Add(SeatStatus::Warning,
                  Format(seat->Text(SeatTextId::SiteCopyStale), copy.c_str(), made.c_str()));
    }
}

// Returns the data folder, or an empty text when TARNWICK_DIR names none.
std::string CheckInstallation(Seat* seat, std::string* install_root) {
    std::string value;
    if (!Variable("TARNWICK_DIR", &value)) {
        seat->Add(SeatStatus::Error, seat->Text(SeatTextId::InstallRootMissing));
        return std::string();
    }
    *install_root = WithoutTrailingBackslash(value);
    seat->Add(SeatStatus::Ok, Format(seat->Text(SeatTextId::InstallRootOk), value.c_str()));
    std::string data_folder = *install_root + "\\data";
    if (!IsFolder(data_folder)) {
        seat->Add(SeatStatus::Error,
                  Format(seat->Text(SeatTextId::DataFolderMissing), data_folder.c_str()));
        return std::string();
    }
    seat->Add(SeatStatus::Ok, Format(seat->Text(SeatTextId::DataFolderOk), data_folder.c_str()));
    return data_folder;
}

void CheckDataFiles(Seat* seat, const std::string& data_folder) {
    for (const char* name : DataFileNames) {
        std::string path = data_folder + "\\" + name;
        if (!CheckAccess(seat, name, path))
            continue;
        std::string bytes;
        if (DWORD error = ReadFileBytes(path.c_str(), &bytes)) {
            seat->Add(SeatStatus::Error,
                      Format(seat->Text(SeatTextId::FileUnreadable), name, path.c_str(),
                             Reason(error, seat->language).c_str()));
            continue;
        }
        CheckEncoding(seat, name, bytes);
        if (std::string(name) == TableName) {
            CheckTableFindings(seat, path, bytes, data_folder);
            CheckBackup(seat, path);
        }
    }
}

// A line of the custom-directories file as the installer compares it: without its line
// end and one trailing backslash; variables of the form %NAME% expanded.
std::string FolderOfLine(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ' ||
                             line.back() == '\t'))
        line.pop_back();
    size_t start = line.find_first_not_of(" \t");
    line = start == std::string::npos ? std::string() : line.substr(start);
    if (line.empty() || line[0] == '#')
        return std::string();
    char expanded[MAX_PATH * 2] = {};
    DWORD length = ExpandEnvironmentStringsA(line.c_str(), expanded, sizeof expanded);
    if (length > 0 && length <= sizeof expanded)
        line = expanded;
    return WithoutTrailingBackslash(line);
}

void CheckCustomDirectories(Seat* seat, const std::string& host_root,
                            const std::string& install_root) {
    // The installer's rule: the file UGII_CUSTOM_DIRECTORY_FILE names, else the host's own.
    std::string file;
    if (!Variable("UGII_CUSTOM_DIRECTORY_FILE", &file)) {
        if (host_root.empty()) {
            seat->Add(SeatStatus::Error, seat->Text(SeatTextId::CustomDirsNoHost));
            return;
        }
        file = host_root + "\\UGII\\menus\\custom_dirs.dat";
    }
    std::string bytes;
    if (DWORD error = ReadFileBytes(file.c_str(), &bytes)) {
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::CustomDirsUnreadable),
                                            file.c_str(), Reason(error, seat->language).c_str()));
        return;
    }
    int folders = 0;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        std::string folder =
            FolderOfLine(bytes.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end == std::string::npos ? bytes.size() : end + 1;
        if (folder.empty())
            continue;
        ++folders;
        if (IsFile(folder + "\\startup\\Tarnwick.dll") &&
            IsFile(folder + "\\startup\\tarnwick.men")) {
            seat->Add(SeatStatus::Ok,
                      Format(seat->Text(SeatTextId::CustomDirsOk), file.c_str(), folder.c_str()));
            return;
        }
    }
    seat->Add(SeatStatus::Error,
              Format(seat->Text(SeatTextId::CustomDirsNoFolder), folders, file.c_str(),
                     install_root.empty() ? "%TARNWICK_DIR%" : install_root.c_str()));
}

// The plug-in plays macros back through the libugui.dll the host has loaded, which
// lies in the host's program folder: NXBIN, or UGII for the releases before it.
void CheckUiLibrary(Seat* seat, const std::string& host_root) {
    if (host_root.empty()) {
        seat->Add(SeatStatus::Warning, seat->Text(SeatTextId::UiLibraryNotLooked));
        return;
    }
    std::string path;
    for (const char* folder : {"\\NXBIN\\", "\\UGII\\"}) {
        if (IsFile(host_root + folder + "libugui.dll")) {
            path = host_root + folder + "libugui.dll";
            break;
        }
    }
    if (path.empty()) {
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::UiLibraryNone),
                                            host_root.c_str(), host_root.c_str()));
        return;
    }
    PeImage image = ReadPeImage(path);
    if (!image.valid) {
        std::string reason =
            image.error ? " (" + Reason(image.error, seat->language) + ")" : std::string();
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::UiLibraryUnreadable),
                                            path.c_str(), reason.c_str()));
    } else if (ExportsName(image, UF_MACRO_PLAYBACK_SYMBOL)) {
        seat->Add(SeatStatus::Ok, Format(seat->Text(SeatTextId::UiLibraryOk), path.c_str()));
    } else {
        seat->Add(SeatStatus::Error, Format(seat->Text(SeatTextId::UiLibraryNoExport), path.c_str(),
                                            UF_MACRO_PLAYBACK_SYMBOL));
    }
}

// As the plug-in reads TARNWICK_TRACE at start-up: unset, empty or 0 is off; 1 the data
// folder's trace; anything else a path.
void CheckTrace(Seat* seat, const std::string& install_root) {
    std::string setting;
    if (!Variable("TARNWICK_TRACE", &setting) || setting == "0") {
        seat->Add(SeatStatus::Ok, seat->Text(SeatTextId::TraceOff));
        return;
    }
    std::string path;
    if (setting == "1") {
        if (install_root.empty()) {
            seat->Add(SeatStatus::Error, seat->Text(SeatTextId::TraceNoInstallRoot));
            return;
        }
        path = install_root + "\\data\\" + TraceFileName;
    } else {
        char full[MAX_PATH] = {};
        char* name = nullptr;
        DWORD length = GetFullPathNameA(setting.c_str(), sizeof full, full, &name);
        path = length > 0 && length < sizeof full ? full : setting;
        if (!name || !IsFolder(path.substr(0, static_cast<size_t>(name - full)))) {
            seat->Add(SeatStatus::Error,
                      Format(seat->Text(SeatTextId::TraceNoFolder), path.c_str()));
            return;
        }
    }
    for (const char* ending : RefusedTraceEndings) {
        size_t length = strlen(ending);
        if (path.size() >= length && _stricmp(path.c_str() + path.size() - length, ending) == 0) {
            seat->Add(SeatStatus::Error,
                      Format(seat->Text(SeatTextId::TraceOwnFile), path.c_str()));
            return;
        }
    }
    seat->Add(SeatStatus::Ok, Format(seat->Text(SeatTextId::TraceOn), path.c_str()));
}

} // namespace

std::vector<SeatItem> CheckSeat(Language language) {
    Seat seat{language, {}};
    CheckCodePage(&seat);
    std::string install_root;
    std::string data_folder = CheckInstallation(&seat, &install_root);
    if (!data_folder.empty())
        CheckDataFiles(&seat, data_folder);
    CheckSiteTable(&seat, data_folder);

    std::string host_root;
    if (Variable("UGII_BASE_DIR", &host_root)) {
        host_root = WithoutTrailingBackslash(host_root);
        if (IsFolder(host_root)) {
            seat.Add(SeatStatus::Ok, Format(seat.Text(SeatTextId::HostRootOk), host_root.c_str()));
        } else {
            seat.Add(SeatStatus::Error,
                     Format(seat.Text(SeatTextId::HostRootNoFolder), host_root.c_str()));
            host_root.clear();
        }
    } else {
        seat.Add(SeatStatus::Warning, seat.Text(SeatTextId::HostRootMissing));
    }
    CheckCustomDirectories(&seat, host_root, install_root);
    CheckUiLibrary(&seat, host_root);
    CheckTrace(&seat, install_root);
    return seat.items;
}

int PrintSeatCheck(Language language) {
    std::vector<SeatItem> items = CheckSeat(language);
    int counts[3] = {0, 0, 0};
    std::string out;
    for (const SeatItem& item : items) {
        ++counts[static_cast<int>(item.status)];
        out += item.status == SeatStatus::Ok        ? "ok: "
               : item.status == SeatStatus::Warning ? "warning: "
                                                    : "error: ";
        out += item.text;
        out += '\n';
    }
    out += Format(SeatText(language, SeatTextId::Summary), counts[0], counts[1], counts[2]);
    out += '\n';
    fputs(out.c_str(), stdout);
    return counts[1] + counts[2] == 0 ? 0 : 1;
}
