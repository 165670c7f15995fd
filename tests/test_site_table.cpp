// A site's table under the user's own (TARNWICK_SITE_TABLE): its local copy in the data
// folder, the lookup that falls to it on a miss, and the editor that lists its rows and
// never writes them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "editor_session.h"
#include "file_bytes.h"
#include "plugin_host.h"
#include "typing_host.h"

using namespace tarnwick_test;

namespace {

enum { UserButton = 801, SiteButton = 802, NewSiteButton = 803, SiteOnlyButton = 804 };

// The site's file, on a "share" of the test's own, outside the data folder.
class SiteShare {
  public:
    explicit SiteShare(const std::string& name) {
        folder_ = ProgramFolder() + "\\..\\scratch\\" + name;
        CreateDirectoryA((ProgramFolder() + "\\..\\scratch").c_str(), nullptr);
        CreateDirectoryA(folder_.c_str(), nullptr);
        path_ = folder_ + "\\site.ini";
        SetEnvironmentVariableA("TARNWICK_SITE_TABLE", path_.c_str());
    }
    ~SiteShare() {
        SetEnvironmentVariableA("TARNWICK_SITE_TABLE", nullptr);
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    const std::string& Path() const { return path_; }
    void Write(const std::string& bytes) const {
        ASSERT_TRUE(driving::WriteFileBytes(path_, bytes));
    }
    // A write within the file system's time resolution must still look changed.
    void WriteNewer(const std::string& bytes) const {
        Write(bytes);
        HANDLE file = CreateFileA(path_.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        FILETIME later = {};
        GetFileTime(file, nullptr, nullptr, &later);
        ULARGE_INTEGER t = {{later.dwLowDateTime, later.dwHighDateTime}};
        t.QuadPart += 10ull * 1000 * 1000 * 60;
        later.dwLowDateTime = t.LowPart;
        later.dwHighDateTime = t.HighPart;
        SetFileTime(file, nullptr, nullptr, &later);
        CloseHandle(file);
    }
    std::string Read() const { return driving::FileBytes(path_); }
    void Remove() const { DeleteFileA(path_.c_str()); }

  private:
    std::string folder_;
    std::string path_;
};

// The user's table: U is the user's own, S overrides the site's S.
const std::string UserTable =
    Table({"[MODE]", "MODE=1", "[全局]", "U=BTN_USER=Mine=全局=全局", "S=BTN_USER=Mine=全局=全局"});
// The site's: S (overridden), T (the site's alone), M in module 40, and a MODE of 0 that
// must switch nothing.
const std::string SiteTable =
    Table({"[MODE]", "MODE=0", "[40]", "M=BTN_SITE_ONLY=Mod=仅应用模块=40", "[全局]",
           "S=BTN_SITE=Site=全局=全局", "T=BTN_SITE_ONLY=Only=全局=全局"});

void AddButtons() {
    HostConfig_AddButton("BTN_USER", UserButton);
    HostConfig_AddButton("BTN_SITE", SiteButton);
    HostConfig_AddButton("BTN_NEW_SITE", NewSiteButton);
    HostConfig_AddButton("BTN_SITE_ONLY", SiteOnlyButton);
}

const char WrongShortcut[] = "输入快捷键有误，请重新输入!";

} // namespace

TEST(SiteTable, SiteCodesRunFromTheLocalCopyAndTheUsersEntriesOverrideThem) {
    SiteShare share("site_share_lookup");
    share.Write(SiteTable);
    TypingHost host("site_lookup", UserTable);
    AddButtons();
    HostConfig_SetModule(40);
    // The copy is the site's file, byte for byte, and the site's MODE switched nothing off.
    EXPECT_EQ(host.Folder().Read("site_button_id.ini"), SiteTable);

    TypeCode("U T S M Z ");
    EXPECT_EQ(RecordedCommandIds(),
              (std::vector<int>{UserButton, SiteOnlyButton, UserButton, SiteOnlyButton}))
        << DescribeRecord();
    EXPECT_EQ(RecordedMessages(), (Messages{{WrongShortcut, 0}})) << DescribeRecord();

    // Held by another program so that no open of it can succeed, then changed: keystrokes
    // go on from the copy and never see the change.
    {
        share.WriteNewer(Table({"[全局]", "T=BTN_NEW_SITE=New=全局=全局"}));
        HANDLE held = CreateFileA(share.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        HostRecord_Clear();
        TypeCode("T S ");
        EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{SiteOnlyButton, UserButton}))
            << DescribeRecord();
        EXPECT_TRUE(RecordedMessages().empty()) << DescribeRecord();
        // A switch-on that cannot read the site's file keeps the last copy.
        HostActions_Invoke("FENNOR_KEY_SET");
        EXPECT_EQ(host.Folder().Read("site_button_id.ini"), SiteTable);
        CloseHandle(held);
    }
    // Reachable again: the next switch-on takes the new version.
    HostActions_Invoke("FENNOR_KEY_SET");
    host.Activate();
    HostRecord_Clear();
    TypeCode("T M ");
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{NewSiteButton})) << DescribeRecord();

    // Gone altogether: the copy serves.
    share.Remove();
    HostActions_Invoke("FENNOR_KEY_SET");
    host.Activate();
    HostRecord_Clear();
    TypeCode("T ");
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{NewSiteButton})) << DescribeRecord();
    // Nothing of the plug-in puts the site's file back.
    std::string gone;
    EXPECT_FALSE(driving::ReadFileBytes(share.Path(), &gone));
    // The user's table holds its own MODE and entries only.
    EXPECT_EQ(host.Folder().Read("button_id.ini"), UserTable);
}

TEST(SiteTable, WithoutTheVariableNoCopyIsMadeOrRead) {
    SetEnvironmentVariableA("TARNWICK_SITE_TABLE", nullptr);
    TypingHost host("site_none", Table({"[全局]", "U=BTN_USER=Mine=全局=全局"}), "1", true,
                    [](DataFolder& folder) {
                        // A copy left from an earlier site rollout is not read.
                        folder.Write("site_button_id.ini", SiteTable);
                    });
    AddButtons();
    TypeCode("T U ");
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{UserButton})) << DescribeRecord();
    EXPECT_EQ(RecordedMessages(), (Messages{{WrongShortcut, 0}})) << DescribeRecord();
    EXPECT_EQ(host.Folder().Read("site_button_id.ini"), SiteTable);
}

TEST(SiteTable, UnreachableAtTheFirstStartLeavesTheUsersCodesWorking) {
    SiteShare share("site_share_missing");
    TypingHost host("site_missing", UserTable);
    AddButtons();
    EXPECT_FALSE(host.Folder().Exists("site_button_id.ini"));
    TypeCode("U T ");
    EXPECT_EQ(RecordedCommandIds(), (std::vector<int>{UserButton})) << DescribeRecord();
    EXPECT_EQ(RecordedMessages(), (Messages{{WrongShortcut, 0}})) << DescribeRecord();
}

TEST(SiteTableEditor, ListsTheSitesRowsMarkedAndNeverWritesThem) {
    SiteShare share("site_share_editor");
    share.Write(SiteTable);
    const std::string user = Table({"[全局]", "U=BTN_USER=Mine=全局=全局"});
    EditorSession session("site_editor", user);
    EditorDriver editor = session.Open();
    ASSERT_TRUE(editor.Dialog());
    EXPECT_TRUE(session.BoxTexts().empty());
    EXPECT_EQ(editor.Rows(), (std::vector<ListRow>{
                                 {"U", "BTN_USER", "Mine", "全局", "全局"},
                                 {"M", "BTN_SITE_ONLY", "Mod", "仅应用模块", "[站点] 40"},
                                 {"S", "BTN_SITE", "Site", "全局", "[站点] 全局"},
                                 {"T", "BTN_SITE_ONLY", "Only", "全局", "[站点] 全局"},
                             }));

    // Delete and modify refuse a site row with a message naming the site's table.
    for (int button : {DeleteButtonId, ModifyButtonId}) {
        SCOPED_TRACE(button);
        session.Boxes().Clear();
        editor.SelectRows({2});
        editor.SetFields("X", "BTN_X", "x");
        editor.Click(button);
        std::vector<std::string> boxes = session.BoxTexts();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].find(share.Path()), std::string::npos) << boxes[0];
        EXPECT_EQ(editor.RowCount(), 4);
    }

    // Find covers the site's rows.
    session.Boxes().Clear();
    editor.SelectRows({});
    editor.SetText(ShortcutEditId, "T");
    editor.Click(FindButtonId);
    EXPECT_TRUE(session.BoxTexts().empty());
    EXPECT_EQ(editor.SelectedRows(), (std::vector<int>{3}));

    // An add of a site code asks first; No writes nothing, Yes writes the user's entry (the
    // field upper-cases what is typed).
    HostConfig_SetDisplayPart(1);
    editor.SelectScope(GlobalText);
    session.Boxes().Clear();
    editor.SetFields("s", "BTN_MINE", "Mine");
    editor.Click(AddButtonId);
    ASSERT_EQ(session.Boxes().Seen().size(), 1u);
    EXPECT_TRUE(session.Boxes().Seen()[0].has_yes_no);
    EXPECT_NE(session.BoxTexts()[0].find(share.Path()), std::string::npos);
    EXPECT_EQ(session.Table(), user);
    EXPECT_EQ(editor.RowCount(), 4);

    session.Boxes().Clear();
    session.Boxes().AnswerYesNo(IDYES);
    editor.Click(AddButtonId);
    EXPECT_EQ(session.BoxTexts().size(), 1u);
    EXPECT_NE(session.Table().find("S=BTN_MINE=Mine=全局=全局"), std::string::npos)
        << session.Table();
    EXPECT_EQ(editor.RowCount(), 5);

    EXPECT_EQ(share.Read(), SiteTable);
    EXPECT_EQ(session.Folder().Read("site_button_id.ini"), SiteTable);
}

TEST(SiteTableEditor, SaysWhenTheSitesFileCannotBeReadAndTheCopyServes) {
    SiteShare share("site_share_gone");
    share.Write(SiteTable);
    EditorSession session("site_editor_gone", Table({"[全局]", "U=BTN_USER=Mine=全局=全局"}));
    share.Remove();
    EditorDriver editor = session.Open();
    ASSERT_TRUE(editor.Dialog());
    std::vector<std::string> boxes = session.BoxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(share.Path()), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("site_button_id.ini"), std::string::npos) << boxes[0];
    EXPECT_EQ(editor.RowCount(), 4);
    EXPECT_EQ(session.Folder().Read("site_button_id.ini"), SiteTable);
}
