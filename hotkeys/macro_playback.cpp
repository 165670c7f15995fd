#include "macro_playback.h"

#include <cstdio>
#include <cstring>

#include "data_locations.h"
#include "host_message.h"
#include "trace.h"
#include "uf_host.h"

namespace {

// The host reads macros with CR LF line ends. The stream is binary and the pairs are
// explicit, so the bytes do not depend on the C runtime's text mode.
const char MacroHead[] = "Macro Version 7.50\r\n"
                         "Part Name Display Style: $FILENAME\r\n"
                         "*****************\r\n"
                         "MENU, 0,";
const char MacroTail[] = " UG_GATEWAY_MAIN_MENUBAR\r\n";

bool WriteMacroFile(const char* button_name) {
    if (MacroFilePath[0] == '\0')
        return false;
    FILE* file = fopen(MacroFilePath, "wb");
    if (!file)
        return false;
    // Write errors are not examined: the playback shows what the host made of the file.
    fputs(MacroHead, file);
    fputs(button_name, file);
    fputs(MacroTail, file);
    fclose(file);
    return true;
}

} // namespace

int MacroPlayback(const char* button_name) {
    if (!button_name || button_name[0] == '\0' ||
        strnlen(button_name, ButtonNameMax + 1) > ButtonNameMax) {
        HostStatusMessage("输入参数无效！");
        return MacroBadArgument;
    }
    bool written = WriteMacroFile(button_name);
    Trace("macro \"%s\" for button \"%s\": %s", MacroFilePath, button_name,
          written ? "written" : "not written");
    if (!written) {
        HostStatusMessage("宏文件创建失败！");
        return MacroFileNotCreated;
    }

    // Asked afresh every time: the host owns the library and may have replaced it.
    void (*entry)(void) = nullptr;
    int loaded = UF_load_library(UiLibraryPath, UF_MACRO_PLAYBACK_SYMBOL, &entry);
    Trace("playback library \"%s\": %s", UiLibraryPath,
          loaded != 0 ? "did not load"
          : entry     ? "loaded"
                      : "loaded, no playback function");
    if (loaded != 0)
        return MacroLibraryNotLoaded;
    if (!entry) {
        HostStatusMessage("宏播放函数指针为空！");
        return MacroBadArgument;
    }

    auto playback = reinterpret_cast<UF_macro_playback_t>(entry);
    int flag = 0;
    playback(MacroFilePath, &flag, static_cast<int>(strlen(MacroFilePath)));
    Trace("macro played back, flag %d", flag);
    return MacroPlayed;
}
