// The editor's dialog template as stored in Tarnwick.dll, and the dialog as it opens.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "editor_session.h"
#include "gbk_text.h"

using namespace tarnwick_test;

namespace {

// Reads a DLGTEMPLATEEX resource.
class TemplateReader {
  public:
    TemplateReader(const BYTE* data, size_t size) : p_(data), end_(data + size) {}
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return Take<short>(); }
    BYTE Byte() { return Take<BYTE>(); }
    // A zero-terminated UTF-16 text, as GBK.
    std::string Text() {
        std::wstring wide;
        while (WCHAR c = Take<WCHAR>())
            wide += c;
        return driving::WideToGbk(wide);
    }
    // An ordinal (0xFFFF, n) or a text: ordinals come back as "#n".
    std::string TextOrOrdinal() {
        if (Peek<WORD>() == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void AlignDword(const BYTE* base) {
        while ((p_ - base) % 4)
            ++p_;
    }
    bool Overrun() const { return overrun_; }

  private:
    template <typename T> T Peek() {
        T value{};
        if (p_ + sizeof(T) <= end_)
            memcpy(&value, p_, sizeof(T));
        return value;
    }
    template <typename T> T Take() {
        if (p_ + sizeof(T) > end_) {
            overrun_ = true;
            return T{};
        }
        T value = Peek<T>();
        p_ += sizeof(T);
        return value;
    }
    const BYTE* p_;
    const BYTE* end_;
    bool overrun_ = false;
};

struct ControlEntry {
    DWORD id;
    std::string kind; // class ordinal "#n" or class name
    std::string text;
    DWORD style; // besides WS_CHILD | WS_VISIBLE
    DWORD ex_style;
    short x, y, cx, cy;
};

const DWORD NoId = 0xFFFFFFFF;
const char ButtonClass[] = "#128", EditClass[] = "#129", StaticClass[] = "#130",
           ComboClass[] = "#133";

const std::vector<ControlEntry> Controls = {
    {8000, EditClass, "", WS_BORDER | WS_TABSTOP | ES_UPPERCASE | ES_AUTOHSCROLL, 0, 42, 279, 54,
     14},
    {8001, EditClass, "", WS_BORDER | WS_TABSTOP | ES_UPPERCASE | ES_AUTOHSCROLL, 0, 118, 279, 130,
     14},
    {8002, EditClass, "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 277, 279, 57, 14},
    {IDCANCEL, ButtonClass, "取消", BS_PUSHBUTTON | WS_TABSTOP, 0, 296, 321, 29, 14},
    {NoId, StaticClass, "快捷键;", SS_LEFT | WS_GROUP, 0, 6, 282, 30, 14},
    {NoId, StaticClass, "ID;", SS_LEFT | WS_GROUP, 0, 103, 282, 14, 14},
    {NoId, StaticClass, "命令;", SS_LEFT | WS_GROUP, 0, 253, 282, 24, 14},
    {8004, ButtonClass, "增加", BS_PUSHBUTTON | WS_TABSTOP, 0, 15, 299, 35, 14},
    {8005, ButtonClass, "删除", BS_PUSHBUTTON | WS_TABSTOP, 0, 61, 299, 35, 14},
    {8006, ButtonClass, "修改", BS_PUSHBUTTON | WS_TABSTOP, 0, 101, 301, 35, 12},
    {8011, ComboClass, "", CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
     149, 301, 124, 63},
    {8014, "SysListView32", "", LVS_REPORT | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT | WS_TABSTOP, 0, 6,
     7, 330, 259},
    {8016, ButtonClass, "查找", BS_PUSHBUTTON | WS_TABSTOP, 0, 293, 299, 29, 14},
    {8018, ButtonClass, "打开配置文件", BS_PUSHBUTTON | WS_TABSTOP, 0, 99, 321, 93, 14},
    {8019, ButtonClass, "启用空格键模式", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 17, 321, 72, 14},
    {8021, ButtonClass, "制作者信息", BS_PUSHBUTTON | WS_TABSTOP, 0, 211, 321, 50, 14},
};

} // namespace

TEST(EditorTemplate, ResourceHoldsTheDialogAsDesigned) {
    HMODULE dll = LoadLibraryExA((ProgramFolder() + "\\Tarnwick.dll").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(dll, nullptr);
    HRSRC found = FindResourceExA(dll, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(8000),
                                  MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    ASSERT_NE(found, nullptr);
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(dll, found)));
    TemplateReader in(base, SizeofResource(dll, found));

    EXPECT_EQ(in.Word(), 1);      // dlgVer
    EXPECT_EQ(in.Word(), 0xFFFF); // extended template
    in.Dword();                   // help id
    EXPECT_EQ(in.Dword(), 0u);    // extended style
    EXPECT_EQ(in.Dword(), static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                             WS_MAXIMIZEBOX | DS_MODALFRAME | DS_SETFONT));
    ASSERT_EQ(in.Word(), Controls.size());
    EXPECT_EQ(in.Short(), 0);
    EXPECT_EQ(in.Short(), 0);
    EXPECT_EQ(in.Short(), 347);
    EXPECT_EQ(in.Short(), 353);
    EXPECT_EQ(in.TextOrOrdinal(), ""); // no menu
    EXPECT_EQ(in.TextOrOrdinal(), ""); // the standard dialog class
    EXPECT_EQ(in.Text(), "快捷键设置");
    EXPECT_EQ(in.Word(), 9);   // points
    EXPECT_EQ(in.Word(), 400); // weight
    EXPECT_EQ(in.Byte(), 0);   // not italic
    EXPECT_EQ(in.Byte(), 134); // GB2312
    EXPECT_EQ(in.Text(), "宋体");

    for (const ControlEntry& want : Controls) {
        SCOPED_TRACE("control " + std::to_string(static_cast<int>(want.id)) + " " + want.text);
        in.AlignDword(base);
        in.Dword(); // help id
        EXPECT_EQ(in.Dword(), want.ex_style);
        EXPECT_EQ(in.Dword(), want.style | WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(in.Short(), want.x);
        EXPECT_EQ(in.Short(), want.y);
        EXPECT_EQ(in.Short(), want.cx);
        EXPECT_EQ(in.Short(), want.cy);
        EXPECT_EQ(in.Dword(), want.id);
        std::string kind = in.TextOrOrdinal();
        if (want.kind[0] == '#')
            EXPECT_EQ(kind, want.kind);
        else
            EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, kind.c_str(), -1,
                                     want.kind.c_str(), -1),
                      CSTR_EQUAL)
                << kind;
        EXPECT_EQ(in.TextOrOrdinal(), want.text);
        WORD extra = in.Word();
        EXPECT_EQ(extra, 0); // no creation data
    }
    EXPECT_FALSE(in.Overrun());
    FreeLibrary(dll);
}

TEST(EditorTemplate, OpensAsTheDesignSays) {
    struct Case {
        std::string check1;
        UINT check_state;
    };
    // Only exactly 1 is Space mode; a hand-written 2 runs immediate mode and shows clear.
    for (const Case& c :
         {Case{"1", BST_CHECKED}, Case{"0", BST_UNCHECKED}, Case{"2", BST_UNCHECKED}}) {
        SCOPED_TRACE("CHECK1=" + c.check1);
        EditorSession session("editor_template", "[MODE]\r\nMODE=0\r\n", c.check1);
        EditorDriver editor = session.Open();
        ASSERT_NE(editor.Dialog(), nullptr);
        HWND dialog = editor.Dialog();

        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(GetParent(dialog), nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
        EXPECT_EQ(IsDlgButtonChecked(dialog, SpaceModeCheckId), c.check_state);
        EXPECT_EQ(GetFocus(), editor.Item(ShortcutEditId));

        // The scope box sorts its three texts and opens on entry 1.
        std::vector<std::string> scopes;
        for (int i = 0; i < SendDlgItemMessageA(dialog, ScopeComboId, CB_GETCOUNT, 0, 0); ++i) {
            char text[64] = {};
            SendDlgItemMessageA(dialog, ScopeComboId, CB_GETLBTEXT, i,
                                reinterpret_cast<LPARAM>(text));
            scopes.push_back(text);
        }
        EXPECT_EQ(scopes, (std::vector<std::string>{CustomText, ModuleText, GlobalText}));
        EXPECT_EQ(SendDlgItemMessageA(dialog, ScopeComboId, CB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(editor.Scope(), ModuleText);

        HWND list = editor.Item(ShortcutListId);
        EXPECT_EQ(SendMessageA(list, LVM_GETBKCOLOR, 0, 0), 0x00C8C8C8);
        EXPECT_EQ(SendMessageA(list, LVM_GETTEXTBKCOLOR, 0, 0), 0x00C8C8C8);
        EXPECT_EQ(SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0), 0x00500000);
        EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
                  LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        const struct {
            const char* heading;
            int width;
        } columns[] = {{"快捷键", 50}, {"ID", 300}, {"功能", 80}, {"模块", 80}, {"备注", 50}};
        for (int i = 0; i < 5; ++i) {
            char heading[64] = {};
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = heading;
            column.cchTextMax = sizeof heading;
            ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
            EXPECT_STREQ(heading, columns[i].heading);
            EXPECT_EQ(column.cx, columns[i].width);
            EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        }
        EXPECT_FALSE(SendMessageA(list, LVM_GETCOLUMNA, 5, 0));
        EXPECT_EQ(editor.RowCount(), 0);
        for (int id : {ShortcutEditId, ButtonNameEditId, CommandEditId})
            EXPECT_EQ(editor.Text(id), "");
    }
}

TEST(EditorTemplate, ShortcutFieldTakesFiveLettersInUpperCase) {
    EditorSession session("editor_typing", "");
    EditorDriver editor = session.Open();
    ASSERT_NE(editor.Dialog(), nullptr);
    for (char c : std::string("abcdef"))
        SendMessageA(editor.Item(ShortcutEditId), WM_CHAR, static_cast<WPARAM>(c), 1);
    for (char c : std::string("line_a"))
        SendMessageA(editor.Item(ButtonNameEditId), WM_CHAR, static_cast<WPARAM>(c), 1);
    for (char c : std::string("Free"))
        SendMessageA(editor.Item(CommandEditId), WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(editor.Text(ShortcutEditId), "ABCDE");
    EXPECT_EQ(editor.Text(ButtonNameEditId), "LINE_A");
    EXPECT_EQ(editor.Text(CommandEditId), "Free");
}
