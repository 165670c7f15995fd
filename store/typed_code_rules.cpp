#include "typed_code_rules.h"

#include <cstring>

#include "shortcut_store.h"

namespace {

const char* const SteeringNames[] = {"Space", "Esc", "Backspace"};

enum { KeyEnter = 13 };

// Each read has its own default.
const char ModuleMiss[] = "应用模块没有";
const char GlobalMiss[] = "快捷键有误";
const char CustomMiss[] = "二次开发没有";

bool IsModifierKey(WPARAM key) {
    return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU ||
           (key >= VK_LSHIFT && key <= VK_RMENU);
}

} // namespace

bool IsKeyLeftToHost(WPARAM key) {
    return (key >= VK_F1 && key <= VK_F12) || (key >= VK_PRIOR && key <= VK_DELETE) ||
           key == KeyEnter || IsModifierKey(key);
}

bool IsSteeringKeyName(const char* name) {
    for (const char* steering : SteeringNames)
        if (strcmp(name, steering) == 0)
            return true;
    return false;
}

void LookupSectionsInOrder(const char* module_section,
                           LookupSection (&sections)[LookupSectionCount]) {
    sections[0] = {module_section, ModuleMiss, LookupTarget::HostButton};
    sections[1] = {GlobalSection, GlobalMiss, LookupTarget::HostButton};
    sections[2] = {CustomSection, CustomMiss, LookupTarget::CustomButton};
}

bool ValueFitsTheLookup(size_t value_bytes) {
    return value_bytes < LookupValueSize;
}

std::string FoldProfileName(const std::string& name) {
    std::string folded = name.substr(0, name.find('\0'));
    for (size_t i = 0; i < folded.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(folded[i]);
        if (IsGbkLeadByte(c))
            ++i;
        else if (c >= 'a' && c <= 'z')
            folded[i] = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
}

bool SameProfileName(const std::string& a, const std::string& b) {
    return FoldProfileName(a) == FoldProfileName(b);
}
