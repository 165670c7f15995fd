// The rules by which the plug-in finds its files and reads its settings at start-up,
// checked on the buffers themselves (the plug-in's code is linked into this program
// and talks to the stand-in host).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "message_boxes.h"
#include "data_locations.h"
#include "host_report.h"
#include "plugin_host.h"
#include "shortcut_store.h"

extern "C" void ufsta(char* param, int* retcode, int param_len);

using namespace tarnwick_test;

namespace {

class Locations : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetHost();
        ShortcutTablePath[0] = MacroFilePath[0] = SettingsFilePath[0] = UiLibraryPath[0] = '\0';
    }
};

std::string CurrentDirectory() {
    char dir[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof dir, dir);
    return dir;
}

} // namespace

TEST_F(Locations, RecordsTheDataFilesThatOpen) {
    DataFolder folder("loc_files");
    folder.Write("button_id.ini", "[MODE]\r\nMODE=0\r\n");
    folder.Write("Tarnwick.macro", "");
    // chick.ini left out
    EXPECT_EQ(LocateDataFile("button_id.ini", ShortcutTablePath), 0);
    EXPECT_EQ(LocateDataFile("Tarnwick.macro", MacroFilePath), 0);
    EXPECT_EQ(LocateDataFile("chick.ini", SettingsFilePath), -2);
    EXPECT_EQ(std::string(ShortcutTablePath), folder.PathOf("button_id.ini"));
    EXPECT_EQ(std::string(MacroFilePath), folder.PathOf("Tarnwick.macro"));
    EXPECT_STREQ(SettingsFilePath, "");
}

TEST_F(Locations, InstallRootVariants) {
    DataFolder folder("loc_root");
    folder.Write("button_id.ini", "");
    const std::string root = folder.Root();
    struct Case {
        std::string variable;
        int result;
        std::string path; // expected ShortcutTablePath
    };
    const Case cases[] = {
        {root, 0, root + "\\data\\button_id.ini"},
        // One trailing backslash goes; a second one stays.
        {root + "\\", 0, root + "\\data\\button_id.ini"},
        {root + "\\\\", 0, root + "\\\\data\\button_id.ini"},
        // A forward slash is not treated; Windows accepts the doubled separator.
        {root + "/", 0, root + "/\\data\\button_id.ini"},
        // A folder without data.
        {root + "\\nothing-here", -2, ""},
        // 300 characters: cut to 255, the composed path cannot fit.
        {std::string(300, 'x'), -3, ""},
    };
    for (const Case& c : cases) {
        HostConfig_SetVariable("TARNWICK_DIR", c.variable.c_str());
        strcpy(ShortcutTablePath, "stale");
        EXPECT_EQ(LocateDataFile("button_id.ini", ShortcutTablePath), c.result) << c.variable;
        EXPECT_EQ(std::string(ShortcutTablePath), c.path) << c.variable;
    }
}

TEST_F(Locations, InstallRootIsCutAt255Characters) {
    std::string value(300, 'r');
    HostConfig_SetVariable("TARNWICK_DIR", value.c_str());
    char buffer[DataPathSize];
    memset(buffer, 0x7f, sizeof buffer);
    ASSERT_TRUE(ReadInstallRoot(buffer));
    EXPECT_EQ(std::string(buffer), std::string(255, 'r'));
}

TEST_F(Locations, ComposedPathMustFitWithItsTerminator) {
    // "<root>\data\" is fixed; pad the file name so the whole path is 255, then 256.
    DataFolder folder("loc_bound");
    std::string prefix = folder.Root() + "\\data\\";
    std::string fits(255 - prefix.size(), 'f');
    std::string too_long(256 - prefix.size(), 'f');
    EXPECT_EQ(LocateDataFile(fits.c_str(), ShortcutTablePath), -2); // fits, file absent
    EXPECT_EQ(LocateDataFile(too_long.c_str(), ShortcutTablePath), -3);
    EXPECT_STREQ(ShortcutTablePath, "");
}

TEST_F(Locations, MissingVariableShowsItsBoxAndRecordsNothing) {
    HostConfig_SetVariable("TARNWICK_DIR", nullptr);
    MessageBoxWatcher boxes;
    EXPECT_EQ(LocateDataFile("button_id.ini", ShortcutTablePath), -1);
    EXPECT_STREQ(ShortcutTablePath, "");
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "TARNWICK_DIR 环境变量没有设置!");
}

TEST_F(Locations, UiLibraryFolderFollowsTheReleaseNumber) {
    DataFolder folder("loc_ui");
    std::string host = folder.Root() + "\\Host";
    CreateDirectoryA(host.c_str(), nullptr);
    CreateDirectoryA((host + "\\UGII").c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA((host + "\\UGII").c_str()));
    struct Case {
        const char* release;
        const char* folder;
    };
    const Case cases[] = {
        {"NX 100", "UGII"},
        {"V101", "NXBIN"},
        {"no digits at all", "UGII"},
        {"", "UGII"},
        {"1.0.3", "NXBIN"}, // digits of separate groups: 103
        {"0.1.0.0", "UGII"},
        {"NX 1953 (2110)", "NXBIN"},
        // Twelve digits: only nine are taken, so the number cannot overflow.
        {"123456789012", "NXBIN"},
        {"000000000000101", "UGII"},
    };
    for (const Case& c : cases) {
        HostConfig_SetRelease(c.release);
        LocateUiLibrary();
        EXPECT_EQ(std::string(UiLibraryPath), host + "\\" + c.folder + "\\libugui.dll")
            << c.release;
    }
}

TEST_F(Locations, ShortOrLongWorkingDirectoriesStayInBounds) {
    HostConfig_SetRelease("NX 12");
    std::string here = CurrentDirectory();
    std::string root = here.substr(0, 3); // "Z:\"
    ASSERT_TRUE(SetCurrentDirectoryA(root.c_str()));
    LocateUiLibrary();
    EXPECT_EQ(std::string(UiLibraryPath), root + "UGII\\libugui.dll");

    // A working directory so long that the composed path exceeds 260 bytes: not
    // recorded rather than cut.
    HostConfig_SetRelease("NX 1953");
    DataFolder folder("loc_long");
    std::string deep = folder.Root();
    // 250 or 251 characters whatever the build folder's length: cut by four, it leaves
    // at least 246, and "NXBIN\libugui.dll" no longer fits in 259.
    while (deep.size() < 250) {
        size_t room = 250 - deep.size() - 1;
        deep += "\\" + std::string(std::max<size_t>(1, std::min<size_t>(40, room)), 'd');
    }
    size_t at = folder.Root().size();
    while ((at = deep.find('\\', at + 1)) != std::string::npos)
        CreateDirectoryA(deep.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(deep.c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str())) << deep;
    LocateUiLibrary();
    EXPECT_STREQ(UiLibraryPath, "");
    SetCurrentDirectoryA(here.c_str());
}

TEST(Settings, SpaceModeFromCheck1) {
    struct Case {
        const char* file; // nullptr: no chick.ini
        int space_mode;
    };
    const Case cases[] = {
        {"[CHECK1]\r\nCHECK1=1\r\n", 1},
        {"[CHECK1]\r\nCHECK1=0\r\n", 0},
        {"[CHECK1]\r\nCHECK1=2\r\n", 2},
        {"[CHECK1]\r\nCHECK1=abc\r\n", 0},
        {"[CHECK1]\r\nCHECK1= 7x\r\n", 7},
        {"[CHECK1]\r\nCHECK1=\r\n", 0},
        {"[CHECK1]\r\nOTHER=1\r\n", 0},
        {"", 0},
        {nullptr, 0},
    };
    for (const Case& c : cases) {
        ResetHost();
        DataFolder folder("settings_check1");
        folder.Write("button_id.ini", "[MODE]\r\nMODE=0\r\n");
        folder.Write("Tarnwick.macro", "");
        if (c.file)
            folder.Write("chick.ini", c.file);
        SpaceMode = -99;
        int status = -1;
        char param[1] = {};
        ufsta(param, &status, 0);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(SpaceMode, c.space_mode) << (c.file ? c.file : "(no file)");
    }
}

TEST(Report, CodeZeroPrintsNothingAndLongTextsAreCut) {
    ResetHost();
    EXPECT_EQ(ReportUfError(12, "UF_something()", 0), 0);
    EXPECT_TRUE(Record(HOST_EV_LISTING).empty());
    EXPECT_EQ(ReportUfError(12, "UF_something()", 5), 5);
    EXPECT_EQ(Record(HOST_EV_LISTING).size(), 3u);

    HostRecord_Clear();
    std::string long_text(1200, 'z');
    ListingPrintf("%s", long_text.c_str());
    EXPECT_EQ(RecordTexts(HOST_EV_LISTING), std::vector<std::string>{std::string(1000, 'z')});
    EXPECT_EQ(RecordTexts(HOST_EV_SYSLOG), std::vector<std::string>{std::string(1000, 'z')});
    EXPECT_EQ(Record(HOST_EV_LISTING_OPEN).size(), 1u);
}
