// Test support: drives the shortcut editor through its controls, as a user would, and
// reads back what its list shows; the editor's caption and control ids are known here,
// the driving itself is the driving library's.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace tarnwick_test {

extern const char EditorCaption[]; // "快捷键设置"

// The editor's control ids.
enum EditorControl {
    ShortcutEditId = 8000,
    ButtonNameEditId = 8001,
    CommandEditId = 8002,
    AddButtonId = 8004,
    DeleteButtonId = 8005,
    ModifyButtonId = 8006,
    ScopeComboId = 8011,
    ShortcutListId = 8014,
    FindButtonId = 8016,
    OpenTableButtonId = 8018,
    SpaceModeCheckId = 8019,
    MakerInfoButtonId = 8021,
};

using ListRow = std::vector<std::string>; // the five column texts

// The editor windows of this thread, in no particular order.
std::vector<HWND> EditorWindows();

class EditorDriver {
  public:
    explicit EditorDriver(HWND dialog) : dialog_(dialog) {}
    // Runs FENNOR_KEY_DEFINE and takes the editor it made (null when none appeared).
    static EditorDriver OpenNew();

    HWND Dialog() const { return dialog_; }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    std::string Text(int id) const;
    void SetText(int id, const std::string& text) const;
    void SetFields(const std::string& shortcut, const std::string& button_name,
                   const std::string& command_text) const;
    std::string Scope() const; // the text the scope box shows
    void SelectScope(const std::string& scope) const;
    void Click(int id) const; // BM_CLICK, as a mouse click on the button

    int RowCount() const;
    std::vector<ListRow> Rows() const;
    // Leaves exactly these rows selected.
    void SelectRows(std::initializer_list<int> rows) const;
    std::vector<int> SelectedRows() const;
    // The list's click notification, as the control sends it for a mouse click.
    LRESULT ClickList(int row) const;

  private:
    HWND dialog_;
};

} // namespace tarnwick_test
