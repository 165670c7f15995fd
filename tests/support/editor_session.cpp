#include "editor_session.h"

namespace tarnwick_test {

const char GlobalText[] = "全局";
const char ModuleText[] = "仅应用模块";
const char CustomText[] = "二次开发";

EditorSession::EditorSession(const std::string& name, const std::string& table,
                             const std::string& check1, bool table_present) {
    ResetHost();
    folder_ = std::make_unique<DataFolder>(name);
    folder_->WriteStandardFiles(table, check1);
    if (!table_present)
        folder_->Remove("button_id.ini");
    host_.Load();
    host_.StartUp();
    HostRecord_Clear();
    boxes_.Clear();
}

EditorSession::~EditorSession() {
    host_.Unload();
    // The folder goes only after the plug-in let go of it.
    folder_.reset();
}

} // namespace tarnwick_test

namespace tarnwick_test {

FileBlocker::FileBlocker(const std::string& path, bool read_only)
    : path_(path), read_only_(read_only) {
    if (read_only)
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    else
        held_ = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
}

void FileBlocker::Release() {
    if (held_ != INVALID_HANDLE_VALUE)
        CloseHandle(held_);
    held_ = INVALID_HANDLE_VALUE;
    if (read_only_)
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    read_only_ = false;
}

} // namespace tarnwick_test
