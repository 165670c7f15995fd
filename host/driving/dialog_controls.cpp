#include "dialog_controls.h"

#include "message_boxes.h"

namespace driving {

namespace {

struct Search {
    std::string caption;
    bool any_dialog;
    bool visible_only;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectInThread(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    if (search->visible_only && !IsWindowVisible(window))
        return TRUE;
    bool match = search->any_dialog ? WindowClass(window) == "#32770" && !IsMessageBoxWindow(window)
                                    : WindowText(window) == search->caption;
    if (match)
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> Collect(Search search) {
    EnumThreadWindows(GetCurrentThreadId(), CollectInThread, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ControlSearch {
    std::string class_name;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectControl(HWND child, LPARAM param) {
    ControlSearch* search = reinterpret_cast<ControlSearch*>(param);
    if (IsWindowVisible(child) &&
        lstrcmpiA(WindowClass(child).c_str(), search->class_name.c_str()) == 0)
        search->found.push_back(child);
    return TRUE;
}

BOOL CALLBACK FindCombo(HWND child, LPARAM param) {
    if (lstrcmpiA(WindowClass(child).c_str(), "ComboBox") == 0) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::string WindowText(HWND window) {
    LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    LRESULT got = SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                               reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

std::string WindowClass(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> ThreadWindowsWithCaption(const std::string& caption) {
    return Collect({caption, false, false, {}});
}

HWND FindWindowByCaption(const std::string& caption) {
    std::vector<HWND> found = Collect({caption, false, true, {}});
    return found.empty() ? nullptr : found.front();
}

HWND TopDialog() {
    std::vector<HWND> found = Collect({std::string(), true, true, {}});
    return found.empty() ? nullptr : found.front();
}

std::vector<HWND> VisibleTopWindows(DWORD process) {
    std::vector<HWND> found;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (IsWindowVisible(window) && (process == 0 || owner == process))
            found.push_back(window);
    }
    return found;
}

std::vector<HWND> VisibleControls(HWND window, const std::string& class_name) {
    ControlSearch search{class_name, {}};
    EnumChildWindows(window, CollectControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool SetText(HWND control, const std::string& text) {
    return control &&
           SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != FALSE;
}

bool DialogSetText(HWND dialog, int id, const std::string& text) {
    return SetText(GetDlgItem(dialog, id), text);
}

std::string DialogText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control ? WindowText(control) : std::string();
}

bool DialogSelectString(HWND dialog, int id, const std::string& text) {
    HWND combo = nullptr;
    if (id)
        combo = GetDlgItem(dialog, id);
    else
        EnumChildWindows(dialog, FindCombo, reinterpret_cast<LPARAM>(&combo));
    if (!combo)
        return false;
    LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR)
        return false;
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(combo)), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    return true;
}

bool Click(HWND button) {
    if (!button)
        return false;
    SendMessageA(button, BM_CLICK, 0, 0);
    return true;
}

bool DialogClick(HWND dialog, int id) {
    return Click(GetDlgItem(dialog, id));
}

bool DialogPostCommand(HWND dialog, int id) {
    return PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0) != FALSE;
}

bool DialogCheck(HWND dialog, int id, bool on) {
    HWND button = GetDlgItem(dialog, id);
    if (!button)
        return false;
    bool checked = SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != on)
        SendMessageA(button, BM_CLICK, 0, 0);
    return true;
}

} // namespace driving
