// The shortcut editor's handlers, in the order of its handler table.
#include "key_dlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include "data_locations.h"
#include "resource.h"
#include "shortcut_list.h"
#include "shortcut_store.h"
#include "uf_host.h"

const MessageRoute<KEY_DLG> KEY_DLG::MessageMap[] = {
    {RouteKind::Command, IDC_ADD_BUTTON, BN_CLICKED, &KEY_DLG::AddShortcut},
    {RouteKind::Command, IDC_DELETE_BUTTON, BN_CLICKED, &KEY_DLG::DeleteShortcut},
    {RouteKind::Command, IDC_MODIFY_BUTTON, BN_CLICKED, &KEY_DLG::ModifyShortcut},
    {RouteKind::Notify, IDC_SHORTCUT_LIST, static_cast<int>(NM_CLICK),
     &KEY_DLG::FillFieldsFromSelection},
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
// An "=" inside a field would move the fields of the stored line when it is read back.
const char EqualSignMessage[] = "各项中不能含有“=”号，请修改后再试！";
const char NoRowToDeleteMessage[] = "请先选中一行再删除";
const char NoRowToModifyMessage[] = "请先选中一行再修改";
const char NotFoundMessage[] = "你查找快捷键不存在";
const char MakerCaption[] = "制作者信息";
const char MakerLine[] = "Tarnwick 快捷键工具 1.0\n问题与建议请联系 Tarnwick 开发组。";

enum { ShortcutMaxChars = 5 };

// The scope texts as the data of the scope box; the box sorts them.
const char* const ScopeTexts[] = {GlobalSection, ModuleScope, CustomSection};

const COLORREF ListBackground = RGB(200, 200, 200);
const COLORREF ListText = RGB(0, 0, 80);

// The test opening of button_id.ini that add, delete and modify make before they
// change the table: read and write, no create, no truncate, and other openers (the
// profile service) keep read and write access. Nothing goes through the handle; it is
// closed when the handler ends, whichever way it ends.
class TableOpenTest {
  public:
    TableOpenTest()
        : file_(ShortcutTablePath[0] ? CreateFileA(ShortcutTablePath, GENERIC_READ | GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                     : INVALID_HANDLE_VALUE) {}
    ~TableOpenTest() {
        if (Opened())
            CloseHandle(file_);
    }
    TableOpenTest(const TableOpenTest&) = delete;
    TableOpenTest& operator=(const TableOpenTest&) = delete;
    bool Opened() const { return file_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE file_;
};

// Where a row's line is stored: its section and key, read whole, since a cut text
// would address a different line.
struct StoredLine {
    std::string section, shortcut;
};

StoredLine StoredLineOf(HWND list, int row) {
    return {RowText(list, row, SectionColumn), RowText(list, row, ShortcutColumn)};
}

void RemoveStoredLine(const StoredLine& line) {
    WriteProfileText(ShortcutTablePath, line.section.c_str(), line.shortcut.c_str(), nullptr);
}

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

bool AnyEqualSign(const ShortcutRow& entry) {
    for (int column = ShortcutColumn; column <= ScopeColumn; ++column)
        if (entry.column[column].find('=') != std::string::npos)
            return true;
    return false;
}

int CurrentModule() {
    int module_id = 0;
    UF_ask_application_module(&module_id);
    return module_id;
}

} // namespace

KEY_DLG::KEY_DLG() : DialogBase(IDD_KEY_DLG), SpaceModeValue(SpaceMode) {}

KEY_DLG::~KEY_DLG() = default;

bool KEY_DLG::Route(RouteKind kind, int control, int code) {
    return RouteTo(this, MessageMap, kind, control, code);
}

void KEY_DLG::DoDataExchange() {
    ExchangeText(IDC_BUTTON_NAME_EDIT, ButtonNameValue);
    ExchangeTextLimit(IDC_SHORTCUT_EDIT, ShortcutValue, ShortcutMaxChars);
    ExchangeText(IDC_COMMAND_EDIT, CommandValue);
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
    LoadShortcutList(list, ShortcutTablePath);
    return TRUE;
}

void KEY_DLG::AddShortcut() {
    if (UF_PART_ask_display_part() == 0) {
        uc1601(NoPartMessage, 1);
        return;
    }
    TableOpenTest table;
    if (!table.Opened())
        Message(OpenFailedMessage);

    ShortcutRow entry;
    if (!CheckedNewEntry(AddDuplicateMessage, &entry))
        return;
    const std::string& section = entry.column[SectionColumn];
    WriteProfileText(ShortcutTablePath, section.c_str(), entry.column[ShortcutColumn].c_str(),
                     ValueOf(entry).c_str());
    AppendRow(Control(IDC_SHORTCUT_LIST), entry);
    SetControlText(IDC_SHORTCUT_EDIT, "");
    SetControlText(IDC_BUTTON_NAME_EDIT, "");
    SetControlText(IDC_COMMAND_EDIT, "");
}

void KEY_DLG::DeleteShortcut() {
    TableOpenTest table;
    if (!table.Opened())
        Message(OpenFailedMessage);
    HWND list = Control(IDC_SHORTCUT_LIST);
    int row = SelectedRowOrMessage(NoRowToDeleteMessage);
    if (row < 0)
        return;
    RemoveStoredLine(StoredLineOf(list, row));
    DeleteRow(list, row);
}

void KEY_DLG::ModifyShortcut() {
    TableOpenTest table;
    if (!table.Opened())
        Message(OpenFailedMessage);
    HWND list = Control(IDC_SHORTCUT_LIST);
    int row = SelectedRowOrMessage(NoRowToModifyMessage);
    if (row < 0)
        return;
    StoredLine old_line = StoredLineOf(list, row);

    // The selected row takes part in the duplicate check: a modification has to give a
    // new shortcut.
    ShortcutRow entry;
    if (!CheckedNewEntry(ModifyDuplicateMessage, &entry))
        return;
    // The old line goes only now that the new one is sure to be written: a refused
    // modification leaves table and list as they were.
    const std::string& section = entry.column[SectionColumn];
    RemoveStoredLine(old_line);
    WriteProfileText(ShortcutTablePath, section.c_str(), entry.column[ShortcutColumn].c_str(),
                     ValueOf(entry).c_str());
    DeleteRow(list, row);
    AppendRow(list, entry);
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
    if (state == BST_CHECKED) {
        WriteSpaceModeSetting(SettingsFilePath, 1);
        SpaceMode = 1;
    } else if (state == BST_UNCHECKED) {
        WriteSpaceModeSetting(SettingsFilePath, 0);
        SpaceMode = 0;
    }
}

bool KEY_DLG::CheckedNewEntry(const char* duplicate_message, ShortcutRow* entry) {
    // The fields are read, and the module asked, in the order the checks need them.
    entry->column[ShortcutColumn] = ControlText(IDC_SHORTCUT_EDIT);
    if (FindShortcutRow(Control(IDC_SHORTCUT_LIST), entry->column[ShortcutColumn]) >= 0) {
        Message(duplicate_message);
        return false;
    }
    entry->column[ButtonColumn] = ControlText(IDC_BUTTON_NAME_EDIT);
    entry->column[CommandColumn] = ControlText(IDC_COMMAND_EDIT);
    entry->column[ScopeColumn] = ControlText(IDC_SCOPE_COMBO);
    int module_id = CurrentModule();
    // Every check comes before the first change, so a refused add or modify leaves list
    // and file as they were.
    if (AnyEmpty(*entry)) {
        Message(EmptyFieldMessage);
        return false;
    }
    if (AnyEqualSign(*entry)) {
        Message(EqualSignMessage);
        return false;
    }
    entry->column[SectionColumn] = SectionForScope(entry->column[ScopeColumn].c_str(), module_id);
    return true;
}

int KEY_DLG::SelectedRowOrMessage(const char* no_row_message) {
    int row = FirstSelectedRow(Control(IDC_SHORTCUT_LIST));
    if (row < 0)
        Message(no_row_message);
    return row;
}
