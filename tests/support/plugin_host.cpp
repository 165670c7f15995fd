#include "plugin_host.h"

#include <sstream>

#include "file_bytes.h"

namespace tarnwick_test {

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return FolderOf(path);
}

std::string StageFolder() {
    return FolderOf(ProgramFolder()) + "\\stage";
}

DataFolder::DataFolder(const std::string& name) {
    root_ = FolderOf(ProgramFolder()) + "\\scratch\\" + name;
    RemoveTree(root_);
    CreateDirectoryA((FolderOf(ProgramFolder()) + "\\scratch").c_str(), nullptr);
    CreateDirectoryA(root_.c_str(), nullptr);
    CreateDirectoryA((root_ + "\\data").c_str(), nullptr);
    HostConfig_SetVariable("TARNWICK_DIR", root_.c_str());
}

DataFolder::~DataFolder() {
    RemoveTree(root_);
}

std::string DataFolder::PathOf(const std::string& file) const {
    return root_ + "\\data\\" + file;
}

void DataFolder::Write(const std::string& file, const std::string& bytes) const {
    std::string path = PathOf(file);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    driving::WriteFileBytes(path, bytes);
}

std::string DataFolder::Read(const std::string& file) const {
    return driving::FileBytes(PathOf(file));
}

bool DataFolder::Exists(const std::string& file) const {
    return GetFileAttributesA(PathOf(file).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DataFolder::Remove(const std::string& file) const {
    SetFileAttributesA(PathOf(file).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(PathOf(file).c_str());
}

void DataFolder::WriteStandardFiles(const std::string& table, const std::string& check1) const {
    Write("button_id.ini", table);
    Write("chick.ini", "[CHECK1]\r\nCHECK1=" + check1 + "\r\n");
    Write("Tarnwick.macro", "");
}

PluginHost::PluginHost() = default;

PluginHost::~PluginHost() {
    if (module_)
        Unload();
}

bool PluginHost::Load() {
    module_ = LoadLibraryA((ProgramFolder() + "\\Tarnwick.dll").c_str());
    return module_ != nullptr;
}

int PluginHost::StartUp() {
    int status = -1;
    driving::CallStartUp(module_, &status);
    return status;
}

int PluginHost::AskUnload() {
    int answer = -1;
    driving::CallAskUnload(module_, &answer);
    return answer;
}

void PluginHost::Unload() {
    if (!module_)
        return;
    AskUnload();
    driving::CallCleanup(module_);
    FreeLibrary(module_);
    module_ = nullptr;
    // The host forgets the actions of an unloaded library.
    HostActions_Clear();
}

std::vector<RecordedEvent> Record() {
    std::vector<RecordedEvent> events;
    HostEvent e;
    for (int i = 0; HostRecord_Get(i, &e); ++i)
        events.push_back({e.kind, e.value, std::string(e.text, e.length)});
    return events;
}

std::vector<RecordedEvent> Record(int kind) {
    std::vector<RecordedEvent> events;
    for (const RecordedEvent& e : Record())
        if (e.kind == kind)
            events.push_back(e);
    return events;
}

std::vector<std::string> RecordTexts(int kind) {
    std::vector<std::string> texts;
    for (const RecordedEvent& e : Record(kind))
        texts.push_back(e.text);
    return texts;
}

Messages RecordedMessages() {
    Messages messages;
    for (const RecordedEvent& e : Record(HOST_EV_MESSAGE))
        messages.emplace_back(e.text, e.value);
    return messages;
}

std::vector<int> RecordedCommandIds() {
    std::vector<int> ids;
    for (const RecordedEvent& e : Record(HOST_EV_COMMAND))
        ids.push_back(e.value);
    return ids;
}

std::string DescribeRecord() {
    std::ostringstream out;
    for (const RecordedEvent& e : Record())
        out << HostRecord_KindName(e.kind) << " " << e.value << " " << e.text << "\n";
    return out.str();
}

void ResetHost() {
    HostConfig_Reset();
    HostRecord_Clear();
    HostActions_Clear();
    SetCurrentDirectoryA((StageFolder() + "\\UGII").c_str());
}

} // namespace tarnwick_test
