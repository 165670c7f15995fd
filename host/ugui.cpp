// libugui.dll of the stand-in host: plays a macro file back. It records the file's
// bytes as they are at the moment of playback and runs the custom button that the
// last line names ("MENU, 0,<name> <menu bar>").
#include <string>

#include "file_bytes.h"
#include "host_core.h"

namespace {

std::string LastLine(const std::string& bytes) {
    size_t end = bytes.size();
    while (end > 0 && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r'))
        --end;
    size_t start = bytes.rfind('\n', end == 0 ? 0 : end - 1);
    start = (start == std::string::npos) ? 0 : start + 1;
    return bytes.substr(start, end - start);
}

// "MENU, 0,NAME UG_GATEWAY_MAIN_MENUBAR": the name runs from after "MENU, 0," to the
// last space before the menu-bar name.
bool ButtonFromMenuLine(const std::string& line, std::string* name) {
    static const std::string prefix = "MENU, 0,";
    if (line.compare(0, prefix.size(), prefix) != 0)
        return false;
    size_t space = line.rfind(' ');
    if (space == std::string::npos || space < prefix.size())
        return false;
    *name = line.substr(prefix.size(), space - prefix.size());
    return true;
}

} // namespace

extern "C" void MacroPlaybackFromUsertool(const char* macro_path, int* flag, int path_length) {
    std::string path = macro_path ? macro_path : "";
    HostRecord_Add(HOST_EV_PLAYBACK_PATH, path_length, path.c_str(), path.size());
    std::string bytes = macro_path ? driving::FileBytes(macro_path) : std::string();
    HostRecord_Add(HOST_EV_PLAYBACK, flag ? *flag : -1, bytes.data(), bytes.size());
    std::string name;
    if (ButtonFromMenuLine(LastLine(bytes), &name))
        HostRecord_Add(HOST_EV_CUSTOM_COMMAND, 0, name.c_str(), name.size());
}
