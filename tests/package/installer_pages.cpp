// installer-pages.exe: walks the installer's pages as a user would, while the installer
// runs beside it, and prints what the folder page shows after each step: accept the
// licence; choose "every user", then "only me"; type a folder of one's own and choose
// "every user" again; type a folder on a drive that does not exist and install. The
// box that refuses it is printed and answered.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dialog_controls.h"
#include "message_boxes.h"

namespace {

enum { WaitStepMs = 100, WaitMaxMs = 20000, ButtonNext = 1 };

HWND Wizard = nullptr;

HWND FindWizard() {
    for (HWND window : driving::VisibleTopWindows())
        if (driving::WindowText(window).find("Tarnwick") != std::string::npos &&
            GetDlgItem(window, ButtonNext))
            return window;
    return nullptr;
}

std::vector<HWND> RadioButtons() {
    std::vector<HWND> radios;
    for (HWND button : driving::VisibleControls(Wizard, "Button"))
        if ((GetWindowLongA(button, GWL_STYLE) & 0xF) == BS_AUTORADIOBUTTON)
            radios.push_back(button);
    return radios;
}

HWND FolderField() {
    std::vector<HWND> fields = driving::VisibleControls(Wizard, "Edit");
    return fields.empty() ? nullptr : fields.front();
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
        driving::Click(radios[which]);
    printf("%s: %s\n", label, driving::WindowText(FolderField()).c_str());
}

} // namespace

int main() {
    if (!WaitFor([] { return (Wizard = FindWizard()) != nullptr; })) {
        printf("no installer window\n");
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(Wizard, &process);
    driving::DialogPostCommand(Wizard, ButtonNext);
    if (!WaitFor([] { return RadioButtons().size() == 2 && FolderField(); })) {
        printf("no folder page\n");
        return 1;
    }
    printf("folder: %s\n", driving::WindowText(FolderField()).c_str());
    ChooseScope(1, "every user");
    ChooseScope(0, "only me");
    driving::SetText(FolderField(), "C:\\Tools\\Own");
    ChooseScope(1, "own folder, every user");
    ChooseScope(0, "own folder, only me");
    driving::SetText(FolderField(), "Q:\\Nowhere\\Tarnwick");
    // Posted: the page answers Next with a modal box, which a click would wait for.
    driving::DialogPostCommand(Wizard, ButtonNext);
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = driving::OpenMessageBoxOf(process)) != nullptr; })) {
        printf("no message box\n");
        return 1;
    }
    std::string text = driving::DescribeMessageBox(box).text;
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    printf("box: %s\n", text.c_str());
    driving::DialogPostCommand(box, IDOK);
    return 0;
}
