// The plug-in's own module handle: dialog templates and other resources come from the
// DLL, never from the host program.
#pragma once

#include <windows.h>

void SetPluginModule(HINSTANCE instance);
HINSTANCE PluginModule();
