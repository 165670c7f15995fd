// The host shell's command line and what follows from it: the plug-in's path, the
// menu files, the stand-in's configuration and where the output goes.
#pragma once

#include <string>
#include <vector>

#include "shell_host.h"

extern const char* const ShellUsage;

struct ShellOptions {
    std::string plugin;
    std::vector<std::string> menus;
    std::string script;
    std::string transcript;
    std::string shots;
    int module = 0;
    bool part_open = false;
    std::string release = "NX 12.0.2";
    std::vector<HostButtonSetting> buttons;
    std::string tarnwick_dir;
    std::string messages;
};

// False on a wrong option (error says which) or on --help (error is empty).
bool ParseShellOptions(int argc, char** argv, ShellOptions* o, std::string* error);
// The given plug-in, else Tarnwick.dll beside the program, else ..\startup\Tarnwick.dll.
std::string PluginPath(const ShellOptions& o);
// The given menu files, else every *.men beside the plug-in, in name order.
std::vector<std::string> MenuFilePaths(const ShellOptions& o, const std::string& plugin);
// Resets the stand-in and sets it up as the options say.
void ConfigureHost(const ShellOptions& o);
// TARNWICK_DIR as given or from the environment, without trailing slashes.
std::string TarnwickDir(const ShellOptions& o);
// Writes to the file, or to standard output when path is empty.
bool WriteShellOutput(const std::string& path, const std::string& bytes);

std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
std::string WorkingFolder();
std::string WithoutTrailingSlashes(std::string path);
