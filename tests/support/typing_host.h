// Test support for typing into the stand-in host: a focused child window of the host
// that counts the keys reaching the host, and a fixture that starts the real plug-in
// with a table and switches shortcuts on. Keys go in through the driving library's
// SendInput typing, as a user's keys arrive, so the plug-in's thread keyboard hook
// sees them.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "key_typing.h"
#include "plugin_host.h"

namespace tarnwick_test {

using driving::KeyDown;
using driving::KeyUp;
using driving::PressKey;
using driving::PressWith;
using driving::TypeKeys;

// TypeKeys, then the host's loop runs what the keys posted.
void TypeCode(const std::string& keys);

// A window of a class of the test's choosing, with a title of its choosing, that counts
// the keystroke messages reaching it.
class KeySink {
  public:
    // A child of parent when given, else a top-level window; it is shown and focused.
    KeySink(const char* class_name, const char* title, HWND parent);
    ~KeySink();
    HWND Handle() const { return hwnd_; }
    void Focus() const;
    // Virtual keys of the WM_KEYDOWN and WM_SYSKEYDOWN messages received.
    const std::vector<WPARAM>& KeyDowns() const;
    int CharCount() const;
    void Clear();

  private:
    HWND hwnd_;
};

// The host window in the foreground, a focused key sink inside it, the plug-in loaded
// and started on a data folder holding the table (Space mode from check1), and
// shortcuts switched on. prepare runs after the files are written and before the
// plug-in starts. The record is cleared before the test's own steps.
class TypingHost {
  public:
    TypingHost(const std::string& folder_name, const std::string& table,
               const std::string& check1 = "1", bool switch_on = true,
               const std::function<void(DataFolder&)>& prepare = nullptr);
    ~TypingHost(); // unloads the plug-in: no hook stays behind
    DataFolder& Folder() { return *folder_; }
    PluginHost& Plugin() { return plugin_; }
    KeySink& Sink() { return *sink_; }
    HWND Window() const { return window_; }
    // Puts the host window in front again and the focus in the sink.
    void Activate();

  private:
    std::unique_ptr<DataFolder> folder_;
    PluginHost plugin_;
    HWND window_ = nullptr;
    std::unique_ptr<KeySink> sink_;
};

// "[section]\r\nkey=value\r\n..." from lines given as "key=value" under "[section]".
std::string Table(const std::vector<std::string>& lines);

} // namespace tarnwick_test
