// Test support: loads the real Tarnwick.dll next to the stand-in host, as the host
// does; with it come the test's data folder, the view of the host's record and the
// driving tools the tests use by their short names.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "data_folder.h"
#include "host_core.h"
#include "host_record.h"
#include "message_boxes.h"
#include "message_pump.h"
#include "plugin_library.h"

namespace tarnwick_test {

// The host's side of loading the plug-in.
class PluginHost {
  public:
    PluginHost();
    ~PluginHost();                      // unloads if still loaded
    bool Load();                        // LoadLibrary of Tarnwick.dll beside the test program
    bool Load(const std::string& path); // another build of it, by its full path
    int StartUp();                      // ufsta; returns the status written
    int AskUnload();
    void Unload(); // ufusr_ask_unload, ufusr_cleanup, FreeLibrary
    bool Loaded() const { return module_ != nullptr; }
    HMODULE Module() const { return module_; }

  private:
    HMODULE module_ = nullptr;
};

// Resets the stand-in's configuration, record and actions; the working directory
// becomes the staged host folder stage\UGII.
void ResetHost();

// The driving tools the tests use by their short names.
using driving::MessageBoxWatcher;
using driving::ProcAddress;
using driving::PumpMessages;
using driving::SeenMessageBox;

} // namespace tarnwick_test
