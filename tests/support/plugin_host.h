// Test support: loads the real Tarnwick.dll next to the stand-in host, as the host
// does, and gives tests a data folder of their own and a view of the host's record.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host_core.h"
#include "message_boxes.h"
#include "message_pump.h"
#include "plugin_library.h"

namespace tarnwick_test {

// A data folder "<root>\data" under the test's own scratch folder; files are written
// and read byte for byte. TARNWICK_DIR points at the root for the host.
class DataFolder {
  public:
    explicit DataFolder(const std::string& name);
    ~DataFolder();
    const std::string& Root() const { return root_; }  // without trailing backslash
    std::string PathOf(const std::string& file) const; // root\data\file
    void Write(const std::string& file, const std::string& bytes) const;
    std::string Read(const std::string& file) const;
    bool Exists(const std::string& file) const;
    void Remove(const std::string& file) const;
    // The three files of an installation: a table, chick.ini and an empty macro.
    void WriteStandardFiles(const std::string& table, const std::string& check1 = "0") const;

  private:
    std::string root_;
};

// The host's side of loading the plug-in.
class PluginHost {
  public:
    PluginHost();
    ~PluginHost(); // unloads if still loaded
    bool Load();   // LoadLibrary of Tarnwick.dll beside the test program
    int StartUp(); // ufsta; returns the status written
    int AskUnload();
    void Unload(); // ufusr_ask_unload, ufusr_cleanup, FreeLibrary
    bool Loaded() const { return module_ != nullptr; }
    HMODULE Module() const { return module_; }

  private:
    HMODULE module_ = nullptr;
};

struct RecordedEvent {
    int kind;
    int value;
    std::string text;
};

std::vector<RecordedEvent> Record();
std::vector<RecordedEvent> Record(int kind);
std::vector<std::string> RecordTexts(int kind);
// The messages shown through the host (text and flag), and the command ids the host
// window ran, in order.
typedef std::vector<std::pair<std::string, int>> Messages;
Messages RecordedMessages();
std::vector<int> RecordedCommandIds();

// One line per event, "kind value text", for failure messages.
std::string DescribeRecord();

// Resets the stand-in's configuration, record and actions; the working directory
// becomes the staged host folder stage\UGII.
void ResetHost();
std::string StageFolder(); // the folder holding UGII and NXBIN
std::string ProgramFolder();

// The driving tools the tests use by their short names.
using driving::MessageBoxWatcher;
using driving::ProcAddress;
using driving::PumpMessages;
using driving::SeenMessageBox;

} // namespace tarnwick_test
