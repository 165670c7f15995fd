// KEY_DLG: the modeless shortcut editor on dialog template 8000. It holds nothing but
// its controls; every handler reads the controls and writes button_id.ini at once.
#pragma once

#include <string>

#include "dialog_base.h"
#include "shortcut_list.h"

class KEY_DLG : public DialogBase {
  public:
    KEY_DLG();
    ~KEY_DLG() override;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    bool Route(RouteKind kind, int control, int code) override;

  private:
    static const MessageRoute<KEY_DLG> MessageMap[];

    void AddShortcut();
    void DeleteShortcut();
    void ModifyShortcut();
    void FillFieldsFromSelection();
    void FindShortcut();
    void OpenShortcutTable();
    void ShowMakerInfo();
    void ToggleSpaceMode();

    // The new line that add and modify would write, from the fields, once it has passed
    // the duplicate, empty-field and "=" checks (each refusal shown with its message).
    bool CheckedNewEntry(const char* duplicate_message, ShortcutRow* entry);
    // The first selected row, which delete and modify act on; -1, after the message,
    // when there is none.
    int SelectedRowOrMessage(const char* no_row_message);

    // Values the controls open with; no handler reads them back.
    std::string ButtonNameValue;
    std::string ShortcutValue;
    std::string CommandValue;
    HWND ScopeBox = nullptr;
    int SpaceModeValue;
};
