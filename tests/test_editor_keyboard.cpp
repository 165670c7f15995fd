// The editor's dialog keys under a host whose message loop knows nothing of the
// plug-in's windows: the test's loop only peeks, translates and dispatches, as the
// host's does, and never calls IsDialogMessage. Keys are typed through SendInput.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "editor_session.h"
#include "typing_host.h"

using namespace tarnwick_test;

namespace {

const std::string AnyTable = "[MODE]\r\nMODE=0\r\n[全局]\r\nL=BTN_L=Line=全局=全局\r\n";

int FocusedId() {
    return GetDlgCtrlID(GetFocus());
}

// Ids of the focused control after each of `count` presses of Tab.
std::vector<int> TabThrough(int count) {
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) {
        PressKey(VK_TAB);
        ids.push_back(FocusedId());
    }
    return ids;
}

void ShiftTab() {
    PressWith(VK_SHIFT, VK_TAB);
}

} // namespace

TEST(EditorKeyboard, TabShiftTabAndEscWithShortcutsOnAndOff) {
    struct Case {
        const char* what;
        bool shortcuts_on;
        const char* check1;
    };
    const Case cases[] = {
        {"shortcuts off", false, "1"},
        {"shortcuts on, Space mode", true, "1"},
        {"shortcuts on, immediate mode", true, "0"},
    };
    // The template's order, once round and back to the start.
    const std::vector<int> ring = {
        ButtonNameEditId, CommandEditId,     IDCANCEL,       AddButtonId,  DeleteButtonId,
        ModifyButtonId,   ScopeComboId,      ShortcutListId, FindButtonId, OpenTableButtonId,
        SpaceModeCheckId, MakerInfoButtonId, ShortcutEditId};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorSession session("editor_keys", AnyTable, c.check1);
        if (c.shortcuts_on)
            HostActions_Invoke("FENNOR_KEY_SET");
        HostRecord_Clear();
        EditorDriver editor = session.Open();
        ASSERT_NE(editor.Dialog(), nullptr);
        ASSERT_EQ(GetForegroundWindow(), editor.Dialog());
        ASSERT_EQ(FocusedId(), ShortcutEditId);

        EXPECT_EQ(TabThrough(static_cast<int>(ring.size())), ring);
        ShiftTab();
        EXPECT_EQ(FocusedId(), MakerInfoButtonId);
        ShiftTab();
        EXPECT_EQ(FocusedId(), SpaceModeCheckId);
        // Tab reached no control as a character, and letters still reach the fields.
        EXPECT_EQ(editor.Text(ShortcutEditId), "");
        SetFocus(editor.Item(ButtonNameEditId));
        TypeKeys("AB");
        EXPECT_EQ(editor.Text(ButtonNameEditId), "AB");

        // Esc on a button hides the editor; its window and its fields stay.
        SetFocus(editor.Item(FindButtonId));
        PressKey(VK_ESCAPE);
        EXPECT_FALSE(IsWindowVisible(editor.Dialog()));
        EXPECT_TRUE(IsWindow(editor.Dialog()));
        EXPECT_EQ(editor.Text(ButtonNameEditId), "AB");

        // A second editor gets its keys too; the hidden first one does not stand in the way.
        EditorDriver second = session.Open();
        ASSERT_EQ(FocusedId(), ShortcutEditId);
        EXPECT_EQ(TabThrough(3), (std::vector<int>{ButtonNameEditId, CommandEditId, IDCANCEL}));
        PressKey(VK_ESCAPE);
        EXPECT_FALSE(IsWindowVisible(second.Dialog()));

        // None of the editor's keys was taken as a typed code.
        EXPECT_TRUE(RecordTexts(HOST_EV_STATUS).empty()) << DescribeRecord();
        EXPECT_TRUE(session.BoxTexts().empty());
    }
}

TEST(EditorKeyboard, NoHookStaysAfterUnload) {
    {
        EditorSession session("editor_keys_unload", AnyTable);
        EditorDriver editor = session.Open();
        ASSERT_NE(editor.Dialog(), nullptr);
        session.Host().Unload();
        EXPECT_FALSE(IsWindow(editor.Dialog()));
    }
    // With the library gone, a message hook of its own would crash this loop.
    HWND window = CreateWindowExA(0, "Edit", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    PressKey(VK_TAB);
    PressKey('A');
    PumpMessages(50);
    char text[16] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "a");
    DestroyWindow(window);
}
