// installer-pages.exe: walks the installer's pages as a user would, while the installer
// runs beside it, and prints what the folder page shows after each step: accept the
// licence; choose "every user", then "only me"; type a folder of one's own and choose
// "every user" again; type a folder on a drive that does not exist and install. The
// box that refuses it is printed and answered.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

enum { WaitStepMs = 100, WaitMaxMs = 20000, ButtonNext = 1 };

HWND Wizard = nullptr;

BOOL CALLBACK FindWizard(HWND window, LPARAM) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && strstr(title, "Tarnwick") && GetDlgItem(window, ButtonNext)) {
        Wizard = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleControls(HWND parent, const char* class_name) {
    std::vector<HWND> all, matching;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        if (IsWindowVisible(window) && lstrcmpiA(name, class_name) == 0)
            matching.push_back(window);
    }
    return matching;
}

std::vector<HWND> RadioButtons() {
    std::vector<HWND> radios;
    for (HWND button : VisibleControls(Wizard, "Button"))
        if ((GetWindowLongA(button, GWL_STYLE) & 0xF) == BS_AUTORADIOBUTTON)
            radios.push_back(button);
    return radios;
}

HWND FolderField() {
    std::vector<HWND> fields = VisibleControls(Wizard, "Edit");
    return fields.empty() ? nullptr : fields.front();
}

// Another process's control: its text only through the message, not GetWindowText.
std::string TextOf(HWND window) {
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

template <typename Condition> bool WaitFor(Condition condition) {
    for (int waited = 0; waited < WaitMaxMs; waited += WaitStepMs) {
        if (condition())
            return true;
        Sleep(WaitStepMs);
    }
    return false;
}

// Clicks the radio button and prints the folder once the page has handled the click.
void ChooseScope(size_t which, const char* label) {
    std::vector<HWND> radios = RadioButtons();
    if (which < radios.size())
        SendMessageA(radios[which], BM_CLICK, 0, 0);
    printf("%s: %s\n", label, TextOf(FolderField()).c_str());
}

HWND MessageBoxOf(DWORD process) {
    HWND found = nullptr;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner_process = 0;
        GetWindowThreadProcessId(window, &owner_process);
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        if (owner_process == process && window != Wizard && IsWindowVisible(window) &&
            strcmp(name, "#32770") == 0 && GetDlgItem(window, 0xFFFF))
            found = window;
    }
    return found;
}

} // namespace

int main() {
    if (!WaitFor([] {
            EnumWindows(FindWizard, 0);
            return Wizard != nullptr;
        })) {
        printf("no installer window\n");
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(Wizard, &process);
    PostMessageA(Wizard, WM_COMMAND, ButtonNext, 0);
    if (!WaitFor([] { return RadioButtons().size() == 2 && FolderField(); })) {
        printf("no folder page\n");
        return 1;
    }
    printf("folder: %s\n", TextOf(FolderField()).c_str());
    ChooseScope(1, "every user");
    ChooseScope(0, "only me");
    SendMessageA(FolderField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\Tools\\Own"));
    ChooseScope(1, "own folder, every user");
    ChooseScope(0, "own folder, only me");
    SendMessageA(FolderField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Q:\\Nowhere\\Tarnwick"));
    PostMessageA(Wizard, WM_COMMAND, ButtonNext, 0);
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = MessageBoxOf(process)) != nullptr; })) {
        printf("no message box\n");
        return 1;
    }
    std::string text = TextOf(GetDlgItem(box, 0xFFFF));
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    printf("box: %s\n", text.c_str());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}
