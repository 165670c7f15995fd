// Keys that belong to the host go on untouched: modifiers held, function, navigation
// and Enter keys, text fields, a few host dialogs by title, key releases and repeats.
#include <gtest/gtest.h>

#include <functional>

#include "typing_host.h"
#include "plugin_host.h"

using namespace tarnwick_test;

namespace {

typedef std::vector<WPARAM> Keys;

struct KeyCase {
    const char* what;
    std::function<void()> type;
    Keys reaching_host;
};

} // namespace

TEST(PassThrough, ModifiersFunctionNavigationAndEnterKeysReachTheHost) {
    TypingHost host("pass_keys", Table({"[全局]", "A=BTN_A=a=全局=全局"}));
    const KeyCase cases[] = {
        {"Shift+A", [] { PressWith(VK_SHIFT, 'A'); }, {VK_SHIFT, 'A'}},
        {"Ctrl+A", [] { PressWith(VK_CONTROL, 'A'); }, {VK_CONTROL, 'A'}},
        {"Alt+A", [] { PressWith(VK_MENU, 'A'); }, {VK_MENU, 'A'}},
        {"Enter held+A", [] { PressWith(VK_RETURN, 'A'); }, {VK_RETURN, 'A'}},
        {"Ctrl+Space", [] { PressWith(VK_CONTROL, VK_SPACE); }, {VK_CONTROL, VK_SPACE}},
        {"F1", [] { PressKey(VK_F1); }, {VK_F1}},
        {"F12", [] { PressKey(VK_F12); }, {VK_F12}},
        {"Page Up", [] { PressKey(VK_PRIOR); }, {VK_PRIOR}},
        {"Left", [] { PressKey(VK_LEFT); }, {VK_LEFT}},
        {"Delete", [] { PressKey(VK_DELETE); }, {VK_DELETE}},
        {"Enter", [] { PressKey(VK_RETURN); }, {VK_RETURN}},
    };
    for (const KeyCase& c : cases) {
        HostRecord_Clear();
        host.Sink().Clear();
        c.type();
        PumpMessages(20);
        EXPECT_EQ(host.Sink().KeyDowns(), c.reaching_host) << c.what;
        EXPECT_TRUE(Record(HOST_EV_STATUS).empty()) << c.what << "\n" << DescribeRecord();
        EXPECT_TRUE(Record(HOST_EV_MESSAGE).empty()) << c.what << "\n" << DescribeRecord();
    }
    // The code is still empty: a letter now starts it.
    HostRecord_Clear();
    TypeKeys("B");
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (std::vector<std::string>{"B"}));
}

TEST(PassThrough, HeldKeyIsTakenOnceAndItsRepeatsGoOn) {
    TypingHost host("pass_repeat", Table({"[全局]", "A=BTN_A=a=全局=全局"}));
    KeyDown('A');
    KeyDown('A'); // an auto-repeat: the key was already down
    KeyDown('A');
    KeyUp('A');
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (std::vector<std::string>{"A"}));
    EXPECT_EQ(host.Sink().KeyDowns(), (Keys{'A', 'A'}));
}

namespace {

struct WindowCase {
    const char* class_name;
    const char* title;
    bool top_level; // else a child of the host window
    bool passes;
};

} // namespace

TEST(PassThrough, FocusedClassesAndForegroundTitles) {
    TypingHost host("pass_windows", Table({"[全局]", "A=BTN_A=a=全局=全局"}));
    const WindowCase cases[] = {
        {"RICHEDIT50W", "", false, true},
        {"RICHEDIT50WX", "", false, false}, // only the exact class
        {"WindowsForms10.Window.8.app.0.2bf8098_r6_ad1", "", false, true},
        {"WindowsForms", "", false, true},
        {"WindowsForm1", "", false, false},
        {"TarnwickTitled", "关闭文件", true, true},
        {"TarnwickTitled", "退出", true, true},
        {"TarnwickTitled", "保存", true, true},
        {"TarnwickTitled", "输入框", true, true},
        {"TarnwickTitled", "刀路信息设置", true, true},
        {"TarnwickTitled", "保存x", true, false}, // only the whole title
        {"TarnwickTitled", "另存为", true, false},
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(std::string(c.class_name) + " / " + c.title);
        {
            KeySink window(c.class_name, c.title, c.top_level ? nullptr : host.Window());
            HostRecord_Clear();
            TypeKeys("A");
            PressKey(VK_BACK); // clears a taken code again in Space mode
            if (c.passes) {
                EXPECT_EQ(window.KeyDowns(), (Keys{'A', VK_BACK}));
                EXPECT_TRUE(Record(HOST_EV_STATUS).empty()) << DescribeRecord();
            } else {
                EXPECT_TRUE(window.KeyDowns().empty());
                EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (std::vector<std::string>{"A", ""}));
            }
        }
        host.Activate();
    }
}

TEST(PassThrough, EditControlWithTheFocusGetsEveryKey) {
    TypingHost host("pass_edit", Table({"[全局]", "A=BTN_A=a=全局=全局"}));
    HostConfig_AddButton("BTN_A", 601);
    HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, host.Window(),
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    TypeKeys("A");
    PressKey(VK_SPACE);
    TypeKeys("B");
    PumpMessages(20);
    char text[32] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "a b");
    EXPECT_TRUE(Record(HOST_EV_STATUS).empty()) << DescribeRecord();
    // The edit's own notifications reach the host window too; the button must not.
    for (const RecordedEvent& e : Record(HOST_EV_COMMAND))
        EXPECT_NE(e.value, 601) << DescribeRecord();
    DestroyWindow(edit);
}
