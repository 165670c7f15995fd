#include "plugin_module.h"

namespace {
HINSTANCE Module = nullptr;
int RunningHandlers = 0; // one thread: the host's user-interface thread
} // namespace

void SetPluginModule(HINSTANCE instance) {
    Module = instance;
}
HINSTANCE PluginModule() {
    return Module;
}

PluginHandlerScope::PluginHandlerScope() {
    ++RunningHandlers;
}
PluginHandlerScope::~PluginHandlerScope() {
    --RunningHandlers;
}
bool PluginHandlerRunning() {
    return RunningHandlers > 0;
}
