// The editor against the file as it is: what a line may hold, rows that address exactly
// their own line, and changes made behind the editor's back (a second editor, a hand
// edit). Every case checks the messages, the list and the file's bytes after.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_session.h"

using namespace tarnwick_test;

namespace {

const char Duplicate[] = "快捷键已存在";
const char ModifyDuplicate[] = "快捷键已存在，请先修改旧的快捷键或使用新的快捷键";
const char LineBreak[] = "各项中不能含有换行符，请修改后再试！";
const char TooLong[] = "快捷键最多五个字符，请修改后再试！";
const char BadStart[] = "快捷键不能以“[”或“;”开头，请修改后再试！";
const char ValueTooLong[] =
    "ID 和命令太长：保存的内容不能超过 255 个字节（一个汉字占两个字节），请缩短后再试！";
const char Stale[] = "所选行在文件中已被删除或更改（另一个编辑器或手工修改）。"
                     "列表已按文件重新载入，请重新选择后再试。";
const char Unaddressable[] =
    "该行无法由编辑器删除或修改：同一节中有重复的快捷键，或该节的节名出现了不止一次。"
    "请点“打开配置文件”手工改正文件，然后重新打开本窗口。";
const char UnaddressableLines[] =
    "快捷键表中以下各行无法由编辑器删除或修改（同一节中快捷键重复，或节名出现了不止一次），"
    "请点“打开配置文件”手工改正：";

const std::string Table = "[MODE]\r\nMODE=1\r\n[全局]\r\nA=BUTTON_A=Line=全局=全局\r\n";
const ListRow RowA = {"A", "BUTTON_A", "Line", "全局", "全局"};

struct Fields {
    std::string shortcut, button_name, command_text;
};

} // namespace

// What the format cannot hold, or would read back otherwise, is refused and nothing is
// written; keys are stored trimmed.
TEST(EditorAddRules, RefusedOrStoredAsReadBack) {
    // The value ButtonName=Line=全局=全局 holds 15 bytes besides the button name.
    const std::string fits(255 - 15, 'B'), too_long(256 - 15, 'B'), huge(40000, 'B');
    struct Case {
        const char* name;
        Fields fields;
        const char* message; // nullptr: added
        std::string table_after;
    };
    const std::vector<Case> cases = {
        {"leading blank duplicates A", {" A", "BUTTON_X", "X"}, Duplicate, Table},
        {"trailing blank duplicates A", {"A ", "BUTTON_X", "X"}, Duplicate, Table},
        {"tab duplicates A", {"\tA", "BUTTON_X", "X"}, Duplicate, Table},
        {"empty section name key", {"[]", "BUTTON_X", "X"}, BadStart, Table},
        {"section header key", {"[X]", "BUTTON_X", "X"}, BadStart, Table},
        {"comment key", {";Q", "BUTTON_X", "X"}, BadStart, Table},
        {"six characters", {"ABCDEF", "BUTTON_X", "X"}, TooLong, Table},
        {"CR LF in the key", {"Q\r\nZ", "BUTTON_X", "X"}, LineBreak, Table},
        {"LF in the description", {"Q", "BUTTON_X", "a\nb"}, LineBreak, Table},
        {"value of 256 bytes", {"Q", too_long, "Line"}, ValueTooLong, Table},
        {"button name of 40,000 characters", {"Q", huge, "Line"}, ValueTooLong, Table},
        {"value of 255 bytes",
         {"Q", fits, "Line"},
         nullptr,
         Table + "Q=" + fits + "=Line=全局=全局\r\n"},
        {"blanks around the fields",
         {"  Q\t", " BUTTON_Q ", " Two words "},
         nullptr,
         Table + "Q=BUTTON_Q=Two words=全局=全局\r\n"},
        {"five double-byte characters",
         {"甲乙丙丁戊", "BUTTON_Q", "Q"},
         nullptr,
         Table + "甲乙丙丁戊=BUTTON_Q=Q=全局=全局\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("editor_add_rules", Table);
        HostConfig_SetDisplayPart(1);
        EditorDriver editor = session.Open();
        editor.SelectScope(GlobalText);
        editor.SetFields(c.fields.shortcut, c.fields.button_name, c.fields.command_text);
        editor.Click(AddButtonId);
        EXPECT_EQ(session.Table(), c.table_after);
        if (c.message) {
            EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{c.message});
            EXPECT_EQ(editor.Rows(), std::vector<ListRow>{RowA});
            EXPECT_EQ(editor.Text(ShortcutEditId), c.fields.shortcut);
        } else {
            EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{});
            ASSERT_EQ(editor.RowCount(), 2);
            // The row shows what a new editor reads back from the file.
            std::vector<ListRow> shown = editor.Rows();
            EXPECT_EQ(session.Open().Rows(), shown);
        }
        for (const SeenMessageBox& box : session.Boxes().Seen())
            EXPECT_EQ(box.caption, EditorCaption);
    }
}

TEST(EditorModifyRules, RefusedWithTheOldLineKept) {
    struct Case {
        const char* name;
        Fields fields;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"own key with a blank", {"A ", "BUTTON_X", "X"}, ModifyDuplicate},
        {"comment key", {";Q", "BUTTON_X", "X"}, BadStart},
        {"line break", {"Q", "BUTTON\r\nX", "X"}, LineBreak},
        {"value too long", {"Q", std::string(40000, 'B'), "X"}, ValueTooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("editor_modify_rules", Table);
        EditorDriver editor = session.Open();
        editor.SelectRows({0});
        editor.SetFields(c.fields.shortcut, c.fields.button_name, c.fields.command_text);
        editor.Click(ModifyButtonId);
        EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(session.Table(), Table);
        EXPECT_EQ(editor.Rows(), std::vector<ListRow>{RowA});
    }
}

// The file is read at every change: what another editor or a hand edit put there since
// the list was read counts as much as the list.
TEST(EditorFileTruth, ChangesSinceTheListWasRead) {
    const std::string hand_q = "[二次开发]\r\nq=MY_TOOL=Tool=二次开发=二次开发\r\n";
    const std::string changed_a = "[MODE]\r\nMODE=1\r\n[全局]\r\nA=BUTTON_HAND=Line=全局=全局\r\n";
    const std::string without_a = "[MODE]\r\nMODE=1\r\n[全局]\r\n";
    const ListRow hand_row = {"A", "BUTTON_HAND", "Line", "全局", "全局"};
    struct Case {
        const char* name;
        std::string hand_edit; // the file written after the editor opened
        int button;            // add, delete or modify, with row 0 selected
        Fields fields;
        std::vector<std::string> messages;
        std::vector<ListRow> rows_after;
    };
    const std::vector<Case> cases = {
        {"add of a key added by hand in another section",
         Table + hand_q,
         AddButtonId,
         {"Q", "BUTTON_Q", "Q"},
         {Duplicate},
         {RowA}},
        {"modify to a key added by hand",
         Table + hand_q,
         ModifyButtonId,
         {"Q", "BUTTON_Q", "Q"},
         {ModifyDuplicate},
         {RowA}},
        {"delete of a line changed by hand",
         changed_a,
         DeleteButtonId,
         {"", "", ""},
         {Stale},
         {hand_row}},
        {"modify of a line changed by hand",
         changed_a,
         ModifyButtonId,
         {"Q", "BUTTON_Q", "Q"},
         {Stale},
         {hand_row}},
        {"delete of a line removed by hand", without_a, DeleteButtonId, {"", "", ""}, {Stale}, {}},
        {"modify of a line removed by hand",
         without_a,
         ModifyButtonId,
         {"Q", "BUTTON_Q", "Q"},
         {Stale},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("editor_file_truth", Table);
        HostConfig_SetDisplayPart(1);
        EditorDriver editor = session.Open();
        session.Folder().Write("button_id.ini", c.hand_edit);
        editor.SelectRows({0});
        editor.SelectScope(GlobalText);
        editor.SetFields(c.fields.shortcut, c.fields.button_name, c.fields.command_text);
        editor.Click(c.button);
        EXPECT_EQ(session.BoxTexts(), c.messages);
        EXPECT_EQ(session.Table(), c.hand_edit);
        EXPECT_EQ(editor.Rows(), c.rows_after);
    }
}

TEST(EditorFileTruth, TwoEditors) {
    EditorSession session("editor_two", Table);
    HostConfig_SetDisplayPart(1);
    EditorDriver first = session.Open();
    EditorDriver second = session.Open();
    const std::string with_q = Table + "Q=BUTTON_Q=First=全局=全局\r\n";
    const ListRow row_q = {"Q", "BUTTON_Q", "First", "全局", "全局"};

    // Both add Q: the second is refused, the first's line stays.
    for (EditorDriver* editor : {&first, &second}) {
        editor->SelectScope(GlobalText);
        editor->SetFields("Q", "BUTTON_Q", editor == &first ? "First" : "Second");
        editor->Click(AddButtonId);
    }
    EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{Duplicate});
    EXPECT_EQ(session.Table(), with_q);
    EXPECT_EQ(second.Rows(), std::vector<ListRow>{RowA});

    // The first deletes A; the second's row of A is stale, and its list is read afresh.
    session.Boxes().Clear();
    first.SelectRows({0});
    first.Click(DeleteButtonId);
    second.SelectRows({0});
    second.Click(DeleteButtonId);
    EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{Stale});
    const std::string only_q = "[MODE]\r\nMODE=1\r\n[全局]\r\nQ=BUTTON_Q=First=全局=全局\r\n";
    EXPECT_EQ(session.Table(), only_q);
    EXPECT_EQ(first.Rows(), std::vector<ListRow>{row_q});
    EXPECT_EQ(second.Rows(), std::vector<ListRow>{row_q});

    // After the reload the second can act on Q.
    second.SelectRows({0});
    second.Click(DeleteButtonId);
    EXPECT_EQ(session.Table(), "[MODE]\r\nMODE=1\r\n[全局]\r\n");
}

// Each row addresses the line it was read from: its section as read, never its fifth
// field, and its key. Lines the profile service cannot reach alone are named when the
// editor opens and refused by delete and modify.
TEST(EditorAddressing, DeleteTouchesOnlyTheSelectedLine) {
    const std::string in_40 = "[40]\r\nL=BUTTON_1=x=仅应用模块=40\r\n";
    const std::string global_40 = "[全局]\r\nL=BTN_G=y=全局=40\r\n";
    const std::string seven = "[全局]\r\nS=a=b=c=d=e=f=g\r\nT=B=C=全局=全局\r\n";
    struct Case {
        const char* name;
        std::string table;
        int row;
        std::string table_after;
    };
    const std::vector<Case> cases = {
        {"fifth field naming another section", in_40 + global_40, 1, in_40 + "[全局]\r\n"},
        {"line of seven fields", seven, 0, "[全局]\r\nT=B=C=全局=全局\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("editor_addressing", c.table);
        EditorDriver editor = session.Open();
        int rows = editor.RowCount();
        editor.SelectRows({c.row});
        editor.Click(DeleteButtonId);
        EXPECT_TRUE(session.BoxTexts().empty());
        EXPECT_EQ(session.Table(), c.table_after);
        EXPECT_EQ(editor.RowCount(), rows - 1);
    }
}

TEST(EditorAddressing, LinesTheProfileServiceCannotReachAlone) {
    struct Case {
        const char* name;
        std::string table;
        std::vector<ListRow> rows;
        std::string named; // the lines the opening message names
        std::vector<int> refused_rows;
        int deletable_row;
    };
    const std::vector<Case> cases = {
        {"a key twice in one section",
         "[全局]\r\nK=FIRST=f=全局=全局\r\nk=SECOND=s=全局=全局\r\nM=B=C=全局=全局\r\n",
         {{"K", "FIRST", "f", "全局", "全局"},
          {"k", "SECOND", "s", "全局", "全局"},
          {"M", "B", "C", "全局", "全局"}},
         "\n第 2 行：K=FIRST=f=全局=全局\n第 3 行：k=SECOND=s=全局=全局",
         {0, 1},
         2},
        {"a repeated header",
         "[全局]\r\nA=B=C=全局=全局\r\n[40]\r\nD=E=F=仅应用模块=40\r\n[全局]\r\nG=H=I=全局="
         "全局\r\n",
         {{"A", "B", "C", "全局", "全局"},
          {"D", "E", "F", "仅应用模块", "40"},
          {"G", "H", "I", "全局", "全局"}},
         "\n第 2 行：A=B=C=全局=全局\n第 6 行：G=H=I=全局=全局",
         {2, 0},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("editor_unaddressable", c.table);
        EditorDriver editor = session.Open();
        EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{UnaddressableLines + c.named});
        EXPECT_EQ(editor.Rows(), c.rows);
        for (int row : c.refused_rows) {
            for (int button : {DeleteButtonId, ModifyButtonId}) {
                session.Boxes().Clear();
                editor.SelectRows({row});
                editor.SetFields("NEW", "BUTTON_N", "New");
                editor.Click(button);
                EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{Unaddressable});
                EXPECT_EQ(session.Table(), c.table);
                EXPECT_EQ(editor.Rows(), c.rows);
            }
        }
        // Other lines stay the editor's to change.
        session.Boxes().Clear();
        editor.SelectRows({c.deletable_row});
        editor.Click(DeleteButtonId);
        EXPECT_TRUE(session.BoxTexts().empty());
        EXPECT_EQ(editor.RowCount(), static_cast<int>(c.rows.size()) - 1);
        EXPECT_EQ(session.Table().find(c.rows[static_cast<size_t>(c.deletable_row)][1] + "="),
                  std::string::npos);
    }
}

// Only the first ten are named, each cut short; the rest are counted.
TEST(EditorAddressing, ManyUnreachableLinesAreCounted) {
    std::string table = "[全局]\r\nK=" + std::string(200, 'B') + "\r\n";
    for (int i = 1; i < 12; ++i)
        table += "K=B" + std::to_string(i) + "=C=全局=全局\r\n";
    EditorSession session("editor_unaddressable_many", table);
    EditorDriver editor = session.Open();
    ASSERT_EQ(session.BoxTexts().size(), 1u);
    const std::string text = session.BoxTexts()[0];
    EXPECT_NE(text.find("第 2 行：K=" + std::string(78, 'B') + "……\n第 3 行：K=B1=C=全局=全局"),
              std::string::npos);
    EXPECT_NE(text.find("第 11 行：K=B9=C=全局=全局"), std::string::npos);
    EXPECT_EQ(text.find("第 12 行"), std::string::npos);
    EXPECT_NE(text.find("……共 12 行"), std::string::npos);
    EXPECT_EQ(editor.RowCount(), 12);
}
