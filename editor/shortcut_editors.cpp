#include "shortcut_editors.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "editor_keyboard.h"
#include "key_dlg.h"

namespace {

// Every editor ever made, the newest last, hidden ones included: all are destroyed at unload, so no
// window procedure of the unloaded library stays reachable.
std::vector<std::unique_ptr<KEY_DLG>> Editors;

} // namespace

void OpenShortcutEditor(HINSTANCE module, HWND owner) {
    // Called from the host's menu: nothing may leave here.
    try {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        Editors.push_back(std::make_unique<KEY_DLG>());
        KEY_DLG* editor = Editors.back().get();
        // The opening asks its questions in boxes, and the host may unload the plug-in
        // from their message loop: the editor stays until the opening is over.
        DialogBase::Use opening(*editor);
        editor->Create(module, owner);
        if (!editor->Released() && editor->Handle()) {
            AttachEditorKeyboard(editor->Handle());
            ShowWindow(editor->Handle(), SW_SHOWNORMAL);
        }
    } catch (...) {
    }
}

void DestroyAllShortcutEditors() {
    // The message hook goes with the editors: no procedure of the unloaded library may
    // stay hooked into the host.
    DetachEditorKeyboard();
    std::vector<std::unique_ptr<KEY_DLG>> editors;
    editors.swap(Editors);
    // An editor whose handler is inside a box goes when that handler returns.
    for (std::unique_ptr<KEY_DLG>& editor : editors)
        editor.release()->Release();
}
