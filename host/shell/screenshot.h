// Screenshots of the host's windows as PNG files (meaningful only on a graphics driver
// that paints: the null driver paints nothing).
#pragma once

#include <windows.h>

#include <string>

// Saves what the window shows, frame included. error receives the reason on failure.
bool SaveWindowScreenshot(HWND window, const std::string& path, std::string* error);
