// One writer at a time on a table: two host sessions adding at once lose no line and
// never both report one key; a session that cannot have the table's lock in time writes
// nothing and says so.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "editor_session.h"
#include "program_run.h"
#include "table_lock.h"
#include "table_lines.h"

using namespace tarnwick_test;

namespace {

const char LockTimeout[] = "快捷键表 button_id.ini 正被另一个 NX 会话写入，等待 5 秒后仍无法写入，"
                           "本次操作没有保存，文件没有改变。请稍后再试。";
const char AddDuplicate[] = "快捷键已存在";

const std::string Table = "[MODE]\r\nMODE=1\r\n[40]\r\nM=UG_M=m=仅应用模块=40\r\n[全局]\r\n"
                          "A=BUTTON_A=Line=全局=全局\r\n[1]\r\nN=UG_N=n=仅应用模块=1\r\n"
                          "[二次开发]\r\nQT=MY_TOOL=工具=二次开发=二次开发\r\n";

// The second session is this program again, told the data folder by the environment.
const char SecondSessionVariable[] = "TARNWICK_TEST_SECOND_SESSION";
const char ReadyEvent[] = "Local\\TarnwickTestSecondSessionReady";
const char GoEvent[] = "Local\\TarnwickTestSecondSessionGo";

enum { OwnKeys = 60, SharedKeys = 30 };

std::string Key(char prefix, int n) {
    char key[8];
    snprintf(key, sizeof key, "%c%02d", prefix, n);
    return key;
}

// Adds its own keys and, every other one, a key both sessions add; returns the keys it
// was told were added. A box other than the duplicate message is a failure.
std::vector<std::string> AddKeys(const EditorDriver& editor, MessageBoxWatcher& boxes, char own) {
    std::vector<std::string> added;
    editor.SelectScope(GlobalText);
    for (int n = 0; n < OwnKeys; ++n) {
        std::vector<std::string> keys = {Key(own, n)};
        if (n % 2 == 0)
            keys.push_back(Key('S', n / 2));
        for (const std::string& key : keys) {
            boxes.Clear();
            editor.SetFields(key, "BUTTON_" + key, key);
            editor.Click(AddButtonId);
            if (boxes.Texts().empty())
                added.push_back(key);
            else
                EXPECT_EQ(boxes.Texts(), std::vector<std::string>{AddDuplicate}) << key;
        }
    }
    return added;
}

std::multiset<std::string> GlobalKeys(const std::string& table) {
    std::multiset<std::string> keys;
    for (const TableLine& line : ReadTableLines(table).lines)
        if (line.kind == LineKind::Entry && line.section == GlobalText)
            keys.insert(line.key);
    return keys;
}

} // namespace

// Run by the test below in a process of its own; skipped when run alone.
TEST(TableLock, SecondSession) {
    const char* root = getenv(SecondSessionVariable);
    if (!root)
        GTEST_SKIP() << "the second host session of TwoSessionsAddingAtOnce";
    ResetHost();
    HostConfig_SetVariable("TARNWICK_DIR", root);
    HostConfig_SetDisplayPart(1);
    PluginHost host;
    ASSERT_TRUE(host.Load());
    host.StartUp();
    MessageBoxWatcher boxes;
    EditorDriver editor = EditorDriver::OpenNew();
    ASSERT_NE(editor.Dialog(), nullptr);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, ReadyEvent);
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, GoEvent);
    ASSERT_TRUE(ready && go);
    SetEvent(ready);
    ASSERT_EQ(WaitForSingleObject(go, 60000), WAIT_OBJECT_0);
    for (const std::string& key : AddKeys(editor, boxes, 'C'))
        printf("added %s\n", key.c_str());
    CloseHandle(ready);
    CloseHandle(go);
    host.Unload();
}

TEST(TableLock, TwoSessionsAddingAtOnce) {
    EditorSession session("lock_two_sessions", Table);
    HostConfig_SetDisplayPart(1);
    EditorDriver editor = session.Open();
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, ReadyEvent);
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, GoEvent);
    ASSERT_TRUE(ready && go);

    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    SetEnvironmentVariableA(SecondSessionVariable, session.Folder().Root().c_str());
    driving::ProgramRun second;
    std::thread runner([&] {
        second = driving::RunProgram(
            std::string("\"") + program + "\" --gtest_filter=TableLock.SecondSession", "", 180000);
    });
    // Both sessions begin adding together, once the second one has its editor open.
    const DWORD second_ready = WaitForSingleObject(ready, 90000);
    SetEnvironmentVariableA(SecondSessionVariable, nullptr);
    if (second_ready != WAIT_OBJECT_0)
        runner.join();
    ASSERT_EQ(second_ready, WAIT_OBJECT_0) << second.output;
    SetEvent(go);
    std::vector<std::string> added_here = AddKeys(editor, session.Boxes(), 'P');
    runner.join();
    CloseHandle(ready);
    CloseHandle(go);
    ASSERT_FALSE(second.timed_out);
    EXPECT_EQ(second.status, 0) << second.output;

    std::vector<std::string> added_there;
    for (const std::string& line :
         driving::TextLines(driving::WithoutCarriageReturns(second.output)))
        if (line.compare(0, 6, "added ") == 0)
            added_there.push_back(line.substr(6));

    // Every key once in the file, and each shared key reported added by exactly one.
    std::multiset<std::string> expected = {"A"};
    for (int n = 0; n < OwnKeys; ++n) {
        expected.insert(Key('P', n));
        expected.insert(Key('C', n));
    }
    std::set<std::string> shared_reports;
    int shared_added = 0;
    for (const std::vector<std::string>* added : {&added_here, &added_there})
        for (const std::string& key : *added)
            if (key[0] == 'S') {
                ++shared_added;
                shared_reports.insert(key);
            }
    for (int n = 0; n < SharedKeys; ++n)
        expected.insert(Key('S', n));
    const std::string table = session.Table();
    EXPECT_EQ(GlobalKeys(table), expected);
    EXPECT_EQ(shared_added, SharedKeys);
    EXPECT_EQ(shared_reports.size(), static_cast<size_t>(SharedKeys));
    EXPECT_EQ(added_here.size() + added_there.size(),
              static_cast<size_t>(2 * OwnKeys + SharedKeys));
    // The other sections, untouched.
    for (const char* line : {"[MODE]\r\nMODE=1\r\n[40]\r\nM=UG_M=m=仅应用模块=40\r\n[全局]\r\n",
                             "[1]\r\nN=UG_N=n=仅应用模块=1\r\n[二次开发]\r\n"
                             "QT=MY_TOOL=工具=二次开发=二次开发\r\n"})
        EXPECT_NE(table.find(line), std::string::npos) << line;
}

// Another writer holds the table's lock (any spelling of its path names the same lock):
// the switch and the editor wait, bounded, then write nothing and say so.
TEST(TableLock, LockHeldElsewhereRefusesTheWrite) {
    EditorSession session("lock_held", Table);
    HostConfig_SetDisplayPart(1);
    EditorDriver editor = session.Open();
    std::string path = session.Folder().PathOf("button_id.ini");
    for (char& c : path)
        c = c == '\\' ? '/' : static_cast<char>(tolower(static_cast<unsigned char>(c)));
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HANDLE mutex = CreateMutexA(nullptr, TRUE, TableLockName(path.c_str()).c_str());
        SetEvent(taken);
        WaitForSingleObject(release, 60000);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    WaitForSingleObject(taken, 10000);

    const DWORD start = GetTickCount();
    HostActions_Invoke("FENNOR_KEY_UNSET");
    editor.SelectScope(GlobalText);
    editor.SetFields("Q", "BUTTON_Q", "Q");
    editor.Click(AddButtonId);
    const DWORD waited = GetTickCount() - start;
    SetEvent(release);
    holder.join();
    CloseHandle(taken);
    CloseHandle(release);

    EXPECT_EQ(session.Table(), Table);
    EXPECT_FALSE(session.Folder().Exists("button_id.ini.bak"));
    bool told = false;
    for (const auto& message : RecordedMessages())
        told = told || message.first == LockTimeout;
    EXPECT_TRUE(told) << DescribeRecord();
    EXPECT_EQ(session.BoxTexts(), std::vector<std::string>{LockTimeout});
    EXPECT_EQ(editor.RowCount(), 4);
    EXPECT_LT(waited, 30000u);

    // Released, the same add goes through.
    session.Boxes().Clear();
    editor.Click(AddButtonId);
    EXPECT_TRUE(session.BoxTexts().empty());
    EXPECT_NE(session.Table().find("Q=BUTTON_Q=Q=全局=全局"), std::string::npos);
}

// The file system compares paths without letter case, takes "/" for "\\" and resolves
// "." and ".."; so does the lock's name.
TEST(TableLock, EverySpellingOfAPathNamesOneLock) {
    const std::string name = TableLockName("C:\\Tarnwick\\data\\button_id.ini");
    for (const char* same :
         {"c:/tarnwick/DATA/Button_Id.INI", "C:\\Tarnwick\\startup\\..\\data\\.\\button_id.ini"})
        EXPECT_EQ(TableLockName(same), name) << same;
    for (const char* other : {"C:\\Tarnwick\\data\\chick.ini", "D:\\Tarnwick\\data\\button_id.ini",
                              "C:\\Tarnwick\\数据\\button_id.ini"})
        EXPECT_NE(TableLockName(other), name) << other;
    EXPECT_EQ(name.compare(0, 6, "Local\\"), 0);
    EXPECT_EQ(name.find('\\', 6), std::string::npos);
}
