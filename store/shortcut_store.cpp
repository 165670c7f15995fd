#include "shortcut_store.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "write_report.h"

// The system's Chinese texts must be GBK bytes at run time (two bytes a character); a
// build that kept them as UTF-8 would write files and compare sections wrongly. Every
// target is compiled with the same character set, so one check guards them all.
static_assert(sizeof("全局") == 5, "narrow literals must be compiled to GBK (code page 936)");

const char ModeSection[] = "MODE";
const char SettingsSection[] = "CHECK1";
const char ProfileDefault[] = "Error";
const char ModuleScope[] = "仅应用模块";
const char GlobalSection[] = "全局";
const char CustomSection[] = "二次开发";

int SpaceMode = 0;

void FormatModuleNumber(int module_id, char* text, size_t size) {
    if (size > 0)
        snprintf(text, size, "%d", module_id);
}

std::string SectionForScope(const char* scope, int module_id) {
    if (strcmp(scope, ModuleScope) == 0) {
        char number[ModuleNumberTextSize];
        FormatModuleNumber(module_id, number, sizeof number);
        return number;
    }
    return scope;
}

std::string BuildEntryValue(const char* button_name, const char* command_text,
                            const char* scope_text, const char* section_name) {
    std::string value = button_name;
    value += '=';
    value += command_text;
    value += '=';
    value += scope_text;
    value += '=';
    value += section_name;
    return value;
}

std::vector<std::string> SplitEntryLine(const char* line) {
    std::vector<std::string> fields;
    const char* p = line;
    while (*p) {
        while (*p == '=')
            ++p;
        const char* start = p;
        while (*p && *p != '=')
            ++p;
        if (p > start)
            fields.emplace_back(start, static_cast<size_t>(p - start));
    }
    return fields;
}

std::string ButtonNameOfValue(const char* value) {
    const char* p = value;
    while (*p == '=')
        ++p;
    const char* end = strchr(p, '=');
    return end ? std::string(p, static_cast<size_t>(end - p)) : std::string(p);
}

unsigned ReadProfileText(const char* path, const char* section, const char* key,
                         const char* default_text, char* buffer, unsigned size) {
    if (size == 0)
        return 0;
    if (!path || !*path) {
        snprintf(buffer, size, "%s", default_text);
        return static_cast<unsigned>(strlen(buffer));
    }
    return GetPrivateProfileStringA(section, key, default_text, buffer, size, path);
}

void WriteProfileText(const char* path, const char* section, const char* key, const char* value) {
    if (!path || !*path)
        return;
    BOOL written = WritePrivateProfileStringA(section, key, value, path);
    ReportFileWrite(path,
                    ("[" + std::string(section) + "] " + key + (value ? "=" : " removed") +
                     (value ? value : ""))
                        .c_str(),
                    written != FALSE);
}

int ReadSpaceModeSetting(const char* settings_path) {
    char value[StartupValueSize] = {};
    ReadProfileText(settings_path, SettingsSection, SettingsSection, ProfileDefault, value,
                    sizeof value);
    return atoi(value);
}

void WriteSpaceModeSetting(const char* settings_path, int on) {
    WriteProfileText(settings_path, SettingsSection, SettingsSection, on ? "1" : "0");
}

bool ReadShortcutsEnabledSetting(const char* table_path) {
    char value[StartupValueSize] = {};
    ReadProfileText(table_path, ModeSection, ModeSection, ProfileDefault, value, sizeof value);
    return strcmp(value, "1") == 0;
}

TableWrite WriteShortcutsEnabledSetting(const char* table_path, int on) {
    return WriteTableEntry(table_path, ModeSection, ModeSection, on ? "1" : "0");
}
