#include "data_folder.h"

#include <windows.h>

#include "file_bytes.h"
#include "host_core.h"

namespace tarnwick_test {

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

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

} // namespace tarnwick_test
