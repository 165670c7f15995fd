// Writes to the table: checked, all or nothing, preceded once a session by a copy in
// button_id.ini.bak; and a table saved as UTF-8, converted on the user's word.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "editor_session.h"
#include "gbk_text.h"

using namespace tarnwick_test;

namespace {

const char OpenFailed[] = "文件打开失败！";
const char CannotWrite[] = "快捷键表无法读写，本次操作没有保存，列表和文件均未改变。"
                           "请关闭占用 button_id.ini 的程序，或取消它的只读属性，然后再试。";
const char BackupFailed[] = "无法备份快捷键表（button_id.ini.bak 写入失败），本次修改仍将保存。"
                            "请检查 data 文件夹是否可写。";
const char Utf8Question[] =
    "快捷键表 button_id.ini 是以 UTF-8 编码保存的（常见文本编辑器的默认方式），"
    "本工具按 GBK 编码读取它，其中的中文节名（全局、二次开发）和文字都将无法使用。\n\n"
    "是否把它转换为 GBK 编码？转换前会把原文件备份为 button_id.ini.bak。";
// Filled with the line and the character.
const char NotConvertible[] =
    "快捷键表第 %d 行的字符 U+%04X 没有 GBK 编码，不能自动转换，文件没有改变。"
    "请用文本编辑器替换该字符，再把表另存为 GBK（ANSI）编码。";
const char Broken[] =
    "快捷键表第 %d 行有不是 UTF-8 的字节（0x%02X），表可能已经损坏，不能自动转换，文件没有改变。"
    "请用文本编辑器改正后另存为 GBK（ANSI）编码，或从 button_id.ini.bak 等备份中恢复。";
const char NotGbkNotice[] =
    "快捷键表 button_id.ini 不是 GBK 编码（可能被文本编辑器保存成了 UTF-8 或 UTF-16），"
    "本工具不会写入它，文件保持原样，快捷键的开关状态也不会被记住。"
    "请用文本编辑器把它另存为 GBK（ANSI）编码；"
    "UTF-8 的表也可以打开快捷键编辑器（快捷键设置），同意把它转换为 GBK。";
const char NotGbkEdit[] =
    "快捷键表 button_id.ini 不是 GBK 编码（UTF-8 或 UTF-16），本工具不能写入它，"
    "本次操作没有保存，列表和文件均未改变。"
    "请用文本编辑器把它另存为 GBK（ANSI）编码；"
    "UTF-8 的表也可以重新打开本窗口，同意把它转换为 GBK。";
const char SettingsNotGbk[] =
    "设置文件 chick.ini 不是 GBK 编码（可能被文本编辑器保存成了 UTF-8 或 UTF-16），"
    "本工具不会写入它，空格键模式没有改变。请用文本编辑器把它另存为 GBK（ANSI）编码。";

std::string Filled(const char* format, int line, unsigned value) {
    char text[512];
    snprintf(text, sizeof text, format, line, value);
    return text;
}

const std::string Table = "[MODE]\r\nMODE=1\r\n[全局]\r\nA=BUTTON_A=Line=全局=全局\r\n"
                          "B=BUTTON_B=Box=全局=全局\r\n";
const ListRow RowA = {"A", "BUTTON_A", "Line", "全局", "全局"};
const ListRow RowB = {"B", "BUTTON_B", "Box", "全局", "全局"};

std::string Utf8Of(const std::string& gbk) {
    return driving::GbkToUtf8(gbk);
}

std::string Utf16Of(const std::string& gbk) {
    int n = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), &wide[0], n);
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

// Generation 0 is button_id.ini.bak, generation n button_id.ini.bak.n.
std::string Backup(const EditorSession& session, int generation = 0) {
    std::string name = "button_id.ini.bak";
    if (generation > 0)
        name += "." + std::to_string(generation);
    return session.Folder().Exists(name) ? session.Folder().Read(name) : "<none>";
}

// The host ends its session and starts a new one with the plug-in.
void NewHostSession(EditorSession& session) {
    session.Host().Unload();
    ASSERT_TRUE(session.Host().Load());
    session.Host().StartUp();
}

int CountOf(const Messages& messages, const std::string& text) {
    int count = 0;
    for (const auto& message : messages)
        count += message.first == text ? 1 : 0;
    return count;
}

void AddGlobal(const EditorDriver& editor, const std::string& shortcut) {
    editor.SelectScope(GlobalText);
    editor.SetFields(shortcut, "BUTTON_" + shortcut, shortcut);
    editor.Click(AddButtonId);
}

} // namespace

// Held open by a program that shares nothing, or that lets others only read: the read
// or the write fails, and add, delete and modify change neither list nor file.
TEST(TableWrites, TableHeldByAnotherProgramChangesNothing) {
    for (DWORD share : {DWORD(0), DWORD(FILE_SHARE_READ)}) {
        SCOPED_TRACE(share ? "others may read" : "shared with nobody");
        EditorSession session("table_held", Table);
        HostConfig_SetDisplayPart(1);
        EditorDriver editor = session.Open();
        const std::string path = session.Folder().PathOf("button_id.ini");
        HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);

        AddGlobal(editor, "Q");
        editor.SelectRows({0});
        editor.Click(DeleteButtonId);
        editor.SelectRows({0});
        editor.SetFields("Q", "BUTTON_Q", "Q");
        editor.Click(ModifyButtonId);
        CloseHandle(held);

        const std::vector<std::string> refused = {OpenFailed, CannotWrite};
        std::vector<std::string> expected;
        for (int i = 0; i < 3; ++i)
            expected.insert(expected.end(), refused.begin(), refused.end());
        EXPECT_EQ(session.BoxTexts(), expected);
        EXPECT_EQ(session.Table(), Table);
        EXPECT_EQ(editor.Rows(), (std::vector<ListRow>{RowA, RowB}));
        EXPECT_EQ(editor.Text(ShortcutEditId), "Q");

        // Released, list and file still agree: the same modify goes through.
        session.Boxes().Clear();
        editor.SelectRows({0});
        editor.Click(ModifyButtonId);
        EXPECT_TRUE(session.BoxTexts().empty());
        EXPECT_EQ(session.Table(), "[MODE]\r\nMODE=1\r\n[全局]\r\nB=BUTTON_B=Box=全局=全局\r\n"
                                   "Q=BUTTON_Q=Q=全局=全局\r\n");
        EXPECT_EQ(editor.Rows(),
                  (std::vector<ListRow>{RowB, {"Q", "BUTTON_Q", "Q", "全局", "全局"}}));
    }
}

// A table that cannot be read when the editor opens is named; the list stays empty.
TEST(TableWrites, TableHeldWhenTheEditorOpens) {
    EditorSession session("table_held_open", Table);
    FileBlocker blocker(session.Folder().PathOf("button_id.ini"), false);
    EditorDriver editor = session.Open();
    blocker.Release();
    EXPECT_EQ(
        session.BoxTexts(),
        std::vector<std::string>{"无法读取快捷键表 button_id.ini（可能被其他程序占用），列表为空。"
                                 "请关闭占用它的程序后重新打开本窗口。"});
    EXPECT_EQ(editor.RowCount(), 0);
    EXPECT_EQ(session.Table(), Table);
}

// No table at start-up: nothing can be stored, so no row appears.
TEST(TableWrites, NoTableAtStartUpAddsNoRow) {
    EditorSession session("table_none", "", "0", false);
    HostConfig_SetDisplayPart(1);
    EditorDriver editor = session.Open();
    AddGlobal(editor, "A");
    EXPECT_EQ(session.BoxTexts(), (std::vector<std::string>{OpenFailed, CannotWrite}));
    EXPECT_EQ(editor.RowCount(), 0);
    EXPECT_FALSE(session.Folder().Exists("button_id.ini"));
    EXPECT_EQ(GetFileAttributesA(".ini"), INVALID_FILE_ATTRIBUTES);
}

// The copy is made before the first write of each load of the plug-in, switching on or
// off included, and replaces an older one; later writes of the session leave it.
TEST(TableBackup, FirstWriteOfEachSessionCopiesTheTable) {
    EditorSession session("table_backup", Table);
    session.Folder().Write("button_id.ini.bak", "an older copy");
    HostConfig_SetDisplayPart(1);
    EditorDriver editor = session.Open();
    EXPECT_EQ(Backup(session), "an older copy"); // opening writes nothing

    AddGlobal(editor, "Q");
    const std::string after_first = session.Table();
    EXPECT_EQ(after_first, Table + "Q=BUTTON_Q=Q=全局=全局\r\n");
    EXPECT_EQ(Backup(session), Table);
    editor.SelectRows({0});
    editor.Click(DeleteButtonId);
    const std::string after_second = session.Table();
    EXPECT_NE(after_second, after_first);
    EXPECT_EQ(Backup(session), Table);
    EXPECT_TRUE(session.BoxTexts().empty());

    // A new session: switching off is its first write.
    session.Host().Unload();
    ASSERT_TRUE(session.Host().Load());
    session.Host().StartUp();
    EXPECT_EQ(Backup(session), Table);
    HostActions_Invoke("FENNOR_KEY_UNSET");
    EXPECT_NE(session.Table().find("MODE=0"), std::string::npos);
    EXPECT_EQ(Backup(session), after_second);
    HostActions_Invoke("FENNOR_KEY_SET");
    AddGlobal(session.Open(), "R");
    EXPECT_NE(session.Table().find("R=BUTTON_R"), std::string::npos);
    EXPECT_EQ(Backup(session), after_second);
    EXPECT_FALSE(session.Folder().Exists("button_id.ini.bak.new"));
}

// Switching rewrites the whole table through the profile service, which cannot keep a
// NUL byte or a broken double-byte character: the copy made before holds them, byte for
// byte.
TEST(TableBackup, SwitchingCopiesTheTableByteForByte) {
    const char nul_bytes[] = "[MODE]\r\nMODE=1\r\n[全局]\r\nA=B\0C=D=全局=全局\r\n";
    const std::string with_nul(nul_bytes, sizeof nul_bytes - 1);
    const std::string broken = "[MODE]\r\nMODE=1\r\n[全局]\r\nA=B\xC8=C=全局=全局\r\n";
    for (const std::string& table : {with_nul, broken}) {
        for (const char* action : {"FENNOR_KEY_SET", "FENNOR_KEY_UNSET"}) {
            SCOPED_TRACE(action);
            EditorSession session("table_backup_switch", table);
            HostActions_Invoke(action);
            EXPECT_EQ(Backup(session), table);
            EXPECT_EQ(RecordedMessages().size(), 1u); // the switch's own, no other
        }
    }
}

// A copy that cannot be made is reported once, by the editor or through the host for
// switching, and the write goes on.
TEST(TableBackup, FailedCopyIsReportedOnce) {
    for (bool by_switch : {false, true}) {
        SCOPED_TRACE(by_switch ? "switching off first" : "editor first");
        EditorSession session("table_backup_fails", Table);
        // A folder in the copy's place: it cannot be replaced by a file.
        CreateDirectoryA(session.Folder().PathOf("button_id.ini.bak").c_str(), nullptr);
        HostConfig_SetDisplayPart(1);
        EditorDriver editor = session.Open();
        if (by_switch)
            HostActions_Invoke("FENNOR_KEY_UNSET");
        AddGlobal(editor, "Q");
        AddGlobal(editor, "R");
        HostActions_Invoke("FENNOR_KEY_SET");

        Messages host_messages = RecordedMessages();
        int host_reports = 0;
        for (const auto& message : host_messages)
            host_reports += message.first == BackupFailed ? 1 : 0;
        if (by_switch) {
            EXPECT_EQ(host_reports, 1);
            EXPECT_TRUE(session.BoxTexts().empty());
        } else {
            EXPECT_EQ(host_reports, 0);
            EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{BackupFailed});
            for (const SeenMessageBox& box : session.Boxes().Seen())
                EXPECT_EQ(box.caption, EditorCaption);
        }
        EXPECT_NE(session.Table().find("Q=BUTTON_Q=Q=全局=全局\r\nR=BUTTON_R=R=全局=全局\r\n"),
                  std::string::npos);
        EXPECT_EQ(editor.RowCount(), 4);
        EXPECT_FALSE(session.Folder().Exists("button_id.ini.bak.new"));
    }
}

// A table saved as UTF-8 is recognised when the editor opens, by its own texts, and a GBK
// table never is; converted on Yes (after the session's copy), left alone on No. A
// conversion that cannot keep every character changes
// nothing and names the first that would not survive.
TEST(TableEncoding, Utf8TableIsOfferedForConversion) {
    const std::string gbk =
        "[MODE]\r\nMODE=1\r\n[全局]\r\nL=BUTTON_L=直线=全局=全局\r\n[二次开发]\r\n"
        "QT=MY_TOOL=工具=二次开发=二次开发\r\n";
    const std::vector<ListRow> rows = {{"L", "BUTTON_L", "直线", "全局", "全局"},
                                       {"QT", "MY_TOOL", "工具", "二次开发", "二次开发"}};
    struct Case {
        const char* name;
        std::string table;
        int answer;
        std::vector<std::string> messages;
        std::string table_after;
        std::string backup_after;
    };
    const std::string utf8 = Utf8Of(gbk);
    const std::string bom = "\xEF\xBB\xBF" + utf8;
    // Thai has no GBK form; a best fit would turn the micro sign into a Greek mu and a
    // capital U with diaeresis into a small one.
    const std::string thai = utf8 + "[40]\r\nT=\xE0\xB8\x81=x=y=z\r\n";
    const std::string micro = utf8 + "[40]\r\nM=\xC2\xB5m=x=y=z\r\n";
    const std::string umlaut = bom + "[40]\r\nU=\xC3\x9C=x=y=z\r\n";
    const std::string emoji = utf8 + "[40]\r\nE=\xF0\x9F\x98\x80=x=y=z\r\n";
    // A UTF-8 table that a rewrite through GBK broke: its names are still UTF-8.
    const std::string broken = utf8 + "[40]\r\nB=X\x97?1\r\n";
    // GBK whose bytes are valid UTF-8 as well (小写, 斜位), with and without the names.
    const std::string gbk_like_utf8 =
        "[MODE]\r\nMODE=1\r\n[40]\r\nXX=UG_A=小写\r\nXW=UG_B=斜位\r\n";
    const std::string gbk_with_names = gbk + "[40]\r\nXX=UG_A=小写=仅应用模块=40\r\n";
    const std::vector<Case> cases = {
        {"UTF-8, yes", utf8, IDYES, {Utf8Question}, gbk, utf8},
        {"UTF-8 with a byte-order mark, yes", bom, IDYES, {Utf8Question}, gbk, bom},
        {"UTF-8, no", utf8, IDNO, {Utf8Question}, utf8, "<none>"},
        {"UTF-8 with a byte-order mark, no", bom, IDNO, {Utf8Question}, bom, "<none>"},
        {"a character without a GBK form, yes",
         thai,
         IDYES,
         {Utf8Question, Filled(NotConvertible, 8, 0x0E01)},
         thai,
         "<none>"},
        {"a micro sign, yes",
         micro,
         IDYES,
         {Utf8Question, Filled(NotConvertible, 8, 0xB5)},
         micro,
         "<none>"},
        {"a capital U with diaeresis, yes",
         umlaut,
         IDYES,
         {Utf8Question, Filled(NotConvertible, 8, 0xDC)},
         umlaut,
         "<none>"},
        {"a character beyond 16 bits, yes",
         emoji,
         IDYES,
         {Utf8Question, Filled(NotConvertible, 8, 0x1F600)},
         emoji,
         "<none>"},
        {"broken UTF-8, yes",
         broken,
         IDYES,
         {Utf8Question, Filled(Broken, 8, 0x97)},
         broken,
         "<none>"},
        {"GBK", gbk, IDYES, {}, gbk, "<none>"},
        {"GBK that reads as UTF-8 too", gbk_like_utf8, IDYES, {}, gbk_like_utf8, "<none>"},
        {"the same with the section names", gbk_with_names, IDYES, {}, gbk_with_names, "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("table_utf8", c.table);
        session.Boxes().AnswerYesNo(c.answer);
        EditorDriver editor = session.Open();
        EXPECT_EQ(session.BoxTexts(), c.messages);
        for (const SeenMessageBox& box : session.Boxes().Seen())
            EXPECT_EQ(box.caption, EditorCaption);
        EXPECT_EQ(session.Table(), c.table_after);
        EXPECT_EQ(Backup(session), c.backup_after);
        // Converted, the list shows the table as every reader now reads it.
        if (c.table_after == gbk) {
            EXPECT_EQ(editor.Rows(), rows);
        }
    }
}

// Converting rewrites the whole file: the copy beside it is the file as it stands, even
// after the session's first write made one.
TEST(TableEncoding, ConversionCopiesTheTableAsItStands) {
    EditorSession session("table_utf8_later", Table);
    HostActions_Invoke("FENNOR_KEY_UNSET");
    const std::string switched_off = session.Table();
    EXPECT_EQ(Backup(session), Table);
    const std::string utf8 =
        Utf8Of(switched_off + "[二次开发]\r\nQT=MY_TOOL=工具=二次开发=二次开发\r\n");
    session.Folder().Write("button_id.ini", utf8);
    session.Boxes().AnswerYesNo(IDYES);
    EditorDriver editor = session.Open();
    EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{Utf8Question});
    EXPECT_EQ(Backup(session), utf8);
    EXPECT_EQ(Utf8Of(session.Table()), utf8);
    EXPECT_EQ(editor.RowCount(), 3);
}

// A table that is not GBK text (UTF-8 with or without a byte-order mark, UTF-8 that a
// rewrite already broke, UTF-16) is never written: switching on and off leaves it byte
// for byte and tells the user once a session; the editor's changes are refused with
// a message that names the encoding, and the Space-mode box likewise for chick.ini.
TEST(TableEncoding, TableThatIsNotGbkIsNeverWritten) {
    const std::string gbk =
        "[MODE]\r\nMODE=1\r\n[全局]\r\nL=BUTTON_L=直线=全局=全局\r\n[二次开发]\r\n"
        "QT=MY_TOOL=工具=二次开发=二次开发\r\n";
    std::string broken = Utf8Of(gbk);
    // 发 and the "=" after it, as a rewrite through GBK leaves them.
    const std::string fa = "\xE5\x8F\x91=";
    broken.replace(broken.find(fa), fa.size(), "\xE5\x8F?");
    const struct {
        const char* name;
        std::string table;
    } cases[] = {
        {"UTF-8", Utf8Of(gbk)},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + Utf8Of(gbk)},
        {"UTF-8 broken by a rewrite", broken},
        {"UTF-16", Utf16Of(gbk)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("table_not_gbk", c.table);
        HostActions_Invoke("FENNOR_KEY_SET");
        HostActions_Invoke("FENNOR_KEY_UNSET");
        HostActions_Invoke("FENNOR_KEY_SET");
        EXPECT_EQ(session.Table(), c.table);
        EXPECT_EQ(CountOf(RecordedMessages(), NotGbkNotice), 1) << DescribeRecord();
        EXPECT_EQ(Backup(session), "<none>");

        HostConfig_SetDisplayPart(1);
        EditorDriver editor = session.Open(); // the conversion, if offered, refused
        const int rows = editor.RowCount();
        session.Boxes().Clear();
        AddGlobal(editor, "Q");
        editor.SelectRows({0});
        editor.Click(DeleteButtonId);
        EXPECT_EQ(session.BoxTexts(), (std::vector<std::string>{NotGbkEdit, NotGbkEdit}));
        EXPECT_EQ(editor.RowCount(), rows);
        EXPECT_EQ(session.Table(), c.table);

        // A new session tells again.
        NewHostSession(session);
        HostRecord_Clear();
        HostActions_Invoke("FENNOR_KEY_UNSET");
        EXPECT_EQ(CountOf(RecordedMessages(), NotGbkNotice), 1);
        EXPECT_EQ(session.Table(), c.table);
    }

    // chick.ini saved as UTF-8 with a byte-order mark: the box stays as the file says.
    EditorSession session("settings_not_gbk", gbk);
    const std::string settings = "\xEF\xBB\xBF[CHECK1]\r\nCHECK1=0\r\n";
    session.Folder().Write("chick.ini", settings);
    EditorDriver editor = session.Open();
    editor.Click(SpaceModeCheckId);
    EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{SettingsNotGbk});
    EXPECT_EQ(IsDlgButtonChecked(editor.Dialog(), SpaceModeCheckId), BST_UNCHECKED);
    EXPECT_EQ(session.Settings(), settings);
}

// Each host session's first write adds the table as it stood to the copies beside it,
// newest first (button_id.ini.bak, then .bak.1 to .bak.4); a table equal to the newest
// copy adds none, and a damaged table never pushes a sound copy out.
TEST(TableBackup, GenerationsKeepTheLastSoundCopy) {
    auto numbered = [](int n) { return Table + "[4" + std::to_string(n) + "]\r\nK=V\r\n"; };
    EditorSession session("table_generations", numbered(0));
    HostActions_Invoke("FENNOR_KEY_UNSET");
    for (int n = 1; n <= 5; ++n) {
        session.Folder().Write("button_id.ini", numbered(n));
        NewHostSession(session);
        HostActions_Invoke("FENNOR_KEY_UNSET");
    }
    for (int generation = 0; generation < 5; ++generation)
        EXPECT_EQ(Backup(session, generation), numbered(5 - generation)) << generation;
    EXPECT_FALSE(session.Folder().Exists("button_id.ini.bak.5"));

    // Unchanged since the newest copy: no generation moves.
    session.Folder().Write("button_id.ini", numbered(5));
    NewHostSession(session);
    HostActions_Invoke("FENNOR_KEY_UNSET");
    EXPECT_EQ(Backup(session, 4), numbered(1));

    // Two sessions of damaged tables (a broken double-byte character, then a NUL byte):
    // the newest sound copy stays.
    const char nul[] = "C=B\0D=全局=全局\r\n";
    const std::string damaged[] = {Table + "C=B\xC8=C=全局=全局\r\n",
                                   Table + std::string(nul, sizeof nul - 1)};
    for (const std::string& table : damaged) {
        session.Folder().Write("button_id.ini", table);
        NewHostSession(session);
        HostActions_Invoke("FENNOR_KEY_UNSET");
        EXPECT_EQ(Backup(session, 0), table);
        EXPECT_EQ(Backup(session, 1), numbered(5));
        EXPECT_EQ(Backup(session, 4), numbered(2));
    }
}

// Modify's boxes come after its change, which checks and writes in one sequence: a hand
// edit of the old line while a notice is open is the user's, and stays.
TEST(TableWrites, ModifyKeepsALineEditedWhileItsNoticeIsOpen) {
    EditorSession session("modify_notice", Table);
    CreateDirectoryA(session.Folder().PathOf("button_id.ini.bak").c_str(), nullptr);
    const std::string edited = "A=BUTTON_A=Edited by hand=全局=全局";
    MessageBoxWatcher watcher([&](const SeenMessageBox& box) {
        if (box.text != BackupFailed)
            return;
        std::string table = session.Table();
        table.insert(table.find("[全局]\r\n") + 8, edited + "\r\n");
        session.Folder().Write("button_id.ini", table);
    });
    EditorDriver editor = session.Open();
    editor.SelectRows({0});
    editor.SelectScope(GlobalText);
    editor.SetFields("Q", "BUTTON_Q", "Q");
    editor.Click(ModifyButtonId);
    EXPECT_EQ(watcher.Texts(), std::vector<std::string>{BackupFailed});
    EXPECT_EQ(session.Table(), "[MODE]\r\nMODE=1\r\n[全局]\r\n" + edited + "\r\n" +
                                   "B=BUTTON_B=Box=全局=全局\r\nQ=BUTTON_Q=Q=全局=全局\r\n");
}
