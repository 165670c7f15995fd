// Deleting and modifying the selected entry: list, table file and messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "editor_session.h"

using namespace tarnwick_test;

namespace {

// Five rows: 0 and 1 in module 13, 2 global, 3 custom, 4 global; K2 also stands in 14.
const std::string ModePart = "[MODE]\r\nMODE=1\r\n";
const std::string Line0 = "K0=BUTTON_0=Zero=仅应用模块=13\r\n";
const std::string Line1 = "K1=BUTTON_1=One=仅应用模块=13\r\n";
const std::string GlobalPart =
    "[全局]\r\nK2=BUTTON_2=Two=全局=全局\r\nK4=BUTTON_4=Four=全局=全局\r\n";
const std::string CustomPart = "[二次开发]\r\nK3=BUTTON_3=Three=二次开发=二次开发\r\n";
const std::string Part14 = "[14]\r\nK2=BUTTON_X=Other=仅应用模块=14\r\n";
const std::string Table = ModePart + "[13]\r\n" + Line0 + Line1 + GlobalPart + CustomPart + Part14;
const ListRow Row0 = {"K0", "BUTTON_0", "Zero", "仅应用模块", "13"};
const ListRow Row1 = {"K1", "BUTTON_1", "One", "仅应用模块", "13"};
const ListRow Row2 = {"K2", "BUTTON_2", "Two", "全局", "全局"};
const ListRow Row4 = {"K4", "BUTTON_4", "Four", "全局", "全局"};
const ListRow Row3 = {"K3", "BUTTON_3", "Three", "二次开发", "二次开发"};
const ListRow Row5 = {"K2", "BUTTON_X", "Other", "仅应用模块", "14"};

std::string Without(std::string text, const std::string& line) {
    size_t at = text.find(line);
    EXPECT_NE(at, std::string::npos) << line;
    if (at != std::string::npos)
        text.erase(at, line.size());
    return text;
}

} // namespace

TEST(EditorDelete, RemovesTheFirstSelectedLineFromItsOwnSection) {
    struct Case {
        const char* name;
        std::vector<int> selected;
        std::string removed_line;
        std::vector<ListRow> rows_after;
    };
    const std::vector<Case> cases = {
        {"module row", {0}, "K0=BUTTON_0=Zero=仅应用模块=13\r\n", {Row1, Row2, Row4, Row3, Row5}},
        // K2 of section 14 stays.
        {"global row with the same key elsewhere",
         {2},
         "K2=BUTTON_2=Two=全局=全局\r\n",
         {Row0, Row1, Row4, Row3, Row5}},
        {"two rows selected",
         {3, 1},
         "K1=BUTTON_1=One=仅应用模块=13\r\n",
         {Row0, Row2, Row4, Row3, Row5}},
        {"custom row",
         {4},
         "K3=BUTTON_3=Three=二次开发=二次开发\r\n",
         {Row0, Row1, Row2, Row4, Row5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("editor_delete", Table);
        EditorDriver editor = session.Open();
        ASSERT_EQ(editor.RowCount(), 6);
        for (int row : c.selected)
            ListView_SetItemState(editor.Item(ShortcutListId), row, LVIS_SELECTED, LVIS_SELECTED);
        editor.SetFields("KEEP", "FIELDS", "As typed");
        editor.Click(DeleteButtonId);
        EXPECT_TRUE(session.BoxTexts().empty());
        EXPECT_EQ(session.Table(), Without(Table, c.removed_line));
        EXPECT_EQ(editor.Rows(), c.rows_after);
        EXPECT_EQ(editor.Text(ShortcutEditId), "KEEP");
    }
}

// Lines that do not split into five fields, and long keys and section names, are still
// found: the row keeps the line's own key and section, whole.
TEST(EditorDelete, RemovesOddAndLongLines) {
    const std::string long_key(40, 'K'), long_section(40, 'S'), cut_section(31, 'S');
    struct Case {
        const char* name;
        std::string table;
        std::string removed_line;
    };
    const std::vector<Case> cases = {
        {"line without =", "[全局]\r\nJUNK\r\nL=B=C=全局=全局\r\n", "JUNK\r\n"},
        {"empty field", "[全局]\r\nE==C=全局=全局\r\n", "E==C=全局=全局\r\n"},
        {"lower-case key", "[全局]\r\nab=B=C=全局=全局\r\n", "ab=B=C=全局=全局\r\n"},
        // A section name cut to 31 bytes would address the other section.
        {"long section name",
         "[" + long_section + "]\r\nX=B=C=D=" + long_section + "\r\n[" + cut_section +
             "]\r\nX=B=C=D=" + cut_section + "\r\n",
         "X=B=C=D=" + long_section + "\r\n"},
        {"long key",
         "[全局]\r\n" + long_key + "=B=C=全局=全局\r\n" + long_key.substr(0, 31) +
             "=B=C=全局=全局\r\n",
         long_key + "=B=C=全局=全局\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("editor_delete_odd", c.table);
        EditorDriver editor = session.Open();
        int rows = editor.RowCount();
        editor.SelectRows({0});
        editor.Click(DeleteButtonId);
        EXPECT_EQ(session.Table(), Without(c.table, c.removed_line));
        EXPECT_EQ(editor.RowCount(), rows - 1);
    }
}

TEST(EditorDeleteModify, NoSelectedRowIsReported) {
    EditorSession session("editor_no_row", Table);
    EditorDriver editor = session.Open();
    std::vector<ListRow> rows = editor.Rows();
    editor.SetFields("NEW", "BUTTON_N", "New");
    editor.Click(DeleteButtonId);
    editor.Click(ModifyButtonId);
    EXPECT_EQ(session.BoxTexts(),
              (std::vector<std::string>{"请先选中一行再删除", "请先选中一行再修改"}));
    EXPECT_EQ(session.Table(), Table);
    EXPECT_EQ(editor.Rows(), rows);
}

TEST(EditorModify, ReplacesTheLineAndAppendsTheRow) {
    const std::string Before13 = ModePart + "[13]\r\n" + Line1;
    struct Case {
        const char* scope;
        std::string table_after;
        ListRow row;
    };
    const std::vector<Case> cases = {
        {GlobalText,
         Before13 + GlobalPart + "NEW=BUTTON_N=New=全局=全局\r\n" + CustomPart + Part14,
         {"NEW", "BUTTON_N", "New", "全局", "全局"}},
        {CustomText,
         Before13 + GlobalPart + CustomPart + "NEW=BUTTON_N=New=二次开发=二次开发\r\n" + Part14,
         {"NEW", "BUTTON_N", "New", "二次开发", "二次开发"}},
        {ModuleText,
         Before13 + GlobalPart + CustomPart + Part14 + "NEW=BUTTON_N=New=仅应用模块=14\r\n",
         {"NEW", "BUTTON_N", "New", "仅应用模块", "14"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scope);
        EditorSession session("editor_modify", Table);
        HostConfig_SetModule(14); // and no part displayed: modify does not need one
        EditorDriver editor = session.Open();
        editor.SelectRows({0});
        editor.ClickList(0);
        editor.SelectScope(c.scope);
        editor.SetText(ShortcutEditId, "NEW");
        editor.SetText(ButtonNameEditId, "BUTTON_N");
        editor.SetText(CommandEditId, "New");
        editor.Click(ModifyButtonId);
        EXPECT_TRUE(session.BoxTexts().empty());
        EXPECT_TRUE(Record(HOST_EV_MESSAGE).empty());
        EXPECT_EQ(session.Table(), c.table_after);
        EXPECT_EQ(editor.Rows(), (std::vector<ListRow>{Row1, Row2, Row4, Row3, Row5, c.row}));
        EXPECT_EQ(editor.Text(ShortcutEditId), "NEW");
        EXPECT_EQ(editor.Text(ButtonNameEditId), "BUTTON_N");
        EXPECT_TRUE(editor.SelectedRows().empty());

        // The modified row can be deleted again.
        editor.SelectRows({5});
        editor.Click(DeleteButtonId);
        EXPECT_EQ(session.Table().find("NEW="), std::string::npos);
    }
}

TEST(EditorModify, TwoRowsSelectedReplacesTheFirst) {
    EditorSession session("editor_modify_two", Table);
    EditorDriver editor = session.Open();
    editor.SelectRows({4, 2});
    editor.SelectScope(GlobalText);
    editor.SetFields("NEW", "BUTTON_N", "New");
    editor.Click(ModifyButtonId);
    EXPECT_EQ(session.Table(),
              ModePart + "[13]\r\n" + Line0 + Line1 +
                  "[全局]\r\nK4=BUTTON_4=Four=全局=全局\r\nNEW=BUTTON_N=New=全局=全局\r\n" +
                  CustomPart + Part14);
    const ListRow added = {"NEW", "BUTTON_N", "New", "全局", "全局"};
    EXPECT_EQ(editor.Rows(), (std::vector<ListRow>{Row0, Row1, Row4, Row3, Row5, added}));
}

// A refused modification leaves table, list and selection exactly as they were.
TEST(EditorModify, RefusalsChangeNothing) {
    const std::string hand_written = Table + "[全局2]\r\nab=BUTTON_L=Lower=全局=全局2\r\n";
    const char* duplicate = "快捷键已存在，请先修改旧的快捷键或使用新的快捷键";
    const char* empty = "请确认所有项不能为空！";
    const char* equal_sign = "各项中不能含有“=”号，请修改后再试！";
    struct Case {
        const char* name;
        std::string shortcut, button_name, command_text;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"own shortcut, new button", "K1", "BUTTON_NEW", "One", duplicate},
        {"another row's shortcut", "K3", "BUTTON_1", "One", duplicate},
        {"another row's shortcut but for case", "AB", "BUTTON_1", "One", duplicate},
        {"empty shortcut", "", "BUTTON_1", "One", empty},
        {"empty button name", "NEW", "", "One", empty},
        {"empty command", "NEW", "BUTTON_1", "", empty},
        {"= in button name", "NEW", "BUTTON=1", "One", equal_sign},
        {"= in command", "NEW", "BUTTON_1", "a=b", equal_sign},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session("editor_modify_refused", hand_written);
        EditorDriver editor = session.Open();
        std::vector<ListRow> rows = editor.Rows();
        editor.SelectRows({1});
        editor.SetFields(c.shortcut, c.button_name, c.command_text);
        editor.Click(ModifyButtonId);
        EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(session.Table(), hand_written);
        EXPECT_EQ(editor.Rows(), rows);
        EXPECT_EQ(editor.SelectedRows(), std::vector<int>{1});
        EXPECT_EQ(editor.Text(ShortcutEditId), c.shortcut);
    }
}
