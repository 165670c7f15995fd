#include "plugin_host.h"

namespace tarnwick_test {

PluginHost::PluginHost() = default;

PluginHost::~PluginHost() {
    if (module_)
        Unload();
}

bool PluginHost::Load() {
    return Load(ProgramFolder() + "\\Tarnwick.dll");
}

bool PluginHost::Load(const std::string& path) {
    module_ = LoadLibraryA(path.c_str());
    return module_ != nullptr;
}

int PluginHost::StartUp() {
    int status = -1;
    driving::CallStartUp(module_, &status);
    return status;
}

int PluginHost::AskUnload() {
    int answer = -1;
    driving::CallAskUnload(module_, &answer);
    return answer;
}

void PluginHost::Unload() {
    if (!module_)
        return;
    AskUnload();
    driving::CallCleanup(module_);
    FreeLibrary(module_);
    module_ = nullptr;
    // The host forgets the actions of an unloaded library.
    HostActions_Clear();
}

void ResetHost() {
    HostConfig_Reset();
    HostRecord_Clear();
    HostActions_Clear();
    SetCurrentDirectoryA((StageFolder() + "\\UGII").c_str());
}

} // namespace tarnwick_test
