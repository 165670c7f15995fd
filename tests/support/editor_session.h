// Test support: the plug-in loaded and started in the stand-in host with a data folder
// of its own, ready to open editors; message boxes are recorded and answered.
#pragma once

#include <memory>
#include <string>

#include "editor_driver.h"
#include "plugin_host.h"

namespace tarnwick_test {

// Section and scope texts, GBK.
extern const char GlobalText[]; // "全局"
extern const char ModuleText[]; // "仅应用模块"
extern const char CustomText[]; // "二次开发"

class EditorSession {
  public:
    // Writes the table (unless table_present is false: no button_id.ini at start-up)
    // and chick.ini, loads the plug-in and runs ufsta.
    explicit EditorSession(const std::string& name, const std::string& table,
                           const std::string& check1 = "0", bool table_present = true);
    ~EditorSession();

    EditorDriver Open() const { return EditorDriver::OpenNew(); }
    std::string Table() const { return folder_->Read("button_id.ini"); }
    std::string Settings() const { return folder_->Read("chick.ini"); }
    const DataFolder& Folder() const { return *folder_; }
    PluginHost& Host() { return host_; }
    MessageBoxWatcher& Boxes() { return boxes_; }
    std::vector<std::string> BoxTexts() const { return boxes_.Texts(); }

  private:
    std::unique_ptr<DataFolder> folder_;
    PluginHost host_;
    MessageBoxWatcher boxes_;
};

} // namespace tarnwick_test

namespace tarnwick_test {

// Makes a file unopenable for reading and writing: held open by "another program"
// that shares nothing, or marked read-only. Read-only does not bind an administrator
// (nor root under Wine).
class FileBlocker {
  public:
    FileBlocker(const std::string& path, bool read_only);
    ~FileBlocker() { Release(); }
    void Release();

  private:
    std::string path_;
    bool read_only_;
    HANDLE held_ = INVALID_HANDLE_VALUE;
};

} // namespace tarnwick_test
