// Resolving the typed code against button_id.ini and running what the entry names.
#pragma once

#include "keystroke_port.h"
#include "typed_shortcut.h"

// Looks the typed code up in the current module's section, then "全局", then
// "二次开发", in the table at table_path and then in the local copy of the site's table
// (none: empty or null), and launches the first hit. A hit whose value
// is longer than the 255 bytes read runs nothing: the user is told, and the code is
// emptied. The host is reached only through the port.
void ShortcutLookup(TypedCode& typed, LookupVariant variant, const char* table_path,
                    const char* site_copy_path, KeystrokePort& port);

// Posts the host button's command id to the host's main window, then empties the
// typed code and the status line (also when the host knows no such button).
void MenuButtonLaunch(TypedCode& typed, const char* button_name, KeystrokePort& port);
