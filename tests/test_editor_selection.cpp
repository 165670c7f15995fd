// Row clicks, find, the Space-mode box, the auxiliary buttons, the editor's message
// boxes and the life of editor windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "editor_session.h"

using namespace tarnwick_test;

namespace {

std::string ManyRows(int count) {
    std::string table = "[全局]\r\n";
    for (int i = 0; i < count; ++i)
        table += "R" + std::to_string(i) + "=BUTTON_" + std::to_string(i) + "=Cmd=全局=全局\r\n";
    return table;
}

} // namespace

TEST(EditorSelection, RowClickCopiesTheFirstSelectedRowWhole) {
    const std::string long_button(70, 'B');
    const std::string long_command = "二十个字节的说明文字"; // 20 bytes
    EditorSession session("editor_click", ManyRows(6) + "[40]\r\nZ=" + long_button + "=" +
                                              long_command + "=仅应用模块=40\r\n");
    EditorDriver editor = session.Open();
    editor.SelectScope(CustomText);

    // No row selected: the fields stay.
    editor.SetFields("KEEP", "ME", "As is");
    EXPECT_EQ(editor.ClickList(-1), 0);
    EXPECT_EQ(editor.Text(ShortcutEditId), "KEEP");

    editor.SelectRows({2, 5});
    EXPECT_EQ(editor.ClickList(5), 0);
    EXPECT_EQ(editor.Text(ShortcutEditId), "R2");
    EXPECT_EQ(editor.Text(ButtonNameEditId), "BUTTON_2");
    EXPECT_EQ(editor.Text(CommandEditId), "Cmd");
    EXPECT_EQ(editor.Scope(), CustomText);

    editor.SelectRows({6});
    editor.ClickList(6);
    EXPECT_EQ(editor.Text(ButtonNameEditId), long_button);
    EXPECT_EQ(editor.Text(CommandEditId), long_command);

    // A modify right after stores the texts whole.
    editor.SetText(ShortcutEditId, "Y");
    editor.SelectScope(ModuleText);
    HostConfig_SetModule(40);
    editor.Click(ModifyButtonId);
    EXPECT_NE(session.Table().find("[40]\r\nY=" + long_button + "=" + long_command +
                                   "=仅应用模块=40\r\n"),
              std::string::npos)
        << session.Table();
}

TEST(EditorSelection, FindSelectsTheRowAndLeavesTheRest) {
    EditorSession session("editor_find", ManyRows(200));
    EditorDriver editor = session.Open();
    HWND list = editor.Item(ShortcutListId);
    editor.SelectRows({3});

    editor.SetText(ShortcutEditId, "NONE");
    editor.Click(FindButtonId);
    EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{"你查找快捷键不存在"});
    EXPECT_EQ(editor.SelectedRows(), std::vector<int>{3});

    session.Boxes().Clear();
    editor.SetText(ShortcutEditId, "R150");
    editor.SetText(ButtonNameEditId, "TYPED");
    editor.Click(FindButtonId);
    EXPECT_TRUE(session.BoxTexts().empty());
    EXPECT_EQ(editor.SelectedRows(), (std::vector<int>{3, 150}));
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 150);
    EXPECT_TRUE(SendMessageA(list, LVM_ISITEMVISIBLE, 150, 0));
    EXPECT_EQ(editor.Text(ButtonNameEditId), "TYPED");
}

TEST(EditorSelection, SpaceModeBoxStoresCheck1AndNewEditorsFollow) {
    EditorSession session("editor_space", "", "0");
    EditorDriver editor = session.Open();
    EXPECT_EQ(IsDlgButtonChecked(editor.Dialog(), SpaceModeCheckId), BST_UNCHECKED);

    editor.Click(SpaceModeCheckId);
    EXPECT_EQ(session.Settings(), "[CHECK1]\r\nCHECK1=1\r\n");
    EXPECT_EQ(IsDlgButtonChecked(session.Open().Dialog(), SpaceModeCheckId), BST_CHECKED);

    editor.Click(SpaceModeCheckId);
    EXPECT_EQ(session.Settings(), "[CHECK1]\r\nCHECK1=0\r\n");
    EXPECT_EQ(IsDlgButtonChecked(session.Open().Dialog(), SpaceModeCheckId), BST_UNCHECKED);
    EXPECT_TRUE(session.BoxTexts().empty());
}

TEST(EditorSelection, MakerInformationHasOkAndCancel) {
    EditorSession session("editor_maker", "");
    EditorDriver editor = session.Open();
    editor.Click(MakerInfoButtonId);
    ASSERT_EQ(session.Boxes().Seen().size(), 1u);
    const SeenMessageBox& box = session.Boxes().Seen()[0];
    EXPECT_EQ(box.caption, "制作者信息");
    EXPECT_FALSE(box.text.empty());
    EXPECT_TRUE(box.has_ok);
    EXPECT_TRUE(box.has_cancel);
    EXPECT_EQ(box.owner, editor.Dialog());
}

TEST(EditorSelection, OpenTableWithoutATableSaysSo) {
    EditorSession session("editor_open_missing", "", "0", false);
    EditorDriver editor = session.Open();
    editor.Click(OpenTableButtonId);
    EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{"文件打开失败！"});
}

// Every message of the editor is owned by it, has one OK button, and carries the
// editor's caption.
TEST(EditorSelection, MessagesAreOwnedByTheEditor) {
    EditorSession session("editor_boxes", ManyRows(2));
    HostConfig_SetDisplayPart(1);
    EditorDriver editor = session.Open();
    editor.SetFields("R0", "B", "C");
    editor.Click(AddButtonId);
    editor.SetFields("NEW", "", "C");
    editor.Click(AddButtonId);
    editor.SetFields("NEW", "B=", "C");
    editor.Click(AddButtonId);
    editor.Click(DeleteButtonId);
    editor.Click(ModifyButtonId);
    editor.SetText(ShortcutEditId, "NONE");
    editor.Click(FindButtonId);
    ASSERT_EQ(session.Boxes().Seen().size(), 6u);
    for (const SeenMessageBox& box : session.Boxes().Seen()) {
        SCOPED_TRACE(box.text);
        EXPECT_EQ(box.owner, editor.Dialog());
        EXPECT_EQ(box.caption, "快捷键设置");
        EXPECT_TRUE(box.has_ok);
        EXPECT_FALSE(box.has_cancel);
    }
}

TEST(EditorLife, CancelHidesAndUnloadDestroysEveryEditor) {
    EditorSession session("editor_life", ManyRows(1));
    EditorDriver first = session.Open();
    EditorDriver second = session.Open();
    ASSERT_NE(first.Dialog(), nullptr);
    ASSERT_NE(second.Dialog(), nullptr);
    ASSERT_NE(first.Dialog(), second.Dialog());

    first.Click(IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(first.Dialog()));
    EXPECT_TRUE(IsWindow(first.Dialog()));
    // The close box posts the same cancel.
    SendMessageA(second.Dialog(), WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(second.Dialog()));
    EXPECT_TRUE(IsWindow(second.Dialog()));
    EXPECT_EQ(second.RowCount(), 1);

    session.Host().Unload();
    EXPECT_FALSE(IsWindow(first.Dialog()));
    EXPECT_FALSE(IsWindow(second.Dialog()));
    EXPECT_EQ(GetModuleHandleA("Tarnwick.dll"), nullptr);
    PumpMessages(50);
}
