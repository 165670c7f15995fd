#include "dialog_driver.h"

#include <commctrl.h>

#include "shell_host.h"

namespace {

std::string ClassOf(HWND window) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    return cls;
}

std::string TextOf(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

struct Search {
    std::string caption;
    bool any_dialog;
    HWND found;
};

BOOL CALLBACK FindInThread(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    bool match = search->any_dialog ? ClassOf(window) == "#32770" && !IsMessageBoxWindow(window)
                                    : TextOf(window) == search->caption;
    if (match) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ChildCensus {
    int others = 0;
    int buttons = 0;
    bool text = false;
};

BOOL CALLBACK CountChild(HWND child, LPARAM param) {
    ChildCensus* census = reinterpret_cast<ChildCensus*>(param);
    std::string cls = ClassOf(child);
    if (lstrcmpiA(cls.c_str(), "Button") == 0)
        ++census->buttons;
    else if (lstrcmpiA(cls.c_str(), "Static") != 0)
        ++census->others;
    if (GetDlgCtrlID(child) == 0xFFFF && lstrcmpiA(cls.c_str(), "Static") == 0)
        census->text = true;
    return TRUE;
}

BOOL CALLBACK FindCombo(HWND child, LPARAM param) {
    if (lstrcmpiA(ClassOf(child).c_str(), "ComboBox") == 0) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

HHOOK BoxHook;

const char* ButtonName(int id) {
    switch (id) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    }
    return "?";
}

LRESULT CALLBACK BoxWatch(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wparam);
        if (IsMessageBoxWindow(box)) {
            int answer = GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
            ShellNote("box", "\"" + TextOf(box) + "\" " + TextOf(GetDlgItem(box, 0xFFFF)) + " -> " +
                                 ButtonName(answer));
            PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        }
    }
    return CallNextHookEx(BoxHook, code, wparam, lparam);
}

} // namespace

HWND FindWindowByCaption(const std::string& caption) {
    Search search{caption, false, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindInThread, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND TopDialog() {
    Search search{std::string(), true, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindInThread, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A message box is a dialog of static texts and push buttons, one text
// with the id 0xFFFF; a dialog with any other control is an application's dialog.
bool IsMessageBoxWindow(HWND window) {
    if (ClassOf(window) != "#32770")
        return false;
    ChildCensus census;
    EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&census));
    return census.text && census.others == 0 && census.buttons >= 1;
}

bool DialogSetText(HWND dialog, int id, const std::string& text) {
    HWND control = GetDlgItem(dialog, id);
    return control && SetWindowTextA(control, text.c_str()) != 0;
}

std::string DialogText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control ? TextOf(control) : std::string();
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

bool DialogClick(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button)
        return false;
    SendMessageA(button, BM_CLICK, 0, 0);
    return true;
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

bool DialogListRows(HWND dialog, int id, std::vector<std::string>* rows) {
    HWND list = GetDlgItem(dialog, id);
    if (!list)
        return false;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    if (columns < 1)
        columns = 1;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::string line;
        for (int column = 0; column < columns; ++column) {
            char text[512] = {};
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
            line += (column ? " | " : "") + std::string(text);
        }
        rows->push_back(line);
    }
    return true;
}

bool DialogClickRow(HWND dialog, int id, int row) {
    HWND list = GetDlgItem(dialog, id);
    if (!list || row < 0 || row >= static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)))
        return false;
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&state));
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(id);
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&click));
    return true;
}

void AnswerMessageBoxes(bool on) {
    if (on && !BoxHook)
        BoxHook = SetWindowsHookExA(WH_CBT, BoxWatch, nullptr, GetCurrentThreadId());
    else if (!on && BoxHook) {
        UnhookWindowsHookEx(BoxHook);
        BoxHook = nullptr;
    }
}
