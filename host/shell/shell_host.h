// The host shell's own part of the stand-in host: its application modules, the part
// it pretends to display, its host buttons, the title of its main window and the
// notes it adds to the host's record.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct HostButtonSetting {
    std::string name;
    int id;
};

struct ApplicationModule {
    int number;
    const char* name; // GBK
};

// Host menu buttons the shell offers when none are configured (names and ids are the
// stand-in's own).
const std::vector<HostButtonSetting>& DefaultHostButtons();
const std::vector<ApplicationModule>& ApplicationModules();
std::string ModuleLabel(int number); // "40 建模", or the number alone

// Adds "tag text" to the record as a note; the transcript shows it as "[tag] text".
void ShellNote(const std::string& tag, const std::string& text);

// A running NX has its UI library, libugui.dll, loaded: it is the host's own. The shell
// loads it at start as NX does; an empty path leaves it unloaded, as a host that has
// not loaded it. Null when nothing was loaded; the caller frees it after the plug-in
// is gone.
HMODULE ShellLoadUiLibrary(const std::string& path);

void ShellSetModule(int number);
void ShellSetPartOpen(bool open);
bool ShellPartOpen();
void ShellUpdateTitle();
