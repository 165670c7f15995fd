#include "shortcut_lookup.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "macro_playback.h"
#include "data_locations.h"
#include "host_message.h"
#include "shortcut_store.h"
#include "site_copy.h"
#include "trace.h"
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
const char ValueTooLong[] =
    "快捷键 %s 的内容过长（超过255字节），未执行任何命令，请在快捷键设置中缩短！";

enum { MessageNotice = 1, MessageWarning = 0, MessageSize = 512 };

enum class Hit { None, HostButton, CustomButton, TooLong };

// The read reports its whole room both for a value it cut and for one that just fills
// it: one byte more of room tells them apart.
bool ValueFitsTheRead(const char* table, const char* section, const char* sentinel) {
    char wider[ProfileResultSize + 1] = {};
    unsigned length = ReadProfileText(table, section, TypedShortcut, sentinel, wider, sizeof wider);
    return length < sizeof wider - 1;
}

// On a hit ProfileResult holds the entry's whole value.
Hit ReadEntryOnce(const char* table, const char* section, const char* sentinel, Hit hit) {
    // The profile service leaves the place of a double-byte character it had to cut
    // unwritten: no byte of an earlier read may stand there.
    memset(ProfileResult, 0, sizeof ProfileResult);
    unsigned length = ReadProfileText(table, section, TypedShortcut, sentinel, ProfileResult,
                                      sizeof ProfileResult);
    if (strcmp(ProfileResult, sentinel) == 0)
        return Hit::None;
    // A cut value may name a button that is not the entry's.
    if (length >= sizeof ProfileResult - 1 && !ValueFitsTheRead(table, section, sentinel))
        return Hit::TooLong;
    return hit;
}

Hit ReadEntry(const char* table, const char* section, const char* sentinel, Hit hit) {
    Hit found = ReadEntryOnce(table, section, sentinel, hit);
    Trace("read [%s] %s: %s%s%s%s", section, TypedShortcut,
          found == Hit::None      ? "miss"
          : found == Hit::TooLong ? "too long"
                                  : "hit",
          found == hit ? " \"" : "", found == hit ? ProfileResult : "", found == hit ? "\"" : "");
    return found;
}

// The search order is fixed: the user's table, then the local copy of the site's (never
// the site's file itself), each in its three sections; the first that holds the code wins.
Hit FindEntry(const char* module_section) {
    const char* const tables[] = {ShortcutTablePath, SiteCopyPath};
    Hit hit = Hit::None;
    for (const char* table : tables) {
        if (!table[0])
            continue;
        if (table == SiteCopyPath)
            Trace("lookup: the site's copy \"%s\"", table);
        // The copy changes only when it is refreshed, which notes its keys: a section
        // that does not hold the code is not read.
        auto read = [table](const char* section, const char* sentinel, Hit kind) {
            if (table == SiteCopyPath && !SiteCopyMayHold(section, TypedShortcut))
                return Hit::None;
            return ReadEntry(table, section, sentinel, kind);
        };
        hit = read(module_section, ModuleSentinel, Hit::HostButton);
        if (hit == Hit::None)
            hit = read(GlobalSection, GlobalSentinel, Hit::HostButton);
        if (hit == Hit::None)
            hit = read(CustomSection, CustomSentinel, Hit::CustomButton);
        if (hit != Hit::None)
            break;
    }
    return hit;
}

// Only an existence test: the profile service reads the file by path. Shared for
// reading and writing, so that nobody else's open of the table is refused meanwhile.
bool TableOpens() {
    HANDLE table = CreateFileA(ShortcutTablePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (table == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(table);
    return true;
}

void AnswerMiss(LookupVariant variant) {
    if (variant != LookupVariant::Space)
        return;
    HostMessage(WrongShortcut, MessageWarning);
    // The status line keeps the code, so the user sees what was wrong.
    memset(TypedShortcut, 0, sizeof TypedShortcut);
}

// The entry was found, so the code is done with in either mode; it is emptied before the
// message, whose loop may take the user's next keys into it.
void AnswerValueTooLong() {
    char message[MessageSize];
    snprintf(message, sizeof message, ValueTooLong, TypedShortcut);
    ClearTypedShortcutAfterLaunch();
    HostMessage(message, MessageNotice);
}

} // namespace

void ShortcutLookup(LookupVariant variant) {
    int module_id = 0;
    UF_ask_application_module(&module_id);
    char module_section[ModuleNumberTextSize] = {};
    FormatModuleNumber(module_id, module_section, sizeof module_section);

    Trace("lookup %s code \"%s\" module %d table \"%s\"",
          variant == LookupVariant::Space ? "space" : "immediate", TypedShortcut, module_id,
          ShortcutTablePath);
    if (!TableOpens()) {
        Trace("lookup: the table does not open (system error %lu)", GetLastError());
        HostMessage(TableOpenFailed, MessageNotice);
        return;
    }

    Hit hit = FindEntry(module_section);
    std::string button_name = hit == Hit::HostButton || hit == Hit::CustomButton
                                  ? ButtonNameOfValue(ProfileResult)
                                  : std::string();
    switch (hit) {
    case Hit::HostButton:
        // A value with no first field ("" or only "=") names no button; the host is
        // never asked for a missing name, and the user hears of the wrong code.
        if (button_name.empty()) {
            Trace("lookup: the entry names no button");
            AnswerMiss(variant);
        } else {
            MenuButtonLaunch(button_name.c_str());
        }
        break;
    case Hit::CustomButton:
        if (MacroPlayback(button_name.c_str()) != MacroPlayed) {
            HostMessage(CommandFailed, MessageNotice);
            AnswerMiss(variant);
        }
        break;
    case Hit::TooLong:
        AnswerValueTooLong();
        break;
    case Hit::None:
        AnswerMiss(variant);
        break;
    }
}

void MenuButtonLaunch(const char* button_name) {
    int button_id = 0;
    HWND main_window = static_cast<HWND>(UF_UI_get_default_parent());
    UF_MB_ask_button_id(button_name, &button_id);
    // A post to no window would go to the thread's queue, where nothing runs it.
    bool posted = false;
    if (button_id != 0 && main_window) {
        // The host runs the command from its own loop after the hook has returned.
        posted = PostMessageA(main_window, WM_COMMAND,
                              static_cast<WPARAM>(static_cast<INT_PTR>(button_id)), 0) != 0;
    }
    Trace("button \"%s\" id %d: %s", button_name, button_id,
          posted           ? "WM_COMMAND posted to the host's main window"
          : button_id == 0 ? "the host knows no such button, nothing posted"
          : !main_window   ? "the host gave no main window, nothing posted"
                           : "the post failed");
    ClearTypedShortcutAfterLaunch();
}
