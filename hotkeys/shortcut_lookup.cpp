#include "shortcut_lookup.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "macro_playback.h"
#include "shortcut_store.h"
#include "site_copy.h"
#include "table_probes.h"
#include "trace.h"
#include "typed_code_rules.h"

namespace {

const char TableOpenFailed[] = "打开快捷键.ini文件时失败";
const char WrongShortcut[] = "输入快捷键有误，请重新输入!";
const char CommandFailed[] = "打开命令失败!";
const char ValueTooLong[] =
    "快捷键 %s 的内容过长（超过255字节），未执行任何命令，请在快捷键设置中缩短！";

enum { MessageNotice = 1, MessageWarning = 0, MessageSize = 512 };

enum class Hit { None, HostButton, CustomButton, TooLong };

// One read: (table, section, code). The read reports its whole room both for a value it
// cut and for one that just fills it: one byte more of room tells them apart.
bool ValueFitsTheRead(const char* table, const LookupSection& s, const char* code) {
    char wider[LookupValueSize + 1] = {};
    unsigned length = ReadProfileText(table, s.section, code, s.miss_default, wider, sizeof wider);
    return ValueFitsTheLookup(length);
}

// On a hit value holds the entry's whole value.
Hit ReadEntryOnce(const char* table, const LookupSection& s, const char* code,
                  char (&value)[LookupValueSize]) {
    // The profile service leaves the place of a double-byte character it had to cut
    // unwritten: no byte of an earlier read may stand there.
    memset(value, 0, sizeof value);
    unsigned length = ReadProfileText(table, s.section, code, s.miss_default, value, sizeof value);
    if (strcmp(value, s.miss_default) == 0)
        return Hit::None;
    if (length >= sizeof value - 1 && !ValueFitsTheRead(table, s, code))
        return Hit::TooLong;
    return s.target == LookupTarget::HostButton ? Hit::HostButton : Hit::CustomButton;
}

Hit ReadEntry(const char* table, const LookupSection& s, const char* code,
              char (&value)[LookupValueSize]) {
    Hit found = ReadEntryOnce(table, s, code, value);
    bool hit = found == Hit::HostButton || found == Hit::CustomButton;
    Trace("read [%s] %s: %s%s%s%s", s.section, code,
          found == Hit::None      ? "miss"
          : found == Hit::TooLong ? "too long"
                                  : "hit",
          hit ? " \"" : "", hit ? value : "", hit ? "\"" : "");
    return found;
}

// The user's table, then the local copy of the site's (never the site's file itself),
// each in its sections in the lookup's order; the first that holds the code wins.
Hit FindEntry(const char* table_path, const char* site_copy_path, const char* module_section,
              const char* code, char (&value)[LookupValueSize]) {
    LookupSection sections[LookupSectionCount];
    LookupSectionsInOrder(module_section, sections);
    const char* const tables[] = {table_path, site_copy_path};
    for (const char* table : tables) {
        if (!table || !table[0])
            continue;
        bool site = table == site_copy_path;
        if (site)
            Trace("lookup: the site's copy \"%s\"", table);
        for (const LookupSection& s : sections) {
            // The copy changes only when it is refreshed, which notes its keys: a section
            // that does not hold the code is not read.
            if (site && !SiteCopyMayHold(s.section, code))
                continue;
            Hit hit = ReadEntry(table, s, code, value);
            if (hit != Hit::None)
                return hit;
        }
    }
    return Hit::None;
}

void AnswerMiss(TypedCode& typed, LookupVariant variant, KeystrokePort& port) {
    if (variant != LookupVariant::Space)
        return;
    port.ShowMessage(WrongShortcut, MessageWarning);
    // The status line keeps the code, so the user sees what was wrong.
    memset(typed.TypedShortcut, 0, sizeof typed.TypedShortcut);
}

// The entry was found, so the code is done with in either mode; it is emptied before the
// message, whose loop may take the user's next keys into it.
void AnswerValueTooLong(TypedCode& typed, const char* code, KeystrokePort& port) {
    char message[MessageSize];
    snprintf(message, sizeof message, ValueTooLong, code);
    ClearTypedShortcutAfterLaunch(typed, port);
    port.ShowMessage(message, MessageNotice);
}

} // namespace

void ShortcutLookup(TypedCode& typed, LookupVariant variant, const char* table_path,
                    const char* site_copy_path, KeystrokePort& port) {
    // The code as it stands now: a message's loop may take new keys into the buffer.
    char code[TypedShortcutSize];
    memcpy(code, typed.TypedShortcut, sizeof code);
    code[sizeof code - 1] = '\0';

    int module_id = port.ApplicationModule();
    char module_section[ModuleNumberTextSize] = {};
    FormatModuleNumber(module_id, module_section, sizeof module_section);

    Trace("lookup %s code \"%s\" module %d table \"%s\"",
          variant == LookupVariant::Space ? "space" : "immediate", code, module_id, table_path);
    if (!TableFileExists(table_path)) {
        Trace("lookup: the table does not open (system error %lu)", GetLastError());
        port.ShowMessage(TableOpenFailed, MessageNotice);
        return;
    }

    char value[LookupValueSize];
    Hit hit = FindEntry(table_path, site_copy_path, module_section, code, value);
    std::string button_name = hit == Hit::HostButton || hit == Hit::CustomButton
                                  ? ButtonNameOfValue(value)
                                  : std::string();
    switch (hit) {
    case Hit::HostButton:
        // A value with no first field ("" or only "=") names no button; the host is
        // never asked for a missing name, and the user hears of the wrong code.
        if (button_name.empty()) {
            Trace("lookup: the entry names no button");
            AnswerMiss(typed, variant, port);
        } else {
            MenuButtonLaunch(typed, button_name.c_str(), port);
        }
        break;
    case Hit::CustomButton:
        if (port.PlayMacro(button_name.c_str()) == MacroPlayed) {
            ClearTypedShortcutAfterLaunch(typed, port);
        } else {
            port.ShowMessage(CommandFailed, MessageNotice);
            AnswerMiss(typed, variant, port);
        }
        break;
    case Hit::TooLong:
        AnswerValueTooLong(typed, code, port);
        break;
    case Hit::None:
        AnswerMiss(typed, variant, port);
        break;
    }
}

void MenuButtonLaunch(TypedCode& typed, const char* button_name, KeystrokePort& port) {
    HWND main_window = port.MainWindow();
    int button_id = port.ButtonId(button_name);
    // A post to no window would go to the thread's queue, where nothing runs it.
    bool posted = false;
    if (button_id != 0 && main_window) {
        // The host runs the command from its own loop after the hook has returned.
        posted = port.PostCommand(main_window, button_id);
    }
    Trace("button \"%s\" id %d: %s", button_name, button_id,
          posted           ? "WM_COMMAND posted to the host's main window"
          : button_id == 0 ? "the host knows no such button, nothing posted"
          : !main_window   ? "the host gave no main window, nothing posted"
                           : "the post failed");
    ClearTypedShortcutAfterLaunch(typed, port);
}
