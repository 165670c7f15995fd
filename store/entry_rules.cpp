#include "entry_rules.h"

#include <windows.h>

#include "table_encoding.h"
#include "table_lines.h"

namespace {

bool Holds(const std::string& text, const char* bytes, size_t count) {
    return text.find_first_of(bytes, 0, count) != std::string::npos;
}

// Characters, not bytes: a GBK double-byte character is one, as in the edit field.
int CharacterCount(const std::string& text) {
    if (text.empty())
        return 0;
    return MultiByteToWideChar(GbkCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr,
                               0);
}

} // namespace

std::string TrimProfileBlanks(const std::string& text) {
    return TrimmedPart(text, 0, text.size(), true);
}

EntryFault CheckEntry(const std::string& shortcut, const std::string& button_name,
                      const std::string& command_text, const std::string& scope_text,
                      const std::string& value) {
    const std::string* fields[] = {&shortcut, &button_name, &command_text, &scope_text};
    for (const std::string* field : fields)
        if (field->find('=') != std::string::npos)
            return EntryFault::EqualSign;
    static const char LineEnds[] = {'\r', '\n', '\0'};
    for (const std::string* field : fields)
        if (Holds(*field, LineEnds, sizeof LineEnds))
            return EntryFault::LineBreak;
    if (CharacterCount(shortcut) > ShortcutTextMax)
        return EntryFault::ShortcutTooLong;
    if (shortcut[0] == '[' || shortcut[0] == ';')
        return EntryFault::ShortcutStart;
    if (value.size() > LookupValueSize - 1)
        return EntryFault::ValueTooLong;
    return EntryFault::None;
}
