#include "message_boxes.h"

#include <utility>

#include "dialog_controls.h"

namespace driving {

namespace {

// The watcher that records; one hook per thread would answer a box twice.
MessageBoxWatcher* Current;

struct ChildCensus {
    int others = 0;
    int buttons = 0;
    bool text = false;
};

BOOL CALLBACK CountChild(HWND child, LPARAM param) {
    ChildCensus* census = reinterpret_cast<ChildCensus*>(param);
    std::string cls = WindowClass(child);
    bool is_static = lstrcmpiA(cls.c_str(), "Static") == 0;
    if (lstrcmpiA(cls.c_str(), "Button") == 0)
        ++census->buttons;
    else if (!is_static)
        ++census->others;
    if (is_static && GetDlgCtrlID(child) == 0xFFFF)
        census->text = true;
    return TRUE;
}

} // namespace

bool IsMessageBoxWindow(HWND window) {
    if (WindowClass(window) != "#32770")
        return false;
    ChildCensus census;
    EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&census));
    return census.text && census.others == 0 && census.buttons >= 1;
}

SeenMessageBox DescribeMessageBox(HWND box) {
    SeenMessageBox seen;
    seen.box = box;
    seen.text = WindowText(GetDlgItem(box, 0xFFFF));
    seen.caption = WindowText(box);
    seen.owner = GetWindow(box, GW_OWNER);
    seen.has_ok = GetDlgItem(box, IDOK) != nullptr;
    seen.has_cancel = GetDlgItem(box, IDCANCEL) != nullptr;
    seen.has_yes_no = GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO);
    seen.answer = 0;
    LRESULT default_button = SendMessageA(box, DM_GETDEFID, 0, 0);
    seen.default_id = HIWORD(default_button) == DC_HASDEFID ? LOWORD(default_button) : 0;
    return seen;
}

HWND OpenMessageBoxOf(DWORD process) {
    for (HWND window : VisibleTopWindows(process))
        if (IsMessageBoxWindow(window))
            return window;
    return nullptr;
}

MessageBoxWatcher::MessageBoxWatcher(Observer observer)
    : observer_(std::move(observer)), hidden_(Current) {
    if (!hidden_)
        hook_ = SetWindowsHookExA(WH_CBT, Watch, nullptr, GetCurrentThreadId());
    Current = this;
}

MessageBoxWatcher::~MessageBoxWatcher() {
    Current = hidden_;
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

std::vector<std::string> MessageBoxWatcher::Texts() const {
    std::vector<std::string> texts;
    for (const SeenMessageBox& box : seen_)
        texts.push_back(box.text);
    return texts;
}

LRESULT CALLBACK MessageBoxWatcher::Watch(int code, WPARAM wparam, LPARAM lparam) {
    HWND box = reinterpret_cast<HWND>(wparam);
    if (code == HCBT_ACTIVATE && Current && IsMessageBoxWindow(box)) {
        SeenMessageBox seen = DescribeMessageBox(box);
        seen.answer = Current->leave_open_ ? 0
                      : seen.has_yes_no    ? Current->yes_no_answer_
                      : seen.has_ok        ? IDOK
                                           : IDCANCEL;
        Current->seen_.push_back(seen);
        if (Current->observer_)
            Current->observer_(seen);
        // Posted: the box answers once its own loop runs.
        if (seen.answer)
            DialogPostCommand(box, seen.answer);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

} // namespace driving
