// Adding shortcuts through the editor: list and table after each click.
#include <gtest/gtest.h>

#include "editor_session.h"

using namespace tarnwick_test;

TEST(EditorAdd, Smoke) {
    EditorSession session("editor_add", "[MODE]\r\nMODE=0\r\n[全局]\r\nL=BUTTON_A=Line=全局=全局\r\n");
    HostConfig_SetDisplayPart(1);
    HostConfig_SetModule(13);
    EditorDriver editor = session.Open();
    ASSERT_NE(editor.Dialog(), nullptr);
    EXPECT_EQ(editor.RowCount(), 1);
    EXPECT_EQ(editor.Scope(), ModuleText);
    editor.SetFields("DM", "BUTTON_B", "Dim");
    editor.Click(AddButtonId);
    EXPECT_EQ(session.Table(), "");
    for (auto& t : session.BoxTexts()) printf("box %s\n", t.c_str());
    printf("%s", DescribeRecord().c_str());
}
