#include "shortcut_editors.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "editor_keyboard.h"
#include "key_dlg.h"

namespace {

KEY_DLG* ShortcutEditor = nullptr; // the newest editor; null until the first

// Every editor ever made, hidden ones included: all are destroyed at unload, so no
// window procedure of the unloaded library stays reachable.
std::vector<std::unique_ptr<KEY_DLG>> Editors;

} // namespace

void OpenShortcutEditor(HINSTANCE module, HWND owner) {
    // Called from the host's menu: nothing may leave here.
    try {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        Editors.push_back(std::make_unique<KEY_DLG>());
        ShortcutEditor = Editors.back().get();
        ShortcutEditor->Create(module, owner);
        if (ShortcutEditor->Handle()) {
            AttachEditorKeyboard(ShortcutEditor->Handle());
            ShowWindow(ShortcutEditor->Handle(), SW_SHOWNORMAL);
        }
    } catch (...) {
    }
}

void DestroyAllShortcutEditors() {
    // The message hook goes with the editors: no procedure of the unloaded library may
    // stay hooked into the host.
    DetachEditorKeyboard();
    ShortcutEditor = nullptr;
    std::vector<std::unique_ptr<KEY_DLG>> editors;
    editors.swap(Editors);
    editors.clear();
}
