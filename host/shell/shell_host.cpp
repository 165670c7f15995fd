#include "shell_host.h"

#include <windows.h>

#include "host_core.h"

namespace {

// The tag of the part the shell "displays" while a part is open; any non-zero value.
const unsigned int OpenPartTag = 40321;
const char* const OpenPartName = "model1.prt";

} // namespace

const std::vector<HostButtonSetting>& DefaultHostButtons() {
    static const std::vector<HostButtonSetting> buttons = {
        {"UG_MODELING_LINE", 4711},      {"UG_MODELING_ARC", 4712},
        {"UG_MODELING_CIRCLE", 4713},    {"UG_MODELING_EXTRUDE", 4720},
        {"UG_MODELING_REVOLVE", 4721},   {"UG_MODELING_HOLE", 4730},
        {"UG_MODELING_BLEND", 4731},     {"UG_MODELING_CHAMFER", 4732},
        {"UG_DRAFTING_DIMENSION", 5101}, {"UG_EDIT_UNDO", 1201},
        {"UG_EDIT_DELETE", 1202},        {"UG_VIEW_FIT", 1301},
        {"UG_FILE_SAVE", 1102},
    };
    return buttons;
}

const std::vector<ApplicationModule>& ApplicationModules() {
    // The host's published application numbers, as a real seat reports them; 0 while
    // no application is entered.
    static const std::vector<ApplicationModule> modules = {
        {0, "无应用模块"}, {1, "制图"}, {16, "加工"}, {40, "建模"}, {48, "基本环境"},
    };
    return modules;
}

std::string ModuleLabel(int number) {
    for (const ApplicationModule& m : ApplicationModules())
        if (m.number == number)
            return std::to_string(number) + " " + m.name;
    return std::to_string(number);
}

void ShellNote(const std::string& tag, const std::string& text) {
    std::string note = tag + " " + text;
    HostRecord_Add(HOST_EV_NOTE, 0, note.c_str(), note.size());
}

HMODULE ShellLoadUiLibrary(const std::string& path) {
    if (path.empty()) {
        ShellNote("ui", "libugui.dll not loaded");
        return nullptr;
    }
    HMODULE module = LoadLibraryA(path.c_str());
    ShellNote("ui", module ? "libugui.dll loaded from " + path
                           : "libugui.dll not loaded: " + path + " failed, error " +
                                 std::to_string(GetLastError()));
    return module;
}

void ShellSetModule(int number) {
    HostConfig_SetModule(number);
    ShellNote("module", ModuleLabel(number));
    ShellUpdateTitle();
}

void ShellSetPartOpen(bool open) {
    HostConfig_SetDisplayPart(open ? OpenPartTag : 0);
    ShellNote("part", open ? std::string("open ") + OpenPartName : std::string("closed"));
    ShellUpdateTitle();
}

bool ShellPartOpen() {
    return HostConfig_DisplayPart() != 0;
}

void ShellUpdateTitle() {
    HWND main = HostWindow_Handle();
    if (!main)
        return;
    std::string module = ModuleLabel(HostConfig_Module());
    size_t space = module.find(' ');
    std::string title =
        std::string("NX (stand-in host) - ") +
        (space == std::string::npos ? module : module.substr(space + 1)) + " - " +
        (ShellPartOpen() ? std::string("[") + OpenPartName + "]" : std::string("无部件"));
    SetWindowTextA(main, title.c_str());
}
