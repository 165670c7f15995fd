#include "key_typing.h"

#include <cstdlib>
#include <vector>

#include "message_pump.h"

namespace driving {

namespace {

struct NamedKey {
    const char* name;
    WORD vk;
};

const NamedKey NamedKeys[] = {
    {"Space", VK_SPACE},   {"Enter", VK_RETURN},      {"Return", VK_RETURN},
    {"Esc", VK_ESCAPE},    {"Escape", VK_ESCAPE},     {"Backspace", VK_BACK},
    {"Tab", VK_TAB},       {"Caps Lock", VK_CAPITAL}, {"CapsLock", VK_CAPITAL},
    {"Left", VK_LEFT},     {"Right", VK_RIGHT},       {"Up", VK_UP},
    {"Down", VK_DOWN},     {"Home", VK_HOME},         {"End", VK_END},
    {"Page Up", VK_PRIOR}, {"PageUp", VK_PRIOR},      {"Page Down", VK_NEXT},
    {"PageDown", VK_NEXT}, {"Insert", VK_INSERT},     {"Delete", VK_DELETE},
    {"Shift", VK_SHIFT},   {"Ctrl", VK_CONTROL},      {"Alt", VK_MENU},
};

bool SameText(const std::string& a, const char* b) {
    return lstrcmpiA(a.c_str(), b) == 0;
}

// Keys whose scan code carries the extended flag on a standard keyboard.
bool Extended(WORD vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE;
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (Extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

void SettledKeyEvent(WORD vk, bool up) {
    SendKeyEvent(vk, up);
    PumpMessages(InputSettleMs);
}

} // namespace

bool SendKeyEvent(WORD vk, bool up) {
    INPUT input = KeyInput(vk, up);
    return SendInput(1, &input, sizeof input) == 1;
}

void KeyDown(WORD vk) {
    SettledKeyEvent(vk, false);
}

void KeyUp(WORD vk) {
    SettledKeyEvent(vk, true);
}

void PressKey(WORD vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void PressWith(WORD held, WORD vk) {
    KeyDown(held);
    PressKey(vk);
    KeyUp(held);
}

void TypeKeys(const std::string& keys) {
    for (char c : keys)
        PressKey(static_cast<WORD>(static_cast<unsigned char>(c)));
}

bool KeyOfName(const std::string& name, WORD* vk) {
    if (name.empty())
        return false;
    if (name.size() == 1) {
        char c = name[0];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            *vk = static_cast<WORD>(c);
            return true;
        }
        return false;
    }
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        int n = atoi(name.c_str() + 1);
        if (n >= 1 && n <= 24) {
            *vk = static_cast<WORD>(VK_F1 + n - 1);
            return true;
        }
    }
    if (name.size() == 4 && SameText(name.substr(0, 3), "Num") && name[3] >= '0' &&
        name[3] <= '9') {
        *vk = static_cast<WORD>(VK_NUMPAD0 + (name[3] - '0'));
        return true;
    }
    for (const NamedKey& k : NamedKeys) {
        if (SameText(name, k.name)) {
            *vk = k.vk;
            return true;
        }
    }
    return false;
}

bool PressNamedKey(const std::string& spec) {
    std::vector<WORD> modifiers;
    std::string rest = spec;
    for (;;) {
        size_t plus = rest.find('+');
        if (plus == std::string::npos || plus == 0 || plus + 1 == rest.size())
            break;
        std::string head = rest.substr(0, plus);
        if (SameText(head, "Shift"))
            modifiers.push_back(VK_SHIFT);
        else if (SameText(head, "Ctrl") || SameText(head, "Control"))
            modifiers.push_back(VK_CONTROL);
        else if (SameText(head, "Alt"))
            modifiers.push_back(VK_MENU);
        else
            return false;
        rest = rest.substr(plus + 1);
    }
    WORD vk = 0;
    if (!KeyOfName(rest, &vk))
        return false;
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
        inputs.push_back(KeyInput(*m, true));
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

std::string KeyOfCharacter(char c) {
    if (c >= 'a' && c <= 'z')
        return std::string(1, static_cast<char>(c - 'a' + 'A'));
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return std::string(1, c);
    if (c == ' ')
        return "Space";
    return std::string();
}

} // namespace driving
