// What a table line written by the editor may hold, so that every reader reads back
// exactly what was written: the profile service (which trims keys and values, takes a
// line starting with "[" for a header and one starting with ";" for a comment, and
// ends a line at CR or LF), the editor's loader (which splits at "=") and the lookup
// (which reads a value into 256 bytes).
#pragma once

#include <string>

#include "shortcut_store.h"

enum class EntryFault {
    None,
    EqualSign,       // an "=" in a field would move the fields when read back
    LineBreak,       // CR, LF or NUL in a field would end the line or the text early
    ShortcutTooLong, // more than ShortcutTextMax characters: no typed code reaches it
    ShortcutStart,   // "[" reads as a header, ";" as a comment
    ValueTooLong,    // more than the lookup's LookupValueSize - 1 bytes: it would be cut
};

// The text as the profile service stores a key: without the blanks it trims at either
// end (space, tab, vertical tab, form feed, Ctrl-Z). CR and LF stay, for CheckEntry to
// refuse: trimmed away they would hide what the user's text really holds.
std::string TrimProfileBlanks(const std::string& text);

// The first fault of an entry whose fields are already trimmed and not empty; the
// value is the one that would be written (ButtonName=CommandText=ScopeText=Section).
EntryFault CheckEntry(const std::string& shortcut, const std::string& button_name,
                      const std::string& command_text, const std::string& scope_text,
                      const std::string& value);
