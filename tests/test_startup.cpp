// Start-up and unload of the real DLL as the host record shows them.
#include <gtest/gtest.h>

#include "message_boxes.h"
#include "plugin_host.h"

using namespace tarnwick_test;

namespace {

const char MissingVariableText[] = "TARNWICK_DIR 环境变量没有设置!";

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override { ResetHost(); }
    void TearDown() override { host_.Unload(); }
    PluginHost host_;
};

std::vector<int> KindsOf(const std::vector<RecordedEvent>& events, std::vector<int> wanted) {
    std::vector<int> kinds;
    for (const RecordedEvent& e : events)
        for (int k : wanted)
            if (e.kind == k)
                kinds.push_back(e.kind);
    return kinds;
}

} // namespace

TEST_F(StartUp, RunsItsStepsInOrderAndReportsNothingWhenAllIsWell) {
    DataFolder folder("startup_order");
    folder.WriteStandardFiles("[MODE]\r\nMODE=0\r\n");
    ASSERT_TRUE(host_.Load());
    EXPECT_EQ(host_.StartUp(), 0);

    // initialise; the three data files, then the UI library; the actions; release.
    std::vector<int> order =
        KindsOf(Record(), {HOST_EV_INITIALIZE, HOST_EV_VARIABLE, HOST_EV_RELEASE,
                           HOST_EV_ADD_ACTION, HOST_EV_TERMINATE});
    EXPECT_EQ(order, (std::vector<int>{HOST_EV_INITIALIZE, HOST_EV_VARIABLE, HOST_EV_VARIABLE,
                                       HOST_EV_VARIABLE, HOST_EV_RELEASE, HOST_EV_ADD_ACTION,
                                       HOST_EV_ADD_ACTION, HOST_EV_ADD_ACTION, HOST_EV_TERMINATE}))
        << DescribeRecord();
    EXPECT_EQ(RecordTexts(HOST_EV_VARIABLE),
              (std::vector<std::string>{"TARNWICK_DIR", "TARNWICK_DIR", "TARNWICK_DIR"}));
    EXPECT_EQ(
        RecordTexts(HOST_EV_ADD_ACTION),
        (std::vector<std::string>{"FENNOR_KEY_SET", "FENNOR_KEY_UNSET", "FENNOR_KEY_DEFINE"}));
    EXPECT_TRUE(Record(HOST_EV_LISTING).empty());
    EXPECT_TRUE(Record(HOST_EV_MESSAGE).empty());
    EXPECT_EQ(host_.AskUnload(), 3);
}

TEST_F(StartUp, FailedInitialiseReportsThreePiecesAndSetsNothingUp) {
    DataFolder folder("startup_init_fails");
    folder.WriteStandardFiles("[MODE]\r\nMODE=1\r\n");
    HostConfig_SetInitializeResult(7);
    ASSERT_TRUE(host_.Load());
    EXPECT_EQ(host_.StartUp(), 1);

    const std::vector<std::string> pieces = {"*** ERROR code 7 at line 131 in Tarnwick:\n",
                                             "+++ Stand-in host error 7\n", "UF_initialize();\n"};
    EXPECT_EQ(RecordTexts(HOST_EV_LISTING), pieces);
    EXPECT_EQ(RecordTexts(HOST_EV_SYSLOG), pieces);
    for (const RecordedEvent& e : Record(HOST_EV_SYSLOG))
        EXPECT_EQ(e.value, 0);
    // The listing window is opened for every piece, before it is written.
    std::vector<int> listing = KindsOf(Record(), {HOST_EV_LISTING_OPEN, HOST_EV_LISTING});
    EXPECT_EQ(listing,
              (std::vector<int>{HOST_EV_LISTING_OPEN, HOST_EV_LISTING, HOST_EV_LISTING_OPEN,
                                HOST_EV_LISTING, HOST_EV_LISTING_OPEN, HOST_EV_LISTING}));
    EXPECT_EQ(HostActions_Count(), 0);
    EXPECT_TRUE(Record(HOST_EV_TERMINATE).empty());
    EXPECT_TRUE(Record(HOST_EV_VARIABLE).empty());
    EXPECT_TRUE(Record(HOST_EV_MESSAGE).empty());
}

TEST_F(StartUp, FailedTerminateIsReportedAndStartUpStillSucceeds) {
    DataFolder folder("startup_term_fails");
    folder.WriteStandardFiles("[MODE]\r\nMODE=0\r\n");
    HostConfig_SetTerminateResult(42);
    ASSERT_TRUE(host_.Load());
    EXPECT_EQ(host_.StartUp(), 0);
    EXPECT_EQ(RecordTexts(HOST_EV_LISTING),
              (std::vector<std::string>{"*** ERROR code 42 at line 191 in Tarnwick:\n",
                                        "+++ Stand-in host error 42\n", "UF_terminate();\n"}));
    EXPECT_EQ(HostActions_Count(), 3);
}

TEST_F(StartUp, MissingVariableShowsOneBoxPerDataFileAndStartUpGoesOn) {
    HostConfig_SetVariable("TARNWICK_DIR", nullptr);
    MessageBoxWatcher boxes;
    ASSERT_TRUE(host_.Load());
    EXPECT_EQ(host_.StartUp(), 0);

    ASSERT_EQ(boxes.Seen().size(), 3u);
    for (const SeenMessageBox& box : boxes.Seen()) {
        EXPECT_EQ(box.text, MissingVariableText);
        EXPECT_EQ(box.caption, "提示");
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_TRUE(box.has_ok);
        EXPECT_TRUE(box.has_cancel);
    }
    // The UI library does not depend on the variable; the actions are registered.
    EXPECT_EQ(Record(HOST_EV_RELEASE).size(), 1u);
    EXPECT_EQ(HostActions_Count(), 3);
    EXPECT_EQ(Record(HOST_EV_TERMINATE).size(), 1u);
}

TEST_F(StartUp, CleanupBeforeAnyEditorOrHookLeavesNothingBehind) {
    DataFolder folder("startup_cleanup");
    folder.WriteStandardFiles("[MODE]\r\nMODE=0\r\n");
    ASSERT_TRUE(host_.Load());
    ASSERT_EQ(host_.StartUp(), 0);
    HostRecord_Clear();
    host_.Unload();
    EXPECT_TRUE(Record(HOST_EV_MESSAGE).empty());
    EXPECT_EQ(GetModuleHandleA("Tarnwick.dll"), nullptr);
}
