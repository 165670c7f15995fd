// KEY_DLG: the modeless shortcut editor on dialog template 8000. Its list is a copy of
// button_id.ini made when it opens; every change checks the file as it is at that
// moment, writes it at once and reads it back.
#pragma once

#include <string>
#include <vector>

#include "dialog_base.h"
#include "row_addresses.h"
#include "shortcut_list.h"
#include "table_lines.h"
#include "table_writes.h"

class TableOpenTest;

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

    // Opening: a table saved as UTF-8 is offered for conversion to GBK.
    void OfferGbkConversion();
    // Fills the list from the file as it is now; on opening, names the lines that delete
    // and modify cannot reach.
    void LoadList(bool name_unaddressable_lines);

    // The test opening of the table that add, delete and modify make first; a failure
    // shows "文件打开失败！" and the handler goes on.
    TableOpenTest OpenTableOrComplain();
    // The table as it is now, into `table`; false, after the message, when it cannot be
    // read (nothing may change then).
    bool ReadTableOrComplain(TableLines* table);
    // The new line that add and modify would write, from the fields, once it has passed
    // the duplicate check against list and file and the format's rules (each refusal
    // shown with its message).
    bool CheckedNewEntry(const char* duplicate_message, const TableLines& table,
                         ShortcutRow* entry);
    // The first selected row, which delete and modify act on, once its line is found in
    // the file (read into `table`) as listed; -1 after the message otherwise (a stale
    // list is read afresh).
    int SelectedStoredRow(const char* no_row_message, TableLines* table);
    // The row's line as it was read, or written by this editor.
    const RowAddress* AddressOf(int row) const;
    int AppendEntryRow(const ShortcutRow& entry);
    // Reports a first write's failed backup; true when the write itself took.
    bool Written(const TableWrite& write);

    HWND ScopeBox = nullptr;
    int SpaceModeValue;
    // Where each row's line is; a row's item data is its index here.
    std::vector<RowAddress> RowAddresses;
};
