// The shortcut editor's handlers, in the order of its handler table.
#include "key_dlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

#include "data_locations.h"
#include "entry_rules.h"
#include "host_message.h"
#include "resource.h"
#include "shortcut_store.h"
#include "site_copy.h"
#include "table_backup.h"
#include "table_check.h"
#include "table_encoding.h"
#include "table_lock.h"
#include "table_probes.h"
#include "uf_host.h"

const MessageRoute<KEY_DLG> KEY_DLG::MessageMap[] = {
    {RouteKind::Command, IDC_ADD_BUTTON, BN_CLICKED, &KEY_DLG::AddShortcut},
    {RouteKind::Command, IDC_DELETE_BUTTON, BN_CLICKED, &KEY_DLG::DeleteShortcut},
    {RouteKind::Command, IDC_MODIFY_BUTTON, BN_CLICKED, &KEY_DLG::ModifyShortcut},
    {RouteKind::Notify, IDC_SHORTCUT_LIST, static_cast<int>(NM_CLICK),
     &KEY_DLG::FillFieldsFromSelection},
    // The button, the close box and Esc all send IDCANCEL: a modeless dialog hides.
    {RouteKind::Command, IDCANCEL, BN_CLICKED, &KEY_DLG::OnCancel},
    {RouteKind::Command, IDC_FIND_BUTTON, BN_CLICKED, &KEY_DLG::FindShortcut},
    {RouteKind::Command, IDC_OPEN_TABLE_BUTTON, BN_CLICKED, &KEY_DLG::OpenShortcutTable},
    {RouteKind::Command, IDC_MAKER_INFO_BUTTON, BN_CLICKED, &KEY_DLG::ShowMakerInfo},
    {RouteKind::Command, IDC_SPACE_MODE_CHECK, BN_CLICKED, &KEY_DLG::ToggleSpaceMode},
};

namespace {

const char NoPartMessage[] = "温馨提示！请打开一个部件文件";
const char OpenFailedMessage[] = "文件打开失败！";
const char AddDuplicateMessage[] = "快捷键已存在";
const char ModifyDuplicateMessage[] = "快捷键已存在，请先修改旧的快捷键或使用新的快捷键";
const char EmptyFieldMessage[] = "请确认所有项不能为空！";
const char NoRowToDeleteMessage[] = "请先选中一行再删除";
const char NoRowToModifyMessage[] = "请先选中一行再修改";
const char NotFoundMessage[] = "你查找快捷键不存在";
const char MakerCaption[] = "制作者信息";
const char MakerLine[] = "Tarnwick 快捷键工具 1.0\n问题与建议请联系 Tarnwick 开发组。";

// What the file format cannot hold, refused before anything is written.
const char EqualSignMessage[] = "各项中不能含有“=”号，请修改后再试！";
const char LineBreakMessage[] = "各项中不能含有换行符，请修改后再试！";
const char ShortcutTooLongMessage[] = "快捷键最多五个字符，请修改后再试！";
const char ShortcutStartMessage[] = "快捷键不能以“[”或“;”开头，请修改后再试！";
const char ValueTooLongMessage[] =
    "ID 和命令太长：保存的内容不能超过 255 个字节（一个汉字占两个字节），请缩短后再试！";

// The file and the list disagree, or the file cannot be read or written.
const char StaleRowMessage[] = "所选行在文件中已被删除或更改（另一个编辑器或手工修改）。"
                               "列表已按文件重新载入，请重新选择后再试。";
const char UnaddressableRowMessage[] =
    "该行无法由编辑器删除或修改：同一节中有重复的快捷键，或该节的节名出现了不止一次。"
    "请点“打开配置文件”手工改正文件，然后重新打开本窗口。";
const char UnaddressableLinesMessage[] =
    "快捷键表中以下各行无法由编辑器删除或修改（同一节中快捷键重复，或节名出现了不止一次），"
    "请点“打开配置文件”手工改正：";
const char TableUnreadableMessage[] = "快捷键表无法读写，本次操作没有保存，列表和文件均未改变。"
                                      "请关闭占用 button_id.ini 的程序，或取消它的只读属性，"
                                      "然后再试。";
const char UnreadableOnOpenMessage[] =
    "无法读取快捷键表 button_id.ini（可能被其他程序占用），列表为空。"
    "请关闭占用它的程序后重新打开本窗口。";

// A table saved as UTF-8.
const char Utf8QuestionMessage[] =
    "快捷键表 button_id.ini 是以 UTF-8 编码保存的（常见文本编辑器的默认方式），"
    "本工具按 GBK 编码读取它，其中的中文节名（全局、二次开发）和文字都将无法使用。\n\n"
    "是否把它转换为 GBK 编码？转换前会把原文件备份为 button_id.ini.bak。";
// Filled with the line and the character's code point, or the line and the byte.
const char Utf8NotConvertibleMessage[] =
    "快捷键表第 %d 行的字符 U+%04X 没有 GBK 编码，不能自动转换，文件没有改变。"
    "请用文本编辑器替换该字符，再把表另存为 GBK（ANSI）编码。";
const char Utf8BrokenMessage[] =
    "快捷键表第 %d 行有不是 UTF-8 的字节（0x%02X），表可能已经损坏，不能自动转换，文件没有改变。"
    "请用文本编辑器改正后另存为 GBK（ANSI）编码，或从 button_id.ini.bak 等备份中恢复。";
const char ConversionFailedMessage[] =
    "快捷键表无法写入，没有转换，文件没有改变。请关闭占用 button_id.ini 的程序后重新打开本窗口。";
const char ChangedWhileAskedMessage[] =
    "快捷键表在回答问题期间被改动了（另一个 NX 会话或手工修改），没有转换，文件没有改变。"
    "请重新打开本窗口。";
// An edit of a table that is not GBK text: nothing is written into it.
const char NotGbkEditMessage[] =
    "快捷键表 button_id.ini 不是 GBK 编码（UTF-8 或 UTF-16），本工具不能写入它，"
    "本次操作没有保存，列表和文件均未改变。"
    "请用文本编辑器把它另存为 GBK（ANSI）编码；"
    "UTF-8 的表也可以重新打开本窗口，同意把它转换为 GBK。";
const char OthersReloadedMessage[] = "列表已按文件重新载入。";
// chick.ini, written by the Space-mode box.
const char SettingsNotGbkMessage[] =
    "设置文件 chick.ini 不是 GBK 编码（可能被文本编辑器保存成了 UTF-8 或 UTF-16），"
    "本工具不会写入它，空格键模式没有改变。请用文本编辑器把它另存为 GBK（ANSI）编码。";
const char SettingsNotWrittenMessage[] =
    "无法写入设置文件 chick.ini（被其他程序占用或只读），空格键模式没有改变。";

// The site's table, listed from its local copy and never written. %s is the site's path.
const char SiteRowMarker[] = "[站点] ";
const char SiteRowMessage[] = "该行属于站点快捷键表 %s，编辑器不能删除或修改它。"
                              "如需改用自己的设置，请添加同一快捷键，覆盖站点的设置。";
const char SiteOverrideQuestion[] = "站点快捷键表 %s 中已有快捷键 %s。\n\n"
                                    "是否为您自己添加它？您的设置将覆盖站点的设置，"
                                    "站点的表不会改变。";
const char SiteUnreachableMessage[] = "无法读取站点快捷键表 %s，正在使用上次复制到本机的副本 %s。"
                                      "站点表恢复可用后，下次开启快捷键或打开本窗口时会自动更新。";
const char SiteNoCopyMessage[] = "无法读取站点快捷键表 %s，本机还没有它的副本，"
                                 "站点的快捷键暂时不可用。请检查 TARNWICK_SITE_TABLE 和网络连接。";

// At most this many lines are named when the editor opens, each cut to about this many
// bytes; the rest are counted.
enum { NamedLinesMax = 10, NamedLineBytes = 80 };

// The scope texts as the data of the scope box; the box sorts them.
const char* const ScopeTexts[] = {GlobalSection, ModuleScope, CustomSection};

const COLORREF ListBackground = RGB(200, 200, 200);
const COLORREF ListText = RGB(0, 0, 80);

// ButtonName=CommandText=ScopeText=SectionName of the line a row stands for.
std::string ValueOf(const ShortcutRow& entry) {
    return BuildEntryValue(entry.column[ButtonColumn].c_str(), entry.column[CommandColumn].c_str(),
                           entry.column[ScopeColumn].c_str(), entry.column[SectionColumn].c_str());
}

bool AnyEmpty(const ShortcutRow& entry) {
    for (int column = ShortcutColumn; column <= ScopeColumn; ++column)
        if (entry.column[column].empty())
            return true;
    return false;
}

const char* FaultMessage(EntryFault fault) {
    switch (fault) {
    case EntryFault::EqualSign:
        return EqualSignMessage;
    case EntryFault::LineBreak:
        return LineBreakMessage;
    case EntryFault::ShortcutTooLong:
        return ShortcutTooLongMessage;
    case EntryFault::ShortcutStart:
        return ShortcutStartMessage;
    case EntryFault::ValueTooLong:
        return ValueTooLongMessage;
    case EntryFault::None:
        break;
    }
    return nullptr;
}

// A line as a message names it: cut between characters, never inside a double-byte one,
// and without the NUL bytes that would end the message early.
std::string NamedLineText(const std::string& text) {
    std::string named;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t length = IsGbkLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (named.size() + length > NamedLineBytes) {
            named += "……";
            break;
        }
        named += text[i] ? text.substr(i, length) : std::string(" ");
        i += length - 1;
    }
    return named;
}

int CurrentModule() {
    int module_id = 0;
    UF_ask_application_module(&module_id);
    return module_id;
}

// Why a write of the table did not take.
const char* RefusalOf(const TableWrite& write) {
    if (write.lock_timeout)
        return LockTimeoutNotice;
    if (write.not_gbk)
        return NotGbkEditMessage;
    return TableUnreadableMessage;
}

} // namespace

// What a change tells the user once its part under the table's lock is over: a box
// holds the user's attention as long as the user likes, and another host session's
// writes must not wait for it.
struct KEY_DLG::ChangeReport {
    bool backup_failed = false;
    bool others_changed = false;
    bool reload = false;           // the list no longer shows the file
    const char* refusal = nullptr; // the change did not take, and why
    void Add(const TableWrite& write) {
        backup_failed = backup_failed || write.backup_failed;
        others_changed = others_changed || write.others_changed;
    }
};

KEY_DLG::KEY_DLG() : DialogBase(IDD_KEY_DLG), SpaceModeValue(SpaceMode) {}

KEY_DLG::~KEY_DLG() = default;

bool KEY_DLG::Route(RouteKind kind, int control, int code) {
    return RouteTo(this, MessageMap, kind, control, code);
}

void KEY_DLG::DoDataExchange() {
    // The three fields open empty; handlers read the controls themselves.
    ExchangeText(IDC_BUTTON_NAME_EDIT, std::string());
    ExchangeTextLimit(IDC_SHORTCUT_EDIT, std::string(), ShortcutTextMax);
    ExchangeText(IDC_COMMAND_EDIT, std::string());
    ScopeBox = Control(IDC_SCOPE_COMBO);
    // Only exactly 1 is Space mode; a hand-written 2 runs in immediate mode and so
    // shows clear.
    ExchangeCheck(IDC_SPACE_MODE_CHECK, SpaceModeValue == 1 ? BST_CHECKED : BST_UNCHECKED);
}

BOOL KEY_DLG::OnInitDialog() {
    for (const char* scope : ScopeTexts)
        SendDlgItemMessageA(Handle(), IDC_SCOPE_COMBO, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(scope));
    DialogBase::OnInitDialog();
    // Entry 1 of the sorted box: a new entry is tied to the current module by default.
    SendMessageA(ScopeBox, CB_SETCURSEL, 1, 0);

    HWND list = Control(IDC_SHORTCUT_LIST);
    SendMessageA(list, LVM_SETBKCOLOR, 0, ListBackground);
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, ListBackground);
    SendMessageA(list, LVM_SETTEXTCOLOR, 0, ListText);
    // Mask 0 sets the whole extended style: these two and nothing else.
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    InsertShortcutColumns(list);
    // Converted first, so that the list shows the table as every reader will read it.
    OfferGbkConversion();
    LoadList(true);
    return TRUE;
}

void KEY_DLG::AddShortcut() {
    if (UF_PART_ask_display_part() == 0) {
        HostMessage(NoPartMessage, 1);
        return;
    }
    // Asked before the table's lock is taken: a box may stay open as long as the user likes.
    if (!SiteOverrideAgreed())
        return;
    TableOpenTest table_open = OpenTableOrComplain();
    ShortcutRow entry;
    ChangeReport report;
    {
        TableLock lock(ShortcutTablePath);
        TableLines table;
        report.refusal = LockedTableRefusal(lock, &table);
        if (!report.refusal)
            report.refusal = NewEntryRefusal(AddDuplicateMessage, table, &entry);
        if (!report.refusal)
            WriteNewLine(entry, nullptr, &report);
    }
    if (!report.refusal) {
        AppendEntryRow(entry);
        SetControlText(IDC_SHORTCUT_EDIT, "");
        SetControlText(IDC_BUTTON_NAME_EDIT, "");
        SetControlText(IDC_COMMAND_EDIT, "");
    }
    Tell(report);
}

void KEY_DLG::WriteNewLine(const ShortcutRow& entry, const RowAddress* replaced,
                           ChangeReport* report) {
    const char* section = entry.column[SectionColumn].c_str();
    const char* key = entry.column[ShortcutColumn].c_str();
    TableWrite write = WriteTableEntry(ShortcutTablePath, section, key, ValueOf(entry).c_str());
    report->Add(write);
    if (write.written && replaced) {
        write =
            RemoveTableEntry(ShortcutTablePath, replaced->section.c_str(), replaced->key.c_str());
        report->Add(write);
    }
    if (!write.written) {
        report->refusal = RefusalOf(write);
        // Whatever part of the new line reached the file goes again: its key was in no
        // section before.
        if (!write.not_gbk && !write.lock_timeout)
            report->Add(RemoveTableEntry(ShortcutTablePath, section, key));
    }
}

void KEY_DLG::DeleteShortcut() {
    TableOpenTest table_open = OpenTableOrComplain();
    int row = SelectedAddressableRow(NoRowToDeleteMessage);
    if (row < 0)
        return;
    const RowAddress line = *AddressOf(row);
    ChangeReport report;
    {
        TableLock lock(ShortcutTablePath);
        TableLines table;
        report.refusal = LockedTableRefusal(lock, &table);
        if (!report.refusal)
            report.refusal = StoredRowRefusal(table, line, &report.reload);
        if (!report.refusal) {
            TableWrite write =
                RemoveTableEntry(ShortcutTablePath, line.section.c_str(), line.key.c_str());
            report.Add(write);
            if (!write.written)
                report.refusal = RefusalOf(write);
        }
    }
    if (!report.refusal)
        DeleteRow(Control(IDC_SHORTCUT_LIST), row);
    Tell(report);
}

void KEY_DLG::ModifyShortcut() {
    TableOpenTest table_open = OpenTableOrComplain();
    int row = SelectedAddressableRow(NoRowToModifyMessage);
    if (row < 0 || !SiteOverrideAgreed())
        return;
    const RowAddress old_line = *AddressOf(row);
    ShortcutRow entry;
    ChangeReport report;
    // The whole change is one sequence under the lock, with no box inside it: the old
    // line is removed right after the check that found it as listed.
    {
        TableLock lock(ShortcutTablePath);
        TableLines table;
        report.refusal = LockedTableRefusal(lock, &table);
        if (!report.refusal)
            report.refusal = StoredRowRefusal(table, old_line, &report.reload);
        // The selected row takes part in the duplicate check: a modification has to give
        // a new shortcut, so the new line never replaces the old one in place.
        if (!report.refusal)
            report.refusal = NewEntryRefusal(ModifyDuplicateMessage, table, &entry);
        if (!report.refusal)
            WriteNewLine(entry, &old_line, &report);
    }
    if (!report.refusal) {
        DeleteRow(Control(IDC_SHORTCUT_LIST), row);
        AppendEntryRow(entry);
    }
    Tell(report);
}

void KEY_DLG::FillFieldsFromSelection() {
    HWND list = Control(IDC_SHORTCUT_LIST);
    int row = FirstSelectedRow(list);
    if (row < 0)
        return;
    // Whole texts: a cut one would be stored cut by the next modify.
    SetControlText(IDC_SHORTCUT_EDIT, RowText(list, row, ShortcutColumn).c_str());
    SetControlText(IDC_BUTTON_NAME_EDIT, RowText(list, row, ButtonColumn).c_str());
    SetControlText(IDC_COMMAND_EDIT, RowText(list, row, CommandColumn).c_str());
}

void KEY_DLG::FindShortcut() {
    HWND list = Control(IDC_SHORTCUT_LIST);
    std::string shortcut = ControlText(IDC_SHORTCUT_EDIT);
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = shortcut.c_str();
    int row = static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(&find)));
    if (row < 0) {
        Message(NotFoundMessage);
        return;
    }
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), TRUE);
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&state));
}

void KEY_DLG::OpenShortcutTable() {
    // Without a table (none was found at start-up) the shell would be handed an empty
    // name and open something else, such as the working folder.
    if (!ShortcutTablePath[0]) {
        Message(OpenFailedMessage);
        return;
    }
    ShellExecuteA(nullptr, "open", ShortcutTablePath, nullptr, nullptr, SW_RESTORE);
}

void KEY_DLG::ShowMakerInfo() {
    Message(MakerLine, MakerCaption, MB_OKCANCEL);
}

void KEY_DLG::ToggleSpaceMode() {
    LRESULT state = SendDlgItemMessageA(Handle(), IDC_SPACE_MODE_CHECK, BM_GETCHECK, 0, 0);
    if (state != BST_CHECKED && state != BST_UNCHECKED)
        return;
    const int on = state == BST_CHECKED ? 1 : 0;
    TableWrite write = WriteSpaceModeSetting(SettingsFilePath, on);
    // Without chick.ini (none was found at start-up) the mode holds for this session.
    if (!write.written && SettingsFilePath[0]) {
        CheckDlgButton(Handle(), IDC_SPACE_MODE_CHECK, on ? BST_UNCHECKED : BST_CHECKED);
        Message(write.not_gbk ? SettingsNotGbkMessage : SettingsNotWrittenMessage);
        return;
    }
    SpaceMode = on;
}

void KEY_DLG::OfferGbkConversion() {
    std::string bytes;
    if (!ShortcutTablePath[0] || ReadFileBytes(ShortcutTablePath, &bytes) != 0 ||
        !IsUtf8Table(bytes))
        return;
    // No is the default: a key pressed without reading the question changes nothing.
    if (Message(Utf8QuestionMessage, MB_YESNO | MB_DEFBUTTON2) != IDYES)
        return;
    GbkConversion conversion = Utf8TableToGbk(bytes);
    if (!conversion.converted) {
        char text[512];
        if (conversion.code)
            snprintf(text, sizeof text, Utf8NotConvertibleMessage, conversion.line,
                     conversion.code);
        else
            snprintf(text, sizeof text, Utf8BrokenMessage, conversion.line, conversion.byte);
        Message(text);
        return;
    }
    TableWrite write = ReplaceTableBytes(ShortcutTablePath, bytes, conversion.gbk);
    if (write.backup_failed)
        Message(BackupFailedMessage);
    if (write.lock_timeout)
        Message(LockTimeoutNotice);
    else if (!write.written)
        Message(write.others_changed ? ChangedWhileAskedMessage : ConversionFailedMessage);
}

void KEY_DLG::LoadList(bool name_unaddressable_lines) {
    TableLines table;
    TableRead read = ReadTableNow(ShortcutTablePath, &table);
    std::vector<ListedLine> lines = ListTableLines(table);
    std::vector<ShortcutRow> rows;
    rows.reserve(lines.size());
    RowAddresses.clear();
    std::string named;
    int unaddressable = 0;
    for (const ListedLine& line : lines) {
        rows.push_back(line.row);
        RowAddresses.push_back(line.address);
        if (line.address.addressable || ++unaddressable > NamedLinesMax)
            continue;
        char number[32];
        snprintf(number, sizeof number, "\n第 %d 行：", line.address.line_number);
        named += number + NamedLineText(line.text);
    }
    AppendSiteLines(&rows);
    FillShortcutList(Control(IDC_SHORTCUT_LIST), rows);
    if (!name_unaddressable_lines)
        return;
    TellSiteCopyState();
    if (read == TableRead::Unreadable) {
        Message(UnreadableOnOpenMessage);
    } else if (unaddressable > 0) {
        if (unaddressable > NamedLinesMax) {
            char more[64];
            snprintf(more, sizeof more, "\n……共 %d 行", unaddressable);
            named += more;
        }
        Message((UnaddressableLinesMessage + named).c_str());
    }
}

TableOpenTest KEY_DLG::OpenTableOrComplain() {
    TableOpenTest table(ShortcutTablePath);
    if (!table.Opened())
        Message(OpenFailedMessage);
    return table;
}

const char* KEY_DLG::LockedTableRefusal(const TableLock& lock, TableLines* table) const {
    if (!lock.Held())
        return LockTimeoutNotice;
    if (ReadTableNow(ShortcutTablePath, table) == TableRead::Unreadable)
        return TableUnreadableMessage;
    // A table the editor was not let convert: nothing is written into it.
    if (table->encoding != TableEncoding::Gbk)
        return NotGbkEditMessage;
    return nullptr;
}

const char* KEY_DLG::NewEntryRefusal(const char* duplicate_message, const TableLines& table,
                                     ShortcutRow* entry) {
    // Keys and values are stored as the profile service reads them back: trimmed.
    std::string& shortcut = entry->column[ShortcutColumn];
    shortcut = TrimProfileBlanks(ControlText(IDC_SHORTCUT_EDIT));
    if (!shortcut.empty() && (UserRowHolds(shortcut) || FileHoldsShortcut(table, shortcut)))
        return duplicate_message;
    entry->column[ButtonColumn] = TrimProfileBlanks(ControlText(IDC_BUTTON_NAME_EDIT));
    entry->column[CommandColumn] = TrimProfileBlanks(ControlText(IDC_COMMAND_EDIT));
    entry->column[ScopeColumn] = ControlText(IDC_SCOPE_COMBO);
    int module_id = CurrentModule();
    // Every check comes before the first change, so a refused add or modify leaves list
    // and file as they were.
    if (AnyEmpty(*entry))
        return EmptyFieldMessage;
    entry->column[SectionColumn] = SectionForScope(entry->column[ScopeColumn].c_str(), module_id);
    return FaultMessage(CheckEntry(shortcut, entry->column[ButtonColumn],
                                   entry->column[CommandColumn], entry->column[ScopeColumn],
                                   ValueOf(*entry)));
}

int KEY_DLG::SelectedAddressableRow(const char* no_row_message) {
    int row = FirstSelectedRow(Control(IDC_SHORTCUT_LIST));
    if (row < 0) {
        Message(no_row_message);
        return -1;
    }
    const RowAddress* address = AddressOf(row);
    if (address && address->site) {
        char text[1024];
        snprintf(text, sizeof text, SiteRowMessage, SiteTablePath);
        Message(text);
        return -1;
    }
    if (!address || !address->addressable) {
        Message(UnaddressableRowMessage);
        return -1;
    }
    return row;
}

const char* KEY_DLG::StoredRowRefusal(const TableLines& table, const RowAddress& address,
                                      bool* reload) {
    switch (FindStoredLine(table, address)) {
    case StoredLineState::AsListed:
        return nullptr;
    case StoredLineState::Unaddressable:
        *reload = true;
        return UnaddressableRowMessage;
    case StoredLineState::NotAsListed:
        break;
    }
    *reload = true;
    return StaleRowMessage;
}

void KEY_DLG::Tell(const ChangeReport& report) {
    if (report.backup_failed)
        Message(BackupFailedMessage);
    if (report.refusal)
        Message(report.refusal);
    if (report.others_changed)
        Message((std::string(OthersChangedNotice) + OthersReloadedMessage).c_str());
    // The list shows the file again: read afresh.
    if (report.reload || report.others_changed)
        LoadList(false);
}

const RowAddress* KEY_DLG::AddressOf(int row) const {
    LPARAM index = RowData(Control(IDC_SHORTCUT_LIST), row);
    if (index < 0 || static_cast<size_t>(index) >= RowAddresses.size())
        return nullptr;
    return &RowAddresses[static_cast<size_t>(index)];
}

int KEY_DLG::AppendEntryRow(const ShortcutRow& entry) {
    RowAddress address;
    address.section = entry.column[SectionColumn];
    address.key = entry.column[ShortcutColumn];
    address.value = ValueOf(entry);
    address.has_value = true;
    RowAddresses.push_back(address);
    return AppendRow(Control(IDC_SHORTCUT_LIST), entry,
                     static_cast<LPARAM>(RowAddresses.size() - 1));
}

bool KEY_DLG::UserRowHolds(const std::string& shortcut) const {
    HWND list = Control(IDC_SHORTCUT_LIST);
    int count = RowCount(list);
    for (int row = 0; row < count; ++row) {
        const RowAddress* address = AddressOf(row);
        if ((!address || !address->site) &&
            SameProfileName(RowText(list, row, ShortcutColumn), shortcut))
            return true;
    }
    return false;
}

bool KEY_DLG::SiteOverrideAgreed() {
    if (!SiteCopyPath[0])
        return true;
    std::string shortcut = TrimProfileBlanks(ControlText(IDC_SHORTCUT_EDIT));
    // A code of the user's own is refused as a duplicate, whatever the site holds.
    if (shortcut.empty() || UserRowHolds(shortcut))
        return true;
    // The copy as it is now: a switch-on since the opening may have refreshed it.
    TableLines site;
    if (ReadTableNow(SiteCopyPath, &site) != TableRead::Read || !FileHoldsShortcut(site, shortcut))
        return true;
    char text[1024];
    snprintf(text, sizeof text, SiteOverrideQuestion, SiteTablePath, shortcut.c_str());
    // No is the default: the site's entry stays in force unless the user chooses.
    return Message(text, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

void KEY_DLG::AppendSiteLines(std::vector<ShortcutRow>* rows) {
    if (!SiteCopyPath[0])
        return;
    TableLines site;
    if (ReadTableNow(SiteCopyPath, &site) == TableRead::Read) {
        for (ListedLine& line : ListTableLines(site)) {
            line.row.column[SectionColumn] = SiteRowMarker + line.row.column[SectionColumn];
            line.address.site = true;
            rows->push_back(line.row);
            RowAddresses.push_back(line.address);
        }
    }
}

void KEY_DLG::TellSiteCopyState() {
    if (!SiteCopyPath[0])
        return;
    char text[1024];
    if (SiteCopyStatus == SiteCopyState::Unreachable || SiteCopyStatus == SiteCopyState::CopyFailed)
        snprintf(text, sizeof text, SiteUnreachableMessage, SiteTablePath, SiteCopyPath);
    else if (SiteCopyStatus == SiteCopyState::NoCopy)
        snprintf(text, sizeof text, SiteNoCopyMessage, SiteTablePath);
    else
        return;
    Message(text);
}
