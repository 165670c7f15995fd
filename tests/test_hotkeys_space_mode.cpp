// Space mode: taken keys build the code in the status line and never reach the host;
// Space runs the code, Backspace and Esc clear it.
#include <gtest/gtest.h>

#include <utility>

#include "typing_host.h"
#include "plugin_host.h"

using namespace tarnwick_test;

namespace {

typedef std::vector<std::string> Texts;

const std::string GlobalTable = Table(
    {"[全局]", "AB=BTN_AB=Line=全局=全局", "ABCDEF=BTN_SIX=Six=全局=全局", "Q=BTN_Q=Q=全局=全局"});

void AddButtons() {
    HostConfig_AddButton("BTN_AB", 501);
    HostConfig_AddButton("BTN_SIX", 506);
    HostConfig_AddButton("BTN_Q", 517);
}

const char SpaceHint[] = "请先输入快捷键，再按空格键!";
const char WrongShortcut[] = "输入快捷键有误，请重新输入!";

} // namespace

TEST(SpaceMode, EchoesRunsOnSpaceAndRepeatsOnEmptyCode) {
    TypingHost host("space_echo", GlobalTable);
    AddButtons();

    TypeKeys("AB");
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"A", "AB"}));
    EXPECT_TRUE(host.Sink().KeyDowns().empty());
    EXPECT_EQ(host.Sink().CharCount(), 0);

    HostRecord_Clear();
    PressKey(VK_SPACE);
    PumpMessages(20);
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{501})) << DescribeRecord();
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{""}));
    EXPECT_STREQ(HostWindow_StatusText(), "");
    EXPECT_TRUE(RecordedMessages().empty());

    // The buffer is empty now: Space runs the last code again, without a new echo.
    HostRecord_Clear();
    PressKey(VK_SPACE);
    PumpMessages(20);
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{501})) << DescribeRecord();
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{""}));
    EXPECT_TRUE(RecordedMessages().empty());
    EXPECT_TRUE(host.Sink().KeyDowns().empty());
}

TEST(SpaceMode, CodeLongerThanFiveCharactersIsReset) {
    TypingHost host("space_six", GlobalTable);
    AddButtons();

    TypeKeys("ABCDEF");
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS),
              (Texts{"A", "AB", "ABC", "ABCD", "ABCDE", "ABCDEF", ""}));
    // The six letters live on as the last code, which Space looks up.
    HostRecord_Clear();
    PressKey(VK_SPACE);
    PumpMessages(20);
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{506})) << DescribeRecord();

    // A long key name is shown for an instant and empties the buffer at once.
    HostRecord_Clear();
    TypeKeys("A");
    PressKey(VK_CAPITAL);
    PressKey(VK_CAPITAL);
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"A", "ACaps Lock", "", "Caps Lock", ""}));
    EXPECT_TRUE(host.Sink().KeyDowns().empty());
}

TEST(SpaceMode, BackspaceClearsTheWholeCode) {
    TypingHost host("space_backspace", GlobalTable);
    AddButtons();

    TypeKeys("AB");
    PressKey(VK_BACK);
    TypeKeys("Q");
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"A", "AB", "", "Q"}));
    PressKey(VK_SPACE);
    PumpMessages(20);
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{517})) << DescribeRecord();
    EXPECT_TRUE(host.Sink().KeyDowns().empty());
}

TEST(SpaceMode, EscClearsTheCodeAndStillReachesTheHost) {
    TypingHost host("space_esc", GlobalTable);
    AddButtons();

    TypeKeys("A");
    PressKey(VK_ESCAPE);
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"A", ""}));
    EXPECT_EQ(host.Sink().KeyDowns(), (std::vector<WPARAM>{VK_ESCAPE}));

    // With an empty code Esc goes on unchanged and nothing is shown.
    HostRecord_Clear();
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(RecordTexts(HOST_EV_STATUS).empty());
    EXPECT_EQ(host.Sink().KeyDowns(), (std::vector<WPARAM>{VK_ESCAPE, VK_ESCAPE}));

    // The code typed after Esc starts afresh.
    TypeKeys("Q");
    PressKey(VK_SPACE);
    PumpMessages(20);
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{517})) << DescribeRecord();
}

// The wrong-code answer is a status-line text (uc1601 flag 0): the host writes it there
// and returns at once, with no box and no message loop.
TEST(SpaceMode, MissAnswersOnceInTheStatusLineAndEmptiesTheCode) {
    TypingHost host("space_miss", GlobalTable);
    AddButtons();

    TypeKeys("ZZ");
    HostRecord_Clear();
    PressKey(VK_SPACE);
    EXPECT_EQ(RecordedMessages(), (Messages{{WrongShortcut, 0}}));
    EXPECT_TRUE(RecordTexts(HOST_EV_STATUS).empty());
    EXPECT_STREQ(HostWindow_StatusText(), WrongShortcut);
    TypeKeys("A");
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"A"}));
}

TEST(SpaceMode, SpaceBeforeAnyCodeHintsThenMisses) {
    TypingHost host("space_first", GlobalTable);
    PressKey(VK_SPACE);
    EXPECT_EQ(RecordedMessages(), (Messages{{SpaceHint, 1}, {WrongShortcut, 0}}));
    EXPECT_TRUE(RecordedCommandIds().empty());
}

namespace {
// Types Q while the hint is open, as a user may while the host's box runs its loop.
void TypeQWhileHintIsOpen(const char* text, int) {
    if (std::string(text) == SpaceHint)
        TypeKeys("Q");
}
} // namespace

TEST(SpaceMode, KeysTypedWhileTheHintIsOpenStayAndNoLookupRuns) {
    TypingHost host("space_reenter", GlobalTable);
    AddButtons();
    HostConfig_SetMessageCallback(TypeQWhileHintIsOpen);

    PressKey(VK_SPACE);
    PumpMessages(20);
    EXPECT_EQ(RecordedMessages(), (Messages{{SpaceHint, 1}})) << DescribeRecord();
    EXPECT_TRUE(Record(HOST_EV_MODULE).empty());
    EXPECT_EQ(RecordTexts(HOST_EV_STATUS), (Texts{"Q"}));

    PressKey(VK_SPACE);
    PumpMessages(20);
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{517})) << DescribeRecord();
    EXPECT_TRUE(host.Sink().KeyDowns().empty());
}
