#include "shell_window.h"

#include <cstdio>
#include <string>

#include "host_core.h"
#include "message_pump.h"
#include "shell_host.h"
#include "shell_menus.h"
#include "transcript.h"

namespace {

enum { LogId = 101, ListingId = 102, LogCaptionId = 103, ListingCaptionId = 104 };
const int StatusHeight = 22;
const int CaptionHeight = 18;

HWND Main;
HWND Log;
HWND Listing;
HWND LogCaption;
HWND ListingCaption;
HMENU MenuBar;
HFONT Font;
WNDPROC CoreProc;

// The graphics area, left of the panels: where a user types codes.
RECT GraphicsArea() {
    RECT rc;
    GetClientRect(Main, &rc);
    rc.right = rc.right * 55 / 100;
    rc.bottom -= StatusHeight;
    return rc;
}

void PaintGraphicsArea(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT area = GraphicsArea();
    HBRUSH brush = CreateSolidBrush(RGB(58, 74, 96));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    HGDIOBJ old = SelectObject(dc, Font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(230, 236, 244));
    RECT text = area;
    InflateRect(&text, -16, -16);
    DrawTextA(dc,
              "图形窗口\n\n在这里输入快捷键。\n菜单“快捷键”开启、关闭快捷键和打开快捷键设置；\n"
              "“应用模块”切换模块，“文件”打开或关闭部件。",
              -1, &text, DT_LEFT | DT_TOP | DT_WORDBREAK);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

void Layout() {
    RECT rc;
    GetClientRect(Main, &rc);
    int height = rc.bottom - StatusHeight;
    int left = rc.right * 55 / 100;
    int width = rc.right - left;
    int half = height / 2;
    MoveWindow(LogCaption, left, 0, width, CaptionHeight, TRUE);
    MoveWindow(Log, left, CaptionHeight, width, half - CaptionHeight, TRUE);
    MoveWindow(ListingCaption, left, half, width, CaptionHeight, TRUE);
    MoveWindow(Listing, left, half + CaptionHeight, width, height - half - CaptionHeight, TRUE);
    InvalidateRect(Main, nullptr, TRUE);
}

// The keys the host itself gets (those no hook took), first presses only; modifier
// keys on their own are left out.
void NoteKeyReachingHost(WPARAM vk, LPARAM lparam) {
    if ((lparam & (1L << 30)) || vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU)
        return;
    char name[64] = {};
    if (GetKeyNameTextA(static_cast<LONG>(lparam), name, sizeof name) <= 0)
        snprintf(name, sizeof name, "vk %u", static_cast<unsigned>(vk));
    ShellNote("key", std::string(name) + " reached the host window");
}

LRESULT CALLBACK ShellProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CLOSE:
        // The shell unloads the plug-in before the window goes.
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PaintGraphicsArea(hwnd);
        return 0;
    case WM_INITMENUPOPUP:
        ShellMenus_Update(MenuBar);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        NoteKeyReachingHost(wparam, lparam);
        break;
    case WM_SIZE: {
        LRESULT result = CallWindowProcA(CoreProc, hwnd, msg, wparam, lparam);
        Layout();
        return result;
    }
    }
    return CallWindowProcA(CoreProc, hwnd, msg, wparam, lparam);
}

BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

HWND Child(const char* cls, const char* text, DWORD style, DWORD ex_style, int id) {
    return CreateWindowExA(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, Main,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

bool LoggedInWindow(int kind) {
    return kind == HOST_EV_COMMAND || kind == HOST_EV_CUSTOM_COMMAND || kind == HOST_EV_ACTION ||
           kind == HOST_EV_MESSAGE || kind == HOST_EV_PLAYBACK || kind == HOST_EV_NOTE;
}

// Messages for a dialog window go through its dialog manager (tab, default button).
void Dispatch(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && root != Main) {
        char cls[16] = {};
        GetClassNameA(root, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0 && IsDialogMessageA(root, &msg))
            return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

} // namespace

void ShellWindow_Attach(HWND main, HMENU menu) {
    Main = main;
    MenuBar = menu;
    Font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");
    LogCaption = Child("STATIC", "命令记录", SS_LEFT, 0, LogCaptionId);
    Log = Child("LISTBOX", "", WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL,
                WS_EX_CLIENTEDGE, LogId);
    SendMessageA(Log, LB_SETHORIZONTALEXTENT, 1200, 0);
    ListingCaption = Child("STATIC", "信息窗口", SS_LEFT, 0, ListingCaptionId);
    Listing =
        Child("EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL,
              WS_EX_CLIENTEDGE, ListingId);
    EnumChildWindows(Main, SetChildFont, reinterpret_cast<LPARAM>(Font));
    SetMenu(Main, menu);
    CoreProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ShellProc)));
    Layout();
}

void ShellWindow_Observe(const HostEvent* event) {
    if (!Main || !event)
        return;
    if (event->kind == HOST_EV_LISTING && Listing) {
        std::string text;
        for (size_t i = 0; i < event->length; ++i) {
            if (event->text[i] == '\n' && (i == 0 || event->text[i - 1] != '\r'))
                text += '\r';
            text += event->text[i];
        }
        int end = GetWindowTextLengthA(Listing);
        SendMessageA(Listing, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageA(Listing, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (LoggedInWindow(event->kind) && Log) {
        std::string lines = Transcript_Event(*event);
        size_t start = 0;
        while (start < lines.size()) {
            size_t end = lines.find('\n', start);
            std::string line = lines.substr(start, end - start);
            LRESULT index =
                SendMessageA(Log, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
            SendMessageA(Log, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
            start = end + 1;
        }
    }
}

void ShellWindow_FocusMain() {
    if (!Main)
        return;
    if (GetForegroundWindow() != Main)
        SetForegroundWindow(Main);
    SetFocus(Main);
}

bool ShellPump(DWORD milliseconds) {
    return driving::PumpMessages(milliseconds, Dispatch);
}

void ShellMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        Dispatch(msg);
}
