// The host shell's side of the plug-in's life: loading and starting it, unloading it
// at exit, each step noted in the record.
#pragma once

#include <windows.h>

#include <string>

// LoadLibrary and ufsta; null when the library does not load.
HMODULE LoadPlugin(const std::string& path);
// ufusr_ask_unload, ufusr_cleanup, FreeLibrary; the host then forgets its actions.
void UnloadPlugin(HMODULE module);
