// The plug-in's own module handle: dialog templates and other resources come from the
// DLL, never from the host program.
#pragma once

#include <windows.h>

void SetPluginModule(HINSTANCE instance);
HINSTANCE PluginModule();

// Marks one of the plug-in's window handlers as running, for as long as the object
// lives (handlers nest through the message loops of the boxes they show). A message box
// shown meanwhile, the plug-in's own or the host's, belongs to that handler.
class PluginHandlerScope {
  public:
    PluginHandlerScope();
    ~PluginHandlerScope();
    PluginHandlerScope(const PluginHandlerScope&) = delete;
    PluginHandlerScope& operator=(const PluginHandlerScope&) = delete;
};
bool PluginHandlerRunning();
