// Resolving the typed code against button_id.ini and running what the entry names.
#pragma once

// Space mode resolves on Space and answers a miss; immediate mode resolves after every
// taken key and stays silent on a miss, so the user can go on typing the code.
enum class LookupVariant { Space, Immediate };

// Looks TypedShortcut up in the current module's section, then "全局", then
// "二次开发", and launches the first hit. A hit whose value is longer than the 255 bytes
// read runs nothing: the user is told, and the code is emptied.
void ShortcutLookup(LookupVariant variant);

// Posts the host button's command id to the host's main window, then empties the
// typed code and the status line (also when the host knows no such button).
void MenuButtonLaunch(const char* button_name);
