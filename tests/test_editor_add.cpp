// Adding shortcuts through the editor: list, table file and messages after each click.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_session.h"

using namespace tarnwick_test;

namespace {

const std::string Mode = "[MODE]\r\nMODE=1\r\n";
const std::string GlobalEntry = "[全局]\r\nL=BUTTON_A=Line=全局=全局\r\n";
const ListRow GlobalRow = {"L", "BUTTON_A", "Line", "全局", "全局"};

} // namespace

TEST(EditorAdd, WritesTheLineIntoTheScopesSection) {
    struct Case {
        const char* scope;
        std::string table_after;
        ListRow row;
    };
    const std::vector<Case> cases = {
        {ModuleText,
         Mode + GlobalEntry + "[13]\r\nDM=BUTTON_B=Dim=仅应用模块=13\r\n",
         {"DM", "BUTTON_B", "Dim", "仅应用模块", "13"}},
        {GlobalText,
         Mode + "[全局]\r\nL=BUTTON_A=Line=全局=全局\r\nDM=BUTTON_B=Dim=全局=全局\r\n",
         {"DM", "BUTTON_B", "Dim", "全局", "全局"}},
        {CustomText,
         Mode + GlobalEntry + "[二次开发]\r\nDM=BUTTON_B=Dim=二次开发=二次开发\r\n",
         {"DM", "BUTTON_B", "Dim", "二次开发", "二次开发"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scope);
        EditorSession session("editor_add", Mode + GlobalEntry);
        HostConfig_SetDisplayPart(1);
        HostConfig_SetModule(13);
        EditorDriver editor = session.Open();
        editor.SelectScope(c.scope);
        editor.SetFields("DM", "BUTTON_B", "Dim");
        editor.Click(AddButtonId);
        EXPECT_TRUE(session.BoxTexts().empty());
        EXPECT_EQ(session.Table(), c.table_after);
        EXPECT_EQ(editor.Rows(), (std::vector<ListRow>{GlobalRow, c.row}));
        // Ready for the next entry of the same scope.
        for (int id : {ShortcutEditId, ButtonNameEditId, CommandEditId})
            EXPECT_EQ(editor.Text(id), "");
        EXPECT_EQ(editor.Scope(), c.scope);
    }
}

TEST(EditorAdd, SeveralEntriesInARowFromAnEmptyList) {
    EditorSession session("editor_add_rows", "");
    HostConfig_SetDisplayPart(1);
    HostConfig_SetModule(7);
    EditorDriver editor = session.Open();
    editor.SetFields("A", "BUTTON_1", "命令一");
    editor.Click(AddButtonId);
    editor.SetFields("B", "BUTTON_2", "命令二");
    editor.Click(AddButtonId);
    EXPECT_EQ(session.Table(),
              "[7]\r\nA=BUTTON_1=命令一=仅应用模块=7\r\nB=BUTTON_2=命令二=仅应用模块=7\r\n");
    EXPECT_EQ(editor.Rows(),
              (std::vector<ListRow>{{"A", "BUTTON_1", "命令一", "仅应用模块", "7"},
                                    {"B", "BUTTON_2", "命令二", "仅应用模块", "7"}}));
}

TEST(EditorAdd, NoDisplayedPartStopsBeforeAnythingElse) {
    EditorSession session("editor_add_nopart", Mode + GlobalEntry);
    EditorDriver editor = session.Open();
    HostRecord_Clear();
    editor.SetFields("DM", "BUTTON_B", "Dim");
    editor.Click(AddButtonId);
    std::vector<RecordedEvent> messages = Record(HOST_EV_MESSAGE);
    ASSERT_EQ(messages.size(), 1u) << DescribeRecord();
    EXPECT_EQ(messages[0].text, "温馨提示！请打开一个部件文件");
    EXPECT_EQ(messages[0].value, 1);
    EXPECT_TRUE(Record(HOST_EV_MODULE).empty());
    EXPECT_TRUE(session.BoxTexts().empty());
    EXPECT_EQ(session.Table(), Mode + GlobalEntry);
    EXPECT_EQ(editor.Rows(), std::vector<ListRow>{GlobalRow});
    EXPECT_EQ(editor.Text(ShortcutEditId), "DM");
}

// Refused adds: one message, and list, file and fields stay as they were.
TEST(EditorAdd, RefusalsChangeNothing) {
    const std::string hand_written =
        Mode + GlobalEntry + "[13]\r\nab=BUTTON_X=Lower=仅应用模块=13\r\n";
    struct Case {
        const char* name;
        std::string shortcut, button_name, command_text;
        const char* scope; // nullptr: no scope selected
        const char* message;
    };
    const char* empty = "请确认所有项不能为空！";
    const char* equal_sign = "各项中不能含有“=”号，请修改后再试！";
    const std::vector<Case> cases = {
        {"duplicate in another section", "L", "BUTTON_B", "Dim", ModuleText, "快捷键已存在"},
        // The profile service would replace the hand-written ab line.
        {"duplicate but for case", "AB", "BUTTON_B", "Dim", ModuleText, "快捷键已存在"},
        {"empty shortcut", "", "BUTTON_B", "Dim", ModuleText, empty},
        {"empty button name", "DM", "", "Dim", GlobalText, empty},
        {"empty command", "DM", "BUTTON_B", "", CustomText, empty},
        {"no scope", "DM", "BUTTON_B", "Dim", nullptr, empty},
        {"= in shortcut", "D=M", "BUTTON_B", "Dim", ModuleText, equal_sign},
        {"= in button name", "DM", "BUTTON=B", "Dim", GlobalText, equal_sign},
        {"= in command", "DM", "BUTTON_B", "a=b", ModuleText, equal_sign},
        {"only = in command", "DM", "BUTTON_B", "=", ModuleText, equal_sign},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("editor_add_refused", hand_written);
        HostConfig_SetDisplayPart(1);
        HostConfig_SetModule(13);
        EditorDriver editor = session.Open();
        std::vector<ListRow> rows = editor.Rows();
        if (c.scope)
            editor.SelectScope(c.scope);
        else
            SendMessageA(editor.Item(ScopeComboId), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        editor.SetFields(c.shortcut, c.button_name, c.command_text);
        editor.Click(AddButtonId);
        EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(session.Table(), hand_written);
        EXPECT_EQ(editor.Rows(), rows);
        EXPECT_EQ(editor.Text(ShortcutEditId), c.shortcut);
        EXPECT_EQ(editor.Text(ButtonNameEditId), c.button_name);
        EXPECT_EQ(editor.Text(CommandEditId), c.command_text);
    }
}

// An entry far beyond the first 12,000 bytes of its section still counts: an add of the
// same shortcut must not overwrite it.
TEST(EditorAdd, DuplicateTestSeesEveryLineOfALargeTable) {
    std::string table = "[全局]\r\n";
    for (int i = 0; i < 2000; ++i)
        table += "G" + std::to_string(i) + "=BUTTON_" + std::to_string(i) + "=Cmd=全局=全局\r\n";
    EditorSession session("editor_add_large", table);
    HostConfig_SetDisplayPart(1);
    EditorDriver editor = session.Open();
    editor.SelectScope(GlobalText);
    editor.SetFields("G1999", "OTHER", "Other");
    editor.Click(AddButtonId);
    EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{"快捷键已存在"});
    EXPECT_EQ(session.Table(), table);
}

// A table removed since start-up does not open for the test, which is reported; the add
// goes on and the profile service makes the file afresh. A table that cannot be read or
// written is refused whole (test_editor_table_writes).
TEST(EditorAdd, TableRemovedSinceStartUpIsReportedAndTheAddGoesOn) {
    EditorSession session("editor_add_removed", Mode + GlobalEntry);
    HostConfig_SetDisplayPart(1);
    HostConfig_SetModule(40);
    EditorDriver editor = session.Open();
    session.Folder().Remove("button_id.ini");
    editor.SetFields("DM", "BUTTON_B", "Dim");
    editor.Click(AddButtonId);
    EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{"文件打开失败！"});
    EXPECT_EQ(session.Table(), "[40]\r\nDM=BUTTON_B=Dim=仅应用模块=40\r\n");
    EXPECT_FALSE(session.Folder().Exists("button_id.ini.bak"));
    const ListRow added = {"DM", "BUTTON_B", "Dim", "仅应用模块", "40"};
    EXPECT_EQ(editor.Rows(), (std::vector<ListRow>{GlobalRow, added}));
    EXPECT_EQ(editor.Text(ShortcutEditId), "");
}
