// The plug-in's entries: the host calls ufsta once at start-up, and ufusr_ask_unload
// and ufusr_cleanup before it unloads the library.
#include <windows.h>

#include "code_page_check.h"
#include "data_locations.h"
#include "host_report.h"
#include "keyboard_hook.h"
#include "menu_actions.h"
#include "plugin_module.h"
#include "shortcut_editors.h"
#include "shortcut_store.h"
#include "site_table.h"
#include "startup_trace.h"
#include "uf_host.h"

namespace {

// The host keeps the addresses of the menu actions and cannot be asked to forget them,
// and the hook is in the thread's chain: the library may go only when the host ends.
enum { UnloadWhenHostTerminates = 3 };

void StartUp(int* retcode) {
    if (ReportUfError(131, "UF_initialize()", UF_initialize()) != 0) {
        *retcode = 1;
        return;
    }
    BeginStartUpTrace();
    LocateDataFile("button_id.ini", ShortcutTablePath);
    LocateDataFile("Tarnwick.macro", MacroFilePath);
    LocateDataFile("chick.ini", SettingsFilePath);
    LocateUiLibrary();
    LocateSiteTable();
    TraceStartUpFacts();
    RefreshSiteTable("start-up");
    RegisterMenuActions();
    SpaceMode = ReadSpaceModeSetting(SettingsFilePath);
    if (ProcessCodePageIsGbk())
        RestoreEnabledState();
    else
        ReportForeignCodePage();
    ReportUfError(191, "UF_terminate()", UF_terminate());
    *retcode = 0;
}

} // namespace

extern "C" {

void ufsta(char* /*param*/, int* retcode, int /*param_len*/) {
    int status = 1;
    try {
        StartUp(&status);
    } catch (...) {
        // Nothing may cross into the host; a start-up that threw is a failed one.
        status = 1;
    }
    if (retcode)
        *retcode = status;
}

int ufusr_ask_unload(void) {
    return UnloadWhenHostTerminates;
}

void ufusr_cleanup(void) {
    // After this call no code of the plug-in may stay reachable: neither the hook
    // procedure nor an editor's window procedure.
    try {
        RemoveKeyboardHookQuietly();
        DestroyAllShortcutEditors();
        EndTrace();
    } catch (...) {
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetPluginModule(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

} // extern "C"
