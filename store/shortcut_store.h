// The two INI files of the data folder, in one place: button_id.ini holds the
// shortcut table (one section per scope) and MODE; chick.ini holds CHECK1. Every
// access goes through the platform's profile service, which reads the file afresh on
// each call; nothing of the table is cached.
//
// A table line:  ShortcutText=ButtonName=CommandText=ScopeText=SectionName
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "table_writes.h"

// Section and key names (the same text for both) and the read default.
extern const char ModeSection[];     // "MODE": shortcuts on ("1") or off ("0")
extern const char SettingsSection[]; // "CHECK1": Space mode on ("1") or off ("0")
extern const char ProfileDefault[];  // "Error"

// Scope texts; the global and custom ones also name their sections.
extern const char ModuleScope[];   // "仅应用模块": this application module only
extern const char GlobalSection[]; // "全局"
extern const char CustomSection[]; // "二次开发"

enum { StartupValueSize = 260, ModuleNumberTextSize = 64 };

// The lookup reads a value into 256 bytes, so a value longer than 255 bytes is cut. A
// typed code holds at most five characters (bytes); a longer one is reset.
enum { LookupValueSize = 256, ShortcutTextMax = 5 };

// The decimal text of an application-module number, as it names a module section.
void FormatModuleNumber(int module_id, char* text, size_t size);

// The section (and fifth field) an entry of the given scope goes to: the module's
// number for ModuleScope, the scope text itself otherwise. Scopes compare whole,
// byte for byte.
std::string SectionForScope(const char* scope, int module_id);

// ButtonName=CommandText=ScopeText=SectionName, joined with nothing else between.
std::string BuildEntryValue(const char* button_name, const char* command_text,
                            const char* scope_text, const char* section_name);

// Splits a stored line (or value) at "=" by the tokenising rule: runs of "=" count as
// one separator and an "=" at either end yields no field.
std::vector<std::string> SplitEntryLine(const char* line);

// The first field of a value (the button name), or an empty text when it has none.
std::string ButtonNameOfValue(const char* value);

// The profile service on one of the two files. An empty path (the file was not found
// at start-up) reads as a missing file and is never written (table_writes.h): the
// platform would take a bare name for a file in the Windows folder. A read returns the
// length the profile service reports: size - 1 when the value did not fit, or just
// filled the buffer.
unsigned ReadProfileText(const char* path, const char* section, const char* key,
                         const char* default_text, char* buffer, unsigned size);

// The copy of CHECK1 the keystroke filter works from: exactly 1 selects Space mode, any
// other value immediate mode. Read at start-up, set with CHECK1 by the editor's box.
extern int SpaceMode;

// Reads CHECK1 with the start-up rules (default "Error", 260-byte buffer, atoi).
int ReadSpaceModeSetting(const char* settings_path);
// Written like the table: refused for a file that is not GBK text or whose lock another
// writer holds.
TableWrite WriteSpaceModeSetting(const char* settings_path, int on);

// MODE: only the exact text "1" means on. The write is a table write like any other,
// with the session's backup before it; TableWriteNotice says what to tell the user.
bool ReadShortcutsEnabledSetting(const char* table_path);
TableWrite WriteShortcutsEnabledSetting(const char* table_path, int on);
