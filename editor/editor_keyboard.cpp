#include "editor_keyboard.h"

#include <algorithm>
#include <vector>

namespace {

HHOOK MessageHook = nullptr;
// The editor windows of the host's thread. Editors are destroyed only at unload, when
// the list is emptied with them.
std::vector<HWND> EditorWindows;

// The editor whose window, or child window, the message is for; null for every other
// window of the host.
HWND EditorOf(HWND window) {
    if (!window)
        return nullptr;
    HWND root = GetAncestor(window, GA_ROOT);
    for (HWND editor : EditorWindows)
        if (editor == root && IsWindow(editor))
            return editor;
    return nullptr;
}

// Runs for every message the host's thread takes from its queue. Only keyboard
// messages that are being removed are handed to the editor: a peeked message comes
// again, and the host must not see a key twice. A message the dialog handled is
// emptied, so the host's loop translates and dispatches nothing of it.
LRESULT CALLBACK DialogKeysProcedure(int code, WPARAM removal, LPARAM message) {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(message);
        if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
            HWND editor = EditorOf(msg->hwnd);
            if (editor && IsDialogMessageA(editor, msg)) {
                msg->message = WM_NULL;
                msg->wParam = 0;
                msg->lParam = 0;
            }
        }
    }
    return CallNextHookEx(MessageHook, code, removal, message);
}

} // namespace

void AttachEditorKeyboard(HWND editor) {
    if (!editor)
        return;
    // Called from the host's menu: nothing may leave here; without room for one more
    // window the editor merely lacks its dialog keys.
    try {
        if (std::find(EditorWindows.begin(), EditorWindows.end(), editor) == EditorWindows.end())
            EditorWindows.push_back(editor);
    } catch (...) {
        return;
    }
    if (!MessageHook)
        MessageHook =
            SetWindowsHookExA(WH_GETMESSAGE, DialogKeysProcedure, nullptr, GetCurrentThreadId());
}

void DetachEditorKeyboard() {
    if (MessageHook)
        UnhookWindowsHookEx(MessageHook);
    MessageHook = nullptr;
    EditorWindows.clear();
}
