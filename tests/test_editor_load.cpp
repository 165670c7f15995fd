// What the editor's list shows for the table it opens on: every line of every section
// but MODE, in file order, whatever the file holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_session.h"

using namespace tarnwick_test;

namespace {

const std::string GlobalLine = "L=BUTTON_A=Line=全局=全局\r\n";
const ListRow GlobalRow = {"L", "BUTTON_A", "Line", "全局", "全局"};
const ListRow ModuleRow = {"DM", "BUTTON_B", "Dimension", "仅应用模块", "40"};
const ListRow CustomRow = {"QT", "MY_TOOL", "My tool", "二次开发", "二次开发"};

std::vector<ListRow> RowsOnOpening(const std::string& table, bool table_present = true) {
    EditorSession session("editor_load", table, "0", table_present);
    EditorDriver editor = session.Open();
    EXPECT_NE(editor.Dialog(), nullptr);
    EXPECT_TRUE(session.BoxTexts().empty());
    return editor.Rows();
}

} // namespace

TEST(EditorLoad, ListsEveryEntryButModeInFileOrder) {
    struct Case {
        const char* name;
        std::string table;
        std::vector<ListRow> rows;
    };
    const std::vector<Case> cases = {
        {"MODE first",
         "[MODE]\r\nMODE=1\r\n[全局]\r\n" + GlobalLine +
             "[40]\r\nDM=BUTTON_B=Dimension=仅应用模块=40\r\n[二次开发]\r\nQT=MY_TOOL=My "
             "tool=二次开发=二次开发\r\n",
         {GlobalRow, ModuleRow, CustomRow}},
        {"MODE between",
         "[40]\r\nDM=BUTTON_B=Dimension=仅应用模块=40\r\n[MODE]\r\nMODE=0\r\n[全局]\r\n" +
             GlobalLine,
         {ModuleRow, GlobalRow}},
        {"MODE last", "[全局]\r\n" + GlobalLine + "[MODE]\r\nMODE=1\r\n", {GlobalRow}},
        {"only MODE", "[MODE]\r\nMODE=1\r\n", {}},
        {"empty file", "", {}},
        {"empty section", "[40]\r\n[全局]\r\n" + GlobalLine + "[二次开发]\r\n", {GlobalRow}},
        {"other section starting with M",
         "[Mine]\r\nA=B=C=D=E\r\n[全局]\r\n" + GlobalLine,
         {GlobalRow}},
        {"hand-written lower case kept",
         "[全局]\r\nab=button_x=Lower=全局=全局\r\n",
         {{"ab", "button_x", "Lower", "全局", "全局"}}},
        // Lines that do not split into five fields keep their key and their section,
        // the two texts by which delete and modify find them. Lines of five fields or
        // more show their first five, as stored.
        {"line without =",
         "[全局]\r\nJUNK\r\n" + GlobalLine,
         {{"JUNK", "", "", "", "全局"}, GlobalRow}},
        {"empty field",
         "[40]\r\nA==Cmd=仅应用模块=40\r\n",
         {{"A", "Cmd", "仅应用模块", "40", "40"}}},
        {"two fields", "[全局]\r\nB=ONLY_BUTTON\r\n", {{"B", "ONLY_BUTTON", "", "", "全局"}}},
        {"= inside a field",
         "[40]\r\nQ=BUTTON_B=a=b=仅应用模块=40\r\n",
         {{"Q", "BUTTON_B", "a", "b", "仅应用模块"}}},
        {"section field naming another section",
         "[40]\r\nW=BUTTON_W=Cmd=仅应用模块=1\r\n",
         {{"W", "BUTTON_W", "Cmd", "仅应用模块", "1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RowsOnOpening(c.table), c.rows);
    }
}

TEST(EditorLoad, MissingTableOpensEmpty) {
    EXPECT_TRUE(RowsOnOpening("", false).empty());
}

TEST(EditorLoad, LongTextsAndLargeTablesAreListedWhole) {
    const std::string long_section(300, 'S');
    const std::string long_button(300, 'B');
    const std::string long_key(300, 'K');
    std::string table = "[MODE]\r\nMODE=1\r\n[" + long_section + "]\r\n" + long_key + "=" +
                        long_button + "=Cmd=全局=" + long_section + "\r\n";
    std::vector<ListRow> rows = {{long_key, long_button, "Cmd", "全局", long_section}};
    // Many module sections (their names alone pass 256 bytes) and 10,000 lines, most of
    // them in one section far beyond 12,000 bytes.
    for (int module = 100; module < 200; ++module) {
        std::string number = std::to_string(module);
        table += "[" + number + "]\r\nX" + number + "=BUTTON_" + number +
                 "=Cmd=仅应用模块=" + number + "\r\n";
        rows.push_back({"X" + number, "BUTTON_" + number, "Cmd", "仅应用模块", number});
    }
    table += "[全局]\r\n";
    for (int i = 0; i < 9900; ++i) {
        std::string key = "G" + std::to_string(i);
        table +=
            key + "=BUTTON_" + std::to_string(i) + "=命令" + std::to_string(i) + "=全局=全局\r\n";
        rows.push_back(
            {key, "BUTTON_" + std::to_string(i), "命令" + std::to_string(i), "全局", "全局"});
    }
    std::vector<ListRow> shown = RowsOnOpening(table);
    ASSERT_EQ(shown.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        ASSERT_EQ(shown[i], rows[i]) << "row " << i;
}

TEST(EditorLoad, EachEditorReadsTheTableAfresh) {
    EditorSession session("editor_reload", "[全局]\r\n" + GlobalLine);
    HostConfig_SetDisplayPart(1);
    EditorDriver first = session.Open();
    first.SelectScope(GlobalText);
    first.SetFields("NEW", "BUTTON_N", "New");
    first.Click(AddButtonId);
    session.Folder().Write("button_id.ini",
                           session.Table() +
                               "[二次开发]\r\nQT=MY_TOOL=My tool=二次开发=二次开发\r\n");
    EditorDriver second = session.Open();
    ASSERT_NE(second.Dialog(), first.Dialog());
    EXPECT_EQ(
        second.Rows(),
        (std::vector<ListRow>{GlobalRow, {"NEW", "BUTTON_N", "New", "全局", "全局"}, CustomRow}));
    // The first editor keeps the list it made.
    EXPECT_EQ(first.RowCount(), 2);
}
