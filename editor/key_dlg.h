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

class TableLock;
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

    // Each change checks and writes under the table's lock and shows its boxes after it:
    // the refusals below are returned, not shown.
    struct ChangeReport;
    // The table as it is now, into `table`, once the lock is held; else why nothing may
    // change (no lock, the file cannot be read, or it is not GBK text).
    const char* LockedTableRefusal(const TableLock& lock, TableLines* table) const;
    // The new line that add and modify would write, from the fields, or the message of
    // the first check it fails: the duplicate check against list and file, then the
    // format's rules.
    const char* NewEntryRefusal(const char* duplicate_message, const TableLines& table,
                                ShortcutRow* entry);
    // The first selected row, which delete and modify act on, when it has an address;
    // -1 after the message otherwise.
    int SelectedAddressableRow(const char* no_row_message);
    // Whether the row's line is in the file as listed; the message otherwise, and the
    // list is to be read afresh.
    const char* StoredRowRefusal(const TableLines& table, const RowAddress& address, bool* reload);
    // Add's and modify's write, all or nothing: the new line written and read back, then
    // the line it replaces (none for an add) removed; when either fails, whatever of the
    // new line reached the file goes again.
    void WriteNewLine(const ShortcutRow& entry, const RowAddress* replaced, ChangeReport* report);
    // The change's boxes, in order: the failed backup, the refusal, other lines changed
    // (the list then read afresh).
    void Tell(const ChangeReport& report);
    // The row's line as it was read, or written by this editor.
    const RowAddress* AddressOf(int row) const;
    int AppendEntryRow(const ShortcutRow& entry);
    // Whether a row of the user's own table has this shortcut, letter case ignored.
    bool UserRowHolds(const std::string& shortcut) const;
    // When the site's table holds the shortcut the fields give, asks whether the user's
    // own entry is to override it; false when the user says no.
    bool SiteOverrideAgreed();
    // The site's rows, marked, after the user's.
    void AppendSiteLines(std::vector<ShortcutRow>* rows);
    // On opening: says when the site's file cannot be read and the last copy serves.
    void TellSiteCopyState();

    HWND ScopeBox = nullptr;
    int SpaceModeValue;
    // Where each row's line is; a row's item data is its index here.
    std::vector<RowAddress> RowAddresses;
};
