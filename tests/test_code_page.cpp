// The plug-in under a process code page other than 936: the host shell runs the real
// plug-in once as the seat is (the code page this test runs under: 936 by default,
// another locale's in a second run) and once as a copy whose manifest asks for UTF-8
// (code page 65001), as Windows' UTF-8 option makes every program. Whatever the user
// does, the table and the settings keep every byte, and the reason is shown.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "plugin_host.h"
#include "program_run.h"

using namespace tarnwick_test;

namespace {

using driving::FileBytes;

const UINT Utf8CodePage = 65001;

const char EnglishReason[] =
    "Tarnwick: NX runs under the ANSI code page %u, not 936 (GBK). The shortcut table "
    "button_id.ini and chick.ini are GBK text, which Windows would destroy under this code "
    "page: Tarnwick writes neither file, leaves shortcuts off and does not open its editor. "
    "The way back: in Windows' region settings (Administrative, Change system locale) turn "
    "off \"Beta: Use Unicode UTF-8 for worldwide language support\", or set the system locale "
    "to Chinese (Simplified, China); then restart Windows and NX.";
const char ChineseReason[] =
    "Tarnwick：NX 进程的 ANSI 代码页是 %u，不是 936（GBK）。"
    "快捷键表 button_id.ini 和 chick.ini 是 GBK 文本，在此代码页下会被 Windows 损坏："
    "Tarnwick 不写这两个文件，不开启快捷键，也不打开快捷键设置。"
    "恢复方法：在 Windows 的区域设置中（管理，更改系统区域设置）"
    "取消勾选“Beta 版: 使用 Unicode UTF-8 提供全球语言支持”，"
    "或把系统区域设置改为“中文(简体，中国)”，然后重新启动 Windows 和 NX。";

const char Manifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly manifestVersion=\"1.0\" xmlns=\"urn:schemas-microsoft-com:asm.v1\">\r\n"
    "  <application>\r\n"
    "    <windowsSettings>\r\n"
    "      <activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">"
    "UTF-8</activeCodePage>\r\n"
    "    </windowsSettings>\r\n"
    "  </application>\r\n"
    "</assembly>\r\n";

const char Menu[] = "VERSION 120\r\n"
                    "EDIT UG_GATEWAY_MAIN_MENUBAR\r\n"
                    "AFTER UG_HELP\r\n"
                    "  CASCADE_BUTTON TARNWICK_MENU\r\n"
                    "  LABEL 快捷键\r\n"
                    "END_OF_AFTER\r\n"
                    "MENU TARNWICK_MENU\r\n"
                    "  BUTTON TARNWICK_KEY_SET\r\n"
                    "  LABEL 开启快捷键\r\n"
                    "  ACTIONS FENNOR_KEY_SET\r\n"
                    "  BUTTON TARNWICK_KEY_UNSET\r\n"
                    "  LABEL 关闭快捷键\r\n"
                    "  ACTIONS FENNOR_KEY_UNSET\r\n"
                    "  BUTTON TARNWICK_KEY_DEFINE\r\n"
                    "  LABEL 快捷键设置\r\n"
                    "  ACTIONS FENNOR_KEY_DEFINE\r\n"
                    "END_OF_MENU\r\n";

// What a user does first: switch on, type a host code and a custom one, switch off and
// on again, open the editor (last: it would take the keys).
const char Script[] = "menu 开启快捷键\n"
                      "type L\n"
                      "key Space\n"
                      "type QT\n"
                      "key Space\n"
                      "menu 关闭快捷键\n"
                      "menu 开启快捷键\n"
                      "menu 快捷键设置\n";

// Shortcuts on at the last exit, Space mode, entries in every kind of section.
const std::string TableBytes = "[MODE]\r\nMODE=1\r\n[全局]\r\nL=UG_MODELING_LINE=直线=全局=全局\r\n"
                               "[0]\r\nB=UG_MODELING_BLOCK=块=仅应用模块=0\r\n"
                               "[二次开发]\r\nQT=MY_TOOL=我的工具=二次开发=二次开发\r\n";
const std::string SettingsBytes = "[CHECK1]\r\nCHECK1=1\r\n";

std::string Convert(const std::string& text, UINT from, UINT to) {
    std::vector<wchar_t> wide(text.size() + 1);
    int n =
        MultiByteToWideChar(from, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    std::string out(4 * text.size() + 1, '\0');
    int m = n > 0 ? WideCharToMultiByte(to, 0, wide.data(), -1, &out[0],
                                        static_cast<int>(out.size()), nullptr, nullptr)
                  : 0;
    out.resize(m > 0 ? static_cast<size_t>(m - 1) : 0);
    return out;
}

std::string GbkToUtf8(const std::string& gbk) {
    return Convert(gbk, 936, CP_UTF8);
}

std::string WithCodePage(const char* format, UINT code_page) {
    char text[2048];
    snprintf(text, sizeof text, format, code_page);
    return text;
}

bool Copy(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

// A host program of its own in the folder: the shell and the host's libraries, with a
// manifest beside the program when it is to run under UTF-8.
std::string StageShell(const std::string& folder, bool utf8) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* file :
         {"tarnwick-host.exe", "libhostcore.dll", "libufun.dll", "libugopenint.dll"})
        EXPECT_TRUE(Copy(ProgramFolder() + "\\" + file, folder + "\\" + file)) << file;
    if (utf8) {
        EXPECT_TRUE(driving::WriteFileBytes(folder + "\\tarnwick-host.exe.manifest", Manifest));
    }
    return folder + "\\tarnwick-host.exe";
}

struct SeatRun {
    std::string how; // how the run ended, for a failure's message
    bool ended = false;
    std::vector<std::string> lines; // the transcript, UTF-8
};

SeatRun RunSeat(const DataFolder& folder, const std::string& shell) {
    const std::string root = folder.Root();
    EXPECT_TRUE(driving::WriteFileBytes(root + "\\tarnwick.men", Menu));
    EXPECT_TRUE(driving::WriteFileBytes(root + "\\seat.script", GbkToUtf8(Script)));
    driving::ProgramRun run = driving::RunProgram(
        "\"" + shell + "\" --plugin \"" + ProgramFolder() + "\\Tarnwick.dll\" --menu \"" + root +
            "\\tarnwick.men\" --tarnwick-dir \"" + root + "\" --ui-library none --script \"" +
            root + "\\seat.script\" --transcript \"" + root + "\\transcript.txt\"",
        StageFolder() + "\\UGII", 60000);
    SeatRun seat;
    seat.ended = run.started && !run.timed_out && run.status == 0;
    seat.how = "started " + std::to_string(run.started) + ", timed out " +
               std::to_string(run.timed_out) + ", status " + std::to_string(run.status) +
               ", output:\n" + run.output + "\n";
    seat.lines =
        driving::TextLines(driving::WithoutCarriageReturns(FileBytes(root + "\\transcript.txt")));
    return seat;
}

int CountStarting(const std::vector<std::string>& lines, const std::string& start) {
    int count = 0;
    for (const std::string& line : lines)
        count += line.compare(0, start.size(), start) == 0 ? 1 : 0;
    return count;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

} // namespace

TEST(CodePage, ForeignCodePageKeepsBothFilesWhateverTheUserDoesAndSaysWhy) {
    const struct {
        const char* name;
        bool utf8_manifest;
    } seats[] = {{"seat_as_is", false}, {"seat_utf8", true}};
    for (const auto& s : seats) {
        const UINT code_page = s.utf8_manifest ? Utf8CodePage : GetACP();
        SCOPED_TRACE(std::string(s.name) + ", code page " + std::to_string(code_page));
        DataFolder folder(std::string("code_page_") + s.name);
        folder.WriteStandardFiles(TableBytes, "1");
        folder.Write("chick.ini", SettingsBytes);
        const std::string shell = StageShell(folder.Root() + "\\host", s.utf8_manifest);
        SeatRun seat = RunSeat(folder, shell);
        ASSERT_TRUE(seat.ended) << seat.how << Joined(seat.lines);
        const std::string transcript = Joined(seat.lines);

        if (code_page == 936) {
            // The control: at start-up and by the last switch-on, and the codes run.
            EXPECT_EQ(CountStarting(seat.lines, GbkToUtf8("[msg]    (flag 1) 打开快捷键成功！")), 2)
                << transcript;
            EXPECT_EQ(CountStarting(seat.lines, "[run]    host button 4711 UG_MODELING_LINE"), 1)
                << transcript;
            EXPECT_EQ(CountStarting(seat.lines, "[run]    custom button MY_TOOL"), 1) << transcript;
            EXPECT_TRUE(folder.Exists("button_id.ini.bak")); // made before the first write
            continue;
        }

        EXPECT_EQ(folder.Read("button_id.ini"), TableBytes);
        EXPECT_EQ(folder.Read("chick.ini"), SettingsBytes);
        EXPECT_EQ(folder.Read("Tarnwick.macro"), "");
        EXPECT_FALSE(folder.Exists("button_id.ini.bak"));

        // Once at start-up in the listing window and the log, in both languages.
        const std::string english = WithCodePage(EnglishReason, code_page);
        const std::string chinese = GbkToUtf8(WithCodePage(ChineseReason, code_page));
        EXPECT_EQ(CountStarting(seat.lines, "[listing] " + english), 1) << transcript;
        EXPECT_EQ(CountStarting(seat.lines, "[syslog] " + english), 1) << transcript;
        // Each of the three menu actions shows it in the host's box, and does nothing else.
        const std::string box = "[msg]    (flag 1) " + english;
        EXPECT_EQ(CountStarting(seat.lines, box), 4) << transcript;
        EXPECT_EQ(CountStarting(seat.lines, "[msg]"), 4) << transcript;
        EXPECT_EQ(CountStarting(seat.lines, "[status]"), 0) << transcript;
        EXPECT_EQ(CountStarting(seat.lines, "[run]"), 0) << transcript;
        EXPECT_EQ(CountStarting(seat.lines, "[key]    L reached the host window"), 1) << transcript;
        if (code_page == Utf8CodePage) {
            // The Chinese half reads right in the process's code page.
            EXPECT_EQ(CountStarting(seat.lines, "[listing] " + chinese), 1) << transcript;
            EXPECT_EQ(CountStarting(seat.lines, std::string(9, ' ') + chinese), 4) << transcript;
        }
    }
}
