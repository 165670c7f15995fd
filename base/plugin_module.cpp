#include "plugin_module.h"

namespace {
HINSTANCE Module = nullptr;
}

void SetPluginModule(HINSTANCE instance) {
    Module = instance;
}
HINSTANCE PluginModule() {
    return Module;
}
