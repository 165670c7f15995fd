#include "key_names.h"

#include <windows.h>

#include "shortcut_store.h"
#include "table_lines.h"

namespace {

// The keys the keystroke filter leaves to the host whatever their name: Enter, the
// navigation block, F1 to F12, and the modifiers (held, they pass every key on).
bool LeftToTheHost(UINT vk) {
    return vk == 0 || vk == VK_RETURN || (vk >= VK_PRIOR && vk <= VK_DELETE) ||
           (vk >= VK_F1 && vk <= VK_F12) || vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU ||
           (vk >= VK_LSHIFT && vk <= VK_RMENU);
}

bool Steers(const std::string& name) {
    return name == "Space" || name == "Esc" || name == "Backspace";
}

} // namespace

KeyNames KeyNames::FromSystem() {
    KeyNames names;
    for (UINT scan = 1; scan < 0x80; ++scan) {
        for (int extended = 0; extended < 2; ++extended) {
            UINT vk = MapVirtualKeyA(extended ? (0xE000 | scan) : scan, MAPVK_VSC_TO_VK_EX);
            if (LeftToTheHost(vk))
                continue;
            char name[64] = {};
            LONG flags = static_cast<LONG>(scan << 16 | (extended ? 1u << 24 : 0u));
            int length = GetKeyNameTextA(flags, name, sizeof name);
            if (length > 0 && length <= ShortcutTextMax && !Steers(name))
                names.Add(name);
        }
    }
    return names;
}

void KeyNames::Add(const std::string& name) {
    names_.insert(FoldProfileName(name));
}

bool KeyNames::CanType(const std::string& code) const {
    // With nothing defined, only a code that no way reaches has a "blocker": itself.
    return !code.empty() && code.find('\0') == std::string::npos &&
           Blocker(code, [](const std::string&) { return false; }).empty();
}

std::string KeyNames::Blocker(const std::string& code,
                              const std::function<bool(const std::string&)>& defined) const {
    const std::string folded = FoldProfileName(code);
    if (folded.empty() || folded.size() > ShortcutTextMax)
        return folded;
    std::string best;
    return Walk(folded, 0, defined, &best) ? std::string() : best.empty() ? folded : best;
}

// Depth-first over the ways of cutting the code into key names; a way dies at the first
// cut where the text so far is defined. At most five characters: a tiny search.
bool KeyNames::Walk(const std::string& folded, size_t at,
                    const std::function<bool(const std::string&)>& defined,
                    std::string* best) const {
    if (at == folded.size())
        return true;
    for (size_t length = 1; at + length <= folded.size(); ++length) {
        if (!names_.count(folded.substr(at, length)))
            continue;
        size_t next = at + length;
        if (next < folded.size() && defined(folded.substr(0, next))) {
            if (best->empty() || next < best->size())
                *best = folded.substr(0, next);
            continue;
        }
        if (Walk(folded, next, defined, best))
            return true;
    }
    return false;
}
