// The rules of a typed code, shared by the keyboard hook, the editor and the checker:
// which keys the hook leaves to the host, which key names steer, where the lookup looks
// for a code and in which order, and what it runs from the value it reads.
#pragma once

#include <windows.h>

#include <string>

// F1 to F12, the navigation keys from Page Up to Delete, Enter, and the modifier keys
// themselves. The system updates the thread's key state only after the hook has seen
// the key-down of a modifier, so "Shift held" is not yet true for the Shift key itself;
// taken, it would put "Shift" into the code and spoil the next letter.
bool IsKeyLeftToHost(WPARAM key);

// "Space", "Esc" and "Backspace" steer the code and are never part of it (whole text,
// case-sensitive: the name the system gives).
bool IsSteeringKeyName(const char* name);

// True for the first byte of a GBK double-byte character.
inline bool IsGbkLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// The one key equality: names (sections, keys) as the profile service compares them,
// ASCII letters upper-cased outside double-byte characters and cut at a NUL byte. Other
// letters keep their case: the service finds no full-width, Greek or Cyrillic key under
// another case. Every test of "the same key" (the lookup's, the editor's duplicates and
// row addresses, the checker's) goes through it.
std::string FoldProfileName(const std::string& name);
bool SameProfileName(const std::string& a, const std::string& b);

// What a hit in a section runs: a host menu button by its command id, or a custom
// button by macro playback.
enum class LookupTarget { HostButton, CustomButton };

// One read of the lookup: the section, the default by which a miss is told (a result
// equal to it byte for byte) and what a hit runs.
struct LookupSection {
    const char* section;
    const char* miss_default;
    LookupTarget target;
};

enum { LookupSectionCount = 3 };

// The lookup's reads in their fixed order: the module's section (its number, as
// FormatModuleNumber writes it), "全局", "二次开发". The first that holds the code wins.
// The module section's text is not copied: it must outlive the answer.
void LookupSectionsInOrder(const char* module_section,
                           LookupSection (&sections)[LookupSectionCount]);

// True when a value of this many bytes is read whole by the lookup's 256-byte read; a
// longer one would be cut, and a cut value may name a button that is not the entry's.
bool ValueFitsTheLookup(size_t value_bytes);
