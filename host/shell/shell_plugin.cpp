#include "shell_plugin.h"

#include "host_core.h"
#include "plugin_library.h"
#include "shell_host.h"

HMODULE LoadPlugin(const std::string& path) {
    ShellNote("load", path);
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        ShellNote("load", "failed, error " + std::to_string(GetLastError()));
        return nullptr;
    }
    if (!driving::ProcAddress<void (*)(void)>(module, "ufsta")) {
        ShellNote("start", "no ufsta in the plug-in");
        return module;
    }
    ShellNote("start", "ufsta");
    int status = -1;
    driving::CallStartUp(module, &status);
    ShellNote("start", "ufsta -> status " + std::to_string(status));
    return module;
}

void UnloadPlugin(HMODULE module) {
    if (!module)
        return;
    int answer = 0;
    std::string line = driving::CallAskUnload(module, &answer)
                           ? "ufusr_ask_unload -> " + std::to_string(answer)
                           : "no ufusr_ask_unload";
    if (driving::CallCleanup(module))
        line += "; ufusr_cleanup";
    FreeLibrary(module);
    // The host forgets the actions of a library it unloaded.
    HostActions_Clear();
    ShellNote("exit", line + "; unloaded");
}
