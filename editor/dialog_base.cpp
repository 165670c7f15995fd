#include "dialog_base.h"

#include <vector>

#include "trace.h"

DialogBase::DialogBase(int template_id) : template_id_(template_id) {}

DialogBase::~DialogBase() {
    if (window_) {
        HWND window = window_;
        // Detach first: no message of the dying window may reach a half-destroyed object.
        SetWindowLongPtrA(window, DWLP_USER, 0);
        window_ = nullptr;
        DestroyWindow(window);
    }
}

bool DialogBase::Create(HINSTANCE module, HWND parent) {
    if (window_)
        return true;
    HWND window = CreateDialogParamA(module, MAKEINTRESOURCEA(template_id_), parent,
                                     DialogProcedure, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

DialogBase::Use::Use(DialogBase& dialog) : dialog_(dialog) {
    ++dialog_.uses_;
}

DialogBase::Use::~Use() {
    if (--dialog_.uses_ == 0 && dialog_.released_)
        delete &dialog_;
}

void DialogBase::Release() {
    released_ = true;
    if (uses_ == 0)
        delete this;
}

void DialogBase::OnCancel() {
    if (window_)
        ShowWindow(window_, SW_HIDE);
}

BOOL DialogBase::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

void DialogBase::ExchangeText(int control, const std::string& text) {
    SetDlgItemTextA(window_, control, text.c_str());
}

void DialogBase::ExchangeTextLimit(int control, const std::string& text, int max_chars) {
    SetDlgItemTextA(window_, control, text.c_str());
    SendDlgItemMessageA(window_, control, EM_LIMITTEXT, static_cast<WPARAM>(max_chars), 0);
}

void DialogBase::ExchangeCheck(int control, int state) {
    CheckDlgButton(window_, control, static_cast<UINT>(state));
}

HWND DialogBase::Control(int control) const {
    return GetDlgItem(window_, control);
}

std::string DialogBase::ControlText(int control) const {
    HWND item = Control(control);
    if (!item)
        return std::string();
    int length = GetWindowTextLengthA(item);
    if (length <= 0)
        return std::string();
    // The length is an upper bound for double-byte texts; the copy says how much came.
    std::vector<char> text(static_cast<size_t>(length) + 1);
    int got = GetWindowTextA(item, text.data(), length + 1);
    return std::string(text.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void DialogBase::SetControlText(int control, const char* text) {
    SetDlgItemTextA(window_, control, text);
}

int DialogBase::Message(const char* text, UINT buttons) const {
    char caption[256] = {};
    GetWindowTextA(window_, caption, sizeof caption);
    return Message(text, caption, buttons);
}

int DialogBase::Message(const char* text, const char* caption, UINT buttons) const {
    Trace("box \"%s\"", text);
    int answer = MessageBoxA(window_, text, caption, buttons);
    Trace("box answered %d", answer);
    return answer;
}

INT_PTR CALLBACK DialogBase::DialogProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
    // Nothing may leave a window procedure: the frames above belong to the system and
    // to the host's message loop.
    try {
        DialogBase* dialog = nullptr;
        if (message == WM_INITDIALOG) {
            dialog = reinterpret_cast<DialogBase*>(lparam);
            SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
            dialog->window_ = window;
        } else {
            dialog = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
        }
        if (!dialog)
            return FALSE;
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, DWLP_USER, 0);
            dialog->window_ = nullptr;
            return FALSE;
        }
        Use use(*dialog);
        return dialog->Dispatch(message, wparam, lparam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR DialogBase::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return Route(RouteKind::Command, LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header && Route(RouteKind::Notify, static_cast<int>(header->idFrom),
                            static_cast<int>(header->code))) {
            SetWindowLongPtrA(window_, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}
