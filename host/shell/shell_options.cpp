#include "shell_options.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "host_core.h"
#include "text_codes.h"

namespace {

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return FolderOf(path);
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? std::string(full) : path;
}

} // namespace

const char* const ShellUsage =
    "tarnwick-host [options]\n"
    "  --plugin PATH        the plug-in (default: Tarnwick.dll beside the program, else\n"
    "                       ..\\startup\\Tarnwick.dll)\n"
    "  --menu PATH          a menu-script file; repeatable (default: every *.men beside\n"
    "                       the plug-in)\n"
    "  --script PATH        run a script (UTF-8), then exit\n"
    "  --transcript PATH    write the transcript there instead of to standard output\n"
    "  --shots FOLDER       where the script's screenshots go (default: working folder)\n"
    "  --module N           application module at start (default 0)\n"
    "  --part open|closed   whether a part is displayed at start (default closed)\n"
    "  --release TEXT       the host's release text (default \"NX 12.0.2\")\n"
    "  --button NAME=ID[,NAME=ID...]  host menu buttons; repeatable (default: a demo\n"
    "                       list of UG_MODELING_LINE=4711 and others)\n"
    "  --tarnwick-dir PATH  TARNWICK_DIR for the plug-in (default: the environment)\n"
    "  --ui-library PATH|none  the host's UI library, loaded at start as NX has its own\n"
    "                       (default: libugui.dll beside the program)\n"
    "  --messages box|record  uc1601's flag-1 messages show a modal box (default by\n"
    "                       hand) or are only recorded (default with --script); flag 0\n"
    "                       always writes the status line\n";

bool ParseShellOptions(int argc, char** argv, ShellOptions* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            *error = "";
            return false;
        }
        if (i + 1 >= argc) {
            *error = "missing value for " + arg;
            return false;
        }
        std::string value = argv[++i];
        if (arg == "--plugin") {
            o->plugin = value;
        } else if (arg == "--menu") {
            o->menus.push_back(value);
        } else if (arg == "--script") {
            o->script = value;
        } else if (arg == "--transcript") {
            o->transcript = value;
        } else if (arg == "--shots") {
            o->shots = value;
        } else if (arg == "--module") {
            if (!ParseInt(value, &o->module)) {
                *error = "--module N: a whole number";
                return false;
            }
        } else if (arg == "--part") {
            if (value != "open" && value != "closed") {
                *error = "--part open|closed";
                return false;
            }
            o->part_open = value == "open";
        } else if (arg == "--release") {
            o->release = value;
        } else if (arg == "--button") {
            size_t start = 0;
            while (start <= value.size()) {
                size_t comma = value.find(',', start);
                std::string one =
                    value.substr(start, comma == std::string::npos ? comma : comma - start);
                size_t eq = one.find('=');
                if (eq == std::string::npos || eq == 0) {
                    *error = "--button NAME=ID[,NAME=ID...]";
                    return false;
                }
                int id = 0;
                if (!ParseInt(one.substr(eq + 1), &id)) {
                    *error = "--button NAME=ID[,NAME=ID...]: ID a whole number";
                    return false;
                }
                o->buttons.push_back({one.substr(0, eq), id});
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        } else if (arg == "--tarnwick-dir") {
            o->tarnwick_dir = value;
        } else if (arg == "--ui-library") {
            o->ui_library = value;
        } else if (arg == "--messages") {
            if (value != "box" && value != "record") {
                *error = "--messages box|record";
                return false;
            }
            o->messages = value;
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WorkingFolder() {
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof path, path);
    return path;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

std::string PluginPath(const ShellOptions& o) {
    if (!o.plugin.empty())
        return FullPath(o.plugin);
    std::string beside = ProgramFolder() + "\\Tarnwick.dll";
    if (FileExists(beside))
        return beside;
    return FullPath(FolderOf(WorkingFolder()) + "\\startup\\Tarnwick.dll");
}

std::vector<std::string> MenuFilePaths(const ShellOptions& o, const std::string& plugin) {
    if (!o.menus.empty())
        return o.menus;
    std::vector<std::string> paths;
    WIN32_FIND_DATAA found;
    std::string folder = FolderOf(plugin);
    HANDLE h = FindFirstFileA((folder + "\\*.men").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            paths.push_back(folder + "\\" + found.cFileName);
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    std::sort(paths.begin(), paths.end()); // the host reads them in name order
    return paths;
}

void ConfigureHost(const ShellOptions& o) {
    HostConfig_Reset();
    HostConfig_SetRelease(o.release.c_str());
    HostConfig_SetModule(o.module);
    for (const HostButtonSetting& b : o.buttons)
        HostConfig_AddButton(b.name.c_str(), b.id);
    if (!o.tarnwick_dir.empty())
        HostConfig_SetVariable("TARNWICK_DIR", FullPath(o.tarnwick_dir).c_str());
    bool boxes = o.messages.empty() ? o.script.empty() : o.messages == "box";
    HostConfig_SetInteractiveMessages(boxes ? 1 : 0);
}

std::string HostUiLibrary(const ShellOptions& o) {
    if (o.ui_library == "none")
        return std::string();
    if (!o.ui_library.empty())
        return FullPath(o.ui_library);
    std::string beside = ProgramFolder() + "\\libugui.dll";
    return FileExists(beside) ? beside : std::string();
}

std::string TarnwickDir(const ShellOptions& o) {
    if (!o.tarnwick_dir.empty())
        return WithoutTrailingSlashes(FullPath(o.tarnwick_dir));
    char value[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableA("TARNWICK_DIR", value, sizeof value);
    return n > 0 && n < sizeof value ? WithoutTrailingSlashes(value) : std::string();
}

bool WriteShellOutput(const std::string& path, const std::string& bytes) {
    if (!path.empty()) {
        FILE* f = fopen(path.c_str(), "wb");
        if (!f)
            return false;
        bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return fclose(f) == 0 && ok;
    }
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        // A GUI program started from a console has no standard output of its own.
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return false;
        out = GetStdHandle(STD_OUTPUT_HANDLE);
    }
    DWORD written = 0;
    return WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}
