#include "key_names.h"

#include <windows.h>

#include "shortcut_store.h"
#include "table_lines.h"
#include "typed_code_rules.h"

namespace {

// The keys the keystroke filter leaves to the host whatever their name, and no key at
// all.
bool LeftToTheHost(UINT vk) {
    return vk == 0 || IsKeyLeftToHost(vk);
}

// The number pad's keys give two key codes: the digits and the decimal point with Num
// Lock on, the navigation keys (and Clear) with it off. MapVirtualKey answers with the
// latter alone; the filter takes the former, under the same key name ("Num 7").
UINT NumLockKeyCode(UINT scan, bool extended) {
    struct PadKey {
        UINT scan;
        UINT vk;
    };
    static const PadKey pad[] = {
        {0x47, VK_NUMPAD7}, {0x48, VK_NUMPAD8}, {0x49, VK_NUMPAD9}, {0x4B, VK_NUMPAD4},
        {0x4C, VK_NUMPAD5}, {0x4D, VK_NUMPAD6}, {0x4F, VK_NUMPAD1}, {0x50, VK_NUMPAD2},
        {0x51, VK_NUMPAD3}, {0x52, VK_NUMPAD0}, {0x53, VK_DECIMAL},
    };
    if (!extended)
        for (const PadKey& key : pad)
            if (key.scan == scan)
                return key.vk;
    return 0;
}

} // namespace

KeyNames KeyNames::FromSystem() {
    KeyNames names;
    for (UINT scan = 1; scan < 0x80; ++scan) {
        for (int extended = 0; extended < 2; ++extended) {
            UINT vk = MapVirtualKeyA(extended ? (0xE000 | scan) : scan, MAPVK_VSC_TO_VK_EX);
            if (LeftToTheHost(vk) && LeftToTheHost(NumLockKeyCode(scan, extended != 0)))
                continue;
            char name[64] = {};
            LONG flags = static_cast<LONG>(scan << 16 | (extended ? 1u << 24 : 0u));
            int length = GetKeyNameTextA(flags, name, sizeof name);
            if (length > 0 && length <= ShortcutTextMax && !IsSteeringKeyName(name))
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
