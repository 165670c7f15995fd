// The editor's boxes are the plug-in's own windows: keys typed into them, with
// shortcuts on, answer the box and never become a code; and the host may unload the
// plug-in from inside one of them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "editor_session.h"
#include "typing_host.h"

using namespace tarnwick_test;

namespace {

const char NotFound[] = "你查找快捷键不存在";
const char NoPart[] = "温馨提示！请打开一个部件文件";

std::string Utf8Of(const std::string& gbk) {
    int n = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), &wide[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &out[0], m, nullptr, nullptr);
    return out;
}

// Keys for the box that is open, typed from its own message loop as a user types them;
// a box the keys did not close is closed after a while, and counted.
std::vector<WORD> KeysForBox;
HWND OpenBox = nullptr;
int FocusedAtOpening = 0; // the button a key press without moving the focus takes
int BoxesClosedByForce = 0;

void CALLBACK CloseByForce(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (OpenBox && IsWindow(OpenBox)) {
        ++BoxesClosedByForce;
        // A question without Cancel ignores WM_CLOSE: its No button answers.
        PostMessageA(OpenBox, WM_COMMAND, GetDlgItem(OpenBox, IDNO) ? IDNO : IDOK, 0);
    }
}

void CALLBACK TypeIntoBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    FocusedAtOpening = GetDlgCtrlID(GetFocus());
    for (WORD key : KeysForBox) {
        driving::SendKeyEvent(key, false);
        driving::SendKeyEvent(key, true);
    }
    SetTimer(nullptr, 0, 3000, CloseByForce);
}

// Only the first box gets the keys; any box they bring up is answered at once.
int BoxesOpened = 0;

void TypeWhenOpen(const SeenMessageBox& box) {
    if (++BoxesOpened > 1) {
        PostMessageA(box.box, WM_COMMAND, GetDlgItem(box.box, IDNO) ? IDNO : IDOK, 0);
        return;
    }
    OpenBox = box.box;
    SetTimer(nullptr, 0, 100, TypeIntoBox);
}

// Nothing of the keystroke decision happened: no code shown, looked up or run.
void ExpectNoCode() {
    EXPECT_TRUE(Record(HOST_EV_STATUS).empty()) << DescribeRecord();
    EXPECT_TRUE(Record(HOST_EV_MESSAGE).empty()) << DescribeRecord();
    EXPECT_TRUE(Record(HOST_EV_COMMAND).empty()) << DescribeRecord();
}

} // namespace

// Space mode: a letter and Space on OK of a message shown by an editor's handler, with a
// last code that Space would repeat: the editor's own message, and the host's message
// box that the add shows when no part is open.
TEST(EditorBoxes, KeysInAMessageOfTheEditorAreNoCode) {
    TypingHost host("boxes_space", Table({"[全局]", "A=BTN_A=a=全局=全局"}), "1");
    HostConfig_AddButton("BTN_A", 101);
    HostConfig_SetInteractiveMessages(1);
    TypeKeys("A");
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), std::vector<std::string>{"A"});
    EditorDriver editor = EditorDriver::OpenNew();
    ASSERT_NE(editor.Dialog(), nullptr);
    editor.SetText(ShortcutEditId, "ZZ");

    const struct {
        int button;
        const char* box;
        std::vector<std::string> host_messages;
    } cases[] = {
        {FindButtonId, NotFound, {}},
        {AddButtonId, NoPart, {NoPart}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        HostRecord_Clear();
        MessageBoxWatcher boxes(TypeWhenOpen);
        boxes.LeaveOpen(true);
        KeysForBox = {'B', VK_SPACE};
        BoxesClosedByForce = 0;
        BoxesOpened = 0;
        editor.Click(c.button);
        PumpMessages(100);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{c.box});
        EXPECT_EQ(BoxesClosedByForce, 0);
        EXPECT_TRUE(Record(HOST_EV_STATUS).empty()) << DescribeRecord();
        EXPECT_TRUE(Record(HOST_EV_COMMAND).empty()) << DescribeRecord();
        EXPECT_EQ(RecordTexts(HOST_EV_MESSAGE), c.host_messages) << DescribeRecord();
    }
}

// Immediate mode: N and Space answer the conversion question, whose default (the focus
// when it opens) is No, and code N runs not.
TEST(EditorBoxes, KeysAnsweringTheConversionQuestionAreNoCode) {
    const std::string table = "[MODE]\r\nMODE=1\r\n[0]\r\nN=BTN_N=n=仅应用模块=0\r\n";
    TypingHost host("boxes_immediate", table, "0");
    HostConfig_AddButton("BTN_N", 102);
    host.Folder().Write("button_id.ini", Utf8Of(table));
    HostRecord_Clear();

    MessageBoxWatcher boxes(TypeWhenOpen);
    boxes.LeaveOpen(true);
    KeysForBox = {'N', VK_SPACE};
    BoxesClosedByForce = 0;
    BoxesOpened = 0;
    EditorDriver::OpenNew();
    PumpMessages(300);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(FocusedAtOpening, IDNO);
    EXPECT_EQ(BoxesClosedByForce, 0);
    EXPECT_EQ(host.Folder().Read("button_id.ini"), Utf8Of(table));
    ExpectNoCode();
}

// The host unloads the plug-in while a box of the editor is open (the opening's
// question, a handler's message): the editor goes when its handler returns, and nothing
// touches it after.
TEST(EditorBoxes, CleanupInsideABoxOfTheEditor) {
    const std::string gbk = "[MODE]\r\nMODE=0\r\n[全局]\r\nL=BUTTON_L=直线=全局=全局\r\n";
    for (bool opening : {true, false}) {
        SCOPED_TRACE(opening ? "the opening's question" : "the find message");
        EditorSession session("boxes_cleanup", opening ? Utf8Of(gbk) : gbk);
        HMODULE module = session.Host().Module();
        int cleanups = 0;
        MessageBoxWatcher boxes([&](const SeenMessageBox&) {
            ++cleanups;
            driving::CallCleanup(module);
        });
        EditorDriver editor = session.Open();
        if (!opening) {
            ASSERT_NE(editor.Dialog(), nullptr);
            editor.SetText(ShortcutEditId, "ZZ");
            editor.Click(FindButtonId);
        }
        PumpMessages(50);
        EXPECT_EQ(cleanups, 1);
        EXPECT_TRUE(EditorWindows().empty());
        EXPECT_EQ(session.Table(), opening ? Utf8Of(gbk) : gbk);
    }
}
