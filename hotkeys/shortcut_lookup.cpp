#include "shortcut_lookup.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "macro_playback.h"
#include "data_locations.h"
#include "shortcut_store.h"
#include "typed_shortcut.h"
#include "uf_host.h"

namespace {

enum { ProfileResultSize = LookupValueSize };

// The value of the entry read last; every read overwrites it.
char ProfileResult[ProfileResultSize];

// Each read has its own default; a result equal to it, byte for byte, is a miss.
const char ModuleSentinel[] = "应用模块没有";
const char GlobalSentinel[] = "快捷键有误";
const char CustomSentinel[] = "二次开发没有";

const char TableOpenFailed[] = "打开快捷键.ini文件时失败";
const char WrongShortcut[] = "输入快捷键有误，请重新输入!";
const char CommandFailed[] = "打开命令失败!";

enum { MessageNotice = 1, MessageWarning = 0 };

// True on a hit: ProfileResult then holds the entry's value.
bool ReadEntry(const char* section, const char* sentinel) {
    ReadProfileText(ShortcutTablePath, section, TypedShortcut, sentinel, ProfileResult,
                    sizeof ProfileResult);
    return strcmp(ProfileResult, sentinel) != 0;
}

void AnswerMiss(LookupVariant variant) {
    if (variant != LookupVariant::Space)
        return;
    uc1601(WrongShortcut, MessageWarning);
    // The status line keeps the code, so the user sees what was wrong.
    memset(TypedShortcut, 0, sizeof TypedShortcut);
}

enum class Hit { None, HostButton, CustomButton };

// The search order is fixed: the first section that holds the code wins.
Hit FindEntry(const char* module_section) {
    if (ReadEntry(module_section, ModuleSentinel))
        return Hit::HostButton;
    if (ReadEntry(GlobalSection, GlobalSentinel))
        return Hit::HostButton;
    if (ReadEntry(CustomSection, CustomSentinel))
        return Hit::CustomButton;
    return Hit::None;
}

} // namespace

void ShortcutLookup(LookupVariant variant) {
    int module_id = 0;
    UF_ask_application_module(&module_id);
    char module_section[ModuleNumberTextSize] = {};
    FormatModuleNumber(module_id, module_section, sizeof module_section);

    // Only an existence test: the profile service reads the file by path.
    FILE* table = fopen(ShortcutTablePath, "r");
    if (!table) {
        uc1601(TableOpenFailed, MessageNotice);
        return;
    }

    Hit hit = FindEntry(module_section);
    std::string button_name = hit == Hit::None ? std::string() : ButtonNameOfValue(ProfileResult);
    switch (hit) {
    case Hit::HostButton:
        // A value with no first field ("" or only "=") names no button; the host is
        // never asked for a missing name, and the user hears of the wrong code.
        if (button_name.empty())
            AnswerMiss(variant);
        else
            MenuButtonLaunch(button_name.c_str());
        break;
    case Hit::CustomButton:
        if (MacroPlayback(button_name.c_str()) != MacroPlayed) {
            uc1601(CommandFailed, MessageNotice);
            AnswerMiss(variant);
        }
        break;
    case Hit::None:
        AnswerMiss(variant);
        break;
    }
    fclose(table);
}

void MenuButtonLaunch(const char* button_name) {
    int button_id = 0;
    HWND main_window = static_cast<HWND>(UF_UI_get_default_parent());
    UF_MB_ask_button_id(button_name, &button_id);
    // A post to no window would go to the thread's queue, where nothing runs it.
    if (button_id != 0 && main_window) {
        // The host runs the command from its own loop after the hook has returned.
        PostMessageA(main_window, WM_COMMAND, static_cast<WPARAM>(static_cast<INT_PTR>(button_id)),
                     0);
    }
    ClearTypedShortcutAfterLaunch();
}
