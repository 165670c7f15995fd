#include "startup_trace.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "data_locations.h"
#include "pe_image.h"
#include "plugin_module.h"
#include "trace.h"
#include "uf_host.h"
#include "write_report.h"

namespace {

enum { VersionResourceId = 1, VersionTextSize = 64 };
const DWORD FixedInfoSignature = 0xFEEF04BD;

void TraceFileWrite(const char* path, const char* what, bool written) {
    Trace("write \"%s\" %s: %s", path, what, written ? "written" : "FAILED");
}

// The file version of the plug-in's own version record.
void PluginVersion(char* text, size_t size) {
    snprintf(text, size, "%s", "unknown");
    HMODULE module = PluginModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(VersionResourceId),
                                MAKEINTRESOURCEA(16)); // RT_VERSION
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    DWORD bytes = found ? SizeofResource(module, found) : 0;
    // The fixed part follows the record's header and its key, at a four-byte boundary.
    for (DWORD at = 0; data && at + sizeof(VS_FIXEDFILEINFO) <= bytes; at += 4) {
        VS_FIXEDFILEINFO info;
        memcpy(&info, data + at, sizeof info);
        if (info.dwSignature == FixedInfoSignature) {
            snprintf(text, size, "%u.%u.%u.%u", HIWORD(info.dwFileVersionMS),
                     LOWORD(info.dwFileVersionMS), HIWORD(info.dwFileVersionLS),
                     LOWORD(info.dwFileVersionLS));
            return;
        }
    }
}

void TraceDataFile(const char* name, const char* path) {
    if (path[0])
        Trace("%s \"%s\"", name, path);
    else
        Trace("%s not found in the data folder (empty path: never read or written)", name);
}

// The library the host has loaded is asked directly; one it has not loaded is read from
// disk, so that nothing of it runs before the host loads it.
const char* PlaybackExport() {
    if (!UiLibraryPath[0])
        return "no path";
    if (HMODULE loaded = GetModuleHandleA(UiLibraryPath))
        return GetProcAddress(loaded, UF_MACRO_PLAYBACK_SYMBOL) ? "exports" : "does NOT export";
    PeImage image = ReadPeImage(UiLibraryPath);
    if (!image.valid)
        return image.error ? "cannot be read" : "is no 64-bit library";
    return ExportsName(image, UF_MACRO_PLAYBACK_SYMBOL) ? "exports" : "does NOT export";
}

} // namespace

void BeginStartUpTrace() {
    StartTrace();
    SetFileWriteListener(TraceOn ? TraceFileWrite : nullptr);
}

void TraceStartUpFacts() {
    if (!TraceOn)
        return;
    char version[VersionTextSize] = {};
    PluginVersion(version, sizeof version);
    char module_path[MAX_PATH] = {};
    GetModuleFileNameA(PluginModule(), module_path, sizeof module_path);
    Trace("start: Tarnwick %s \"%s\", trace \"%s\"", version, module_path, TracePath());

    char* release = nullptr;
    UF_get_release(&release);
    Trace("host release \"%s\"", release ? release : "");
    if (release)
        UF_free(release);
    Trace("ANSI code page %u", GetACP());
    char* install = nullptr;
    UF_translate_variable("TARNWICK_DIR", &install);
    if (install)
        Trace("TARNWICK_DIR \"%s\"", install);
    else
        Trace("TARNWICK_DIR not set");
    TraceDataFile("button_id.ini", ShortcutTablePath);
    TraceDataFile("Tarnwick.macro", MacroFilePath);
    TraceDataFile("chick.ini", SettingsFilePath);

    char working[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof working, working);
    Trace("working folder \"%s\"", working);
    Trace("UI library \"%s\", %s by the host; it %s %s", UiLibraryPath,
          GetModuleHandleA("libugui.dll") ? "loaded" : "not loaded", PlaybackExport(),
          UF_MACRO_PLAYBACK_SYMBOL);
    int module_id = 0;
    UF_ask_application_module(&module_id);
    Trace("application module %d", module_id);
}

void EndTrace() {
    Trace("unload");
    SetFileWriteListener(nullptr);
    StopTrace();
}
