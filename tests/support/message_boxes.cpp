#include "message_boxes.h"

namespace tarnwick_test {

namespace {

std::vector<SeenMessageBox> Boxes;
int YesNoAnswer = IDNO;

std::string WindowText(HWND hwnd) {
    char text[2048] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// A message box is a #32770 dialog with its text in a static of id 0xFFFF; the editor
// dialog is a #32770 too, but carries its list (8014).
bool IsMessageBox(HWND hwnd) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return lstrcmpA(cls, "#32770") == 0 && GetDlgItem(hwnd, 0xFFFF) != nullptr &&
           GetDlgItem(hwnd, 8014) == nullptr;
}

LRESULT CALLBACK WatchProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wparam);
        if (IsMessageBox(box)) {
            SeenMessageBox seen;
            seen.text = WindowText(GetDlgItem(box, 0xFFFF));
            seen.caption = WindowText(box);
            seen.owner = GetWindow(box, GW_OWNER);
            seen.has_ok = GetDlgItem(box, IDOK) != nullptr;
            seen.has_cancel = GetDlgItem(box, IDCANCEL) != nullptr;
            Boxes.push_back(seen);
            int answer = seen.has_ok ? IDOK : IDCANCEL;
            if (GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO))
                answer = YesNoAnswer;
            PostMessageA(box, WM_COMMAND, answer, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher() {
    Boxes.clear();
    YesNoAnswer = IDNO;
    hook_ = SetWindowsHookExA(WH_CBT, WatchProc, nullptr, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

const std::vector<SeenMessageBox>& MessageBoxWatcher::Seen() const {
    return Boxes;
}

std::vector<std::string> MessageBoxWatcher::Texts() const {
    std::vector<std::string> texts;
    for (const SeenMessageBox& b : Boxes)
        texts.push_back(b.text);
    return texts;
}

void MessageBoxWatcher::Clear() {
    Boxes.clear();
}

void MessageBoxWatcher::AnswerYesNo(int answer) {
    YesNoAnswer = answer;
}

} // namespace tarnwick_test
