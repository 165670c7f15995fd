// The checks of one shortcut table, read as the plug-in reads it: the profile service's
// lines (the store's line reading), the lookup's order of sections (the current
// module's, then 全局, then 二次开发), its 255-byte read and its first field, and the
// keystroke filter's codes of key names.
#pragma once

#include <string>
#include <vector>

#include "check_texts.h"
#include "key_names.h"
#include "menu_catalogue.h"

enum class Severity { Error, Warning };

struct Finding {
    int line = 0;
    Severity severity = Severity::Error;
    std::string text;
};

enum class TypingMode { Unknown, Space, Immediate };

struct CheckInput {
    std::string bytes; // the table file's bytes
    TypingMode mode = TypingMode::Unknown;
    const std::vector<MenuButton>* buttons = nullptr; // the menu files' buttons, when given
    const KeyNames* key_names = nullptr;
    Language language = Language::English;
};

struct CheckReport {
    std::vector<Finding> findings; // in line order
    int entries = 0;               // entry lines of the shortcut sections
    int errors = 0;
    int warnings = 0;
};

// One code as the user can type it in an application module, and what it runs.
struct EffectiveEntry {
    std::string code; // as the table writes it
    std::string button;
    std::string description;
    std::string section;
    int line = 0;
    bool custom = false; // 二次开发: a custom button, by macro playback
};

CheckReport CheckTable(const CheckInput& input);

// Every code that can be typed in the module and runs something, by code.
std::vector<EffectiveEntry> EffectiveTable(const CheckInput& input, int module);
