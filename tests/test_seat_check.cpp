// tarnwick-check --seat run as a support engineer runs it on a seat: a staged seat (an
// installation with its data and startup folders, a host folder with its
// custom-directories file and UI library) and the variables that name them. A good seat
// passes; each planted fault is found and named, and nothing of the seat changes.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "data_folder.h"
#include "file_bytes.h"
#include "plugin_host.h"
#include "program_run.h"

using namespace tarnwick_test;

namespace {

typedef std::vector<std::string> Lines;

std::string FolderOfProgram() {
    return ProgramFolder();
}

// The staged seat: <root>\Tarnwick (the installation) and <root>\NX (the host).
class Seat {
  public:
    Seat() : root_(FolderOfProgram() + "\\..\\scratch\\seat_check") {
        RemoveTree(root_);
        for (const std::string& folder :
             {std::string(FolderOfProgram() + "\\..\\scratch"), root_, Install(),
              Install() + "\\data", Install() + "\\startup", Host(), Host() + "\\UGII",
              Host() + "\\UGII\\menus", Host() + "\\NXBIN"})
            CreateDirectoryA(folder.c_str(), nullptr);
        Write(Data("button_id.ini"),
              "[MODE]\r\nMODE=0\r\n[全局]\r\nL=UG_MODELING_LINE=直线=全局=全局\r\n");
        Write(Data("chick.ini"), "[CHECK1]\r\nCHECK1=1\r\n");
        Write(Data("Tarnwick.macro"), "");
        CopyFileA((FolderOfProgram() + "\\Tarnwick.dll").c_str(),
                  (Install() + "\\startup\\Tarnwick.dll").c_str(), FALSE);
        Write(Install() + "\\startup\\tarnwick.men",
              driving::FileBytes(std::string(TARNWICK_SOURCE_DIR) + "/resources/tarnwick.men"));
        CopyFileA((StageFolder() + "\\NXBIN\\libugui.dll").c_str(), UiLibrary().c_str(), FALSE);
        Write(CustomDirs(), "C:\\Some\\Other\\Tool\r\n" + Install() + "\\\r\n");
        SetVariable("TARNWICK_DIR", Install());
        SetVariable("UGII_BASE_DIR", Host());
        SetEnvironmentVariableA("UGII_CUSTOM_DIRECTORY_FILE", nullptr);
        SetEnvironmentVariableA("TARNWICK_TRACE", nullptr);
    }
    ~Seat() {
        for (const char* name :
             {"TARNWICK_DIR", "UGII_BASE_DIR", "UGII_CUSTOM_DIRECTORY_FILE", "TARNWICK_TRACE"})
            SetEnvironmentVariableA(name, nullptr);
        RemoveTree(root_);
    }
    std::string Install() const { return root_ + "\\Tarnwick"; }
    std::string Host() const { return root_ + "\\NX"; }
    std::string Data(const std::string& file) const { return Install() + "\\data\\" + file; }
    std::string CustomDirs() const { return Host() + "\\UGII\\menus\\custom_dirs.dat"; }
    std::string UiLibrary() const { return Host() + "\\NXBIN\\libugui.dll"; }

    static void Write(const std::string& path, const std::string& bytes) {
        driving::WriteFileBytes(path, bytes);
    }
    static void SetVariable(const char* name, const std::string& value) {
        SetEnvironmentVariableA(name, value.c_str());
    }

  private:
    std::string root_;
};

struct SeatRun {
    int status = -1;
    Lines lines;
};

SeatRun RunSeatCheck(const std::string& arguments,
                     const std::string& checker = FolderOfProgram() + "\\tarnwick-check.exe") {
    driving::ProgramRun program =
        driving::RunProgram("\"" + checker + "\" " + arguments, std::string(), 60000);
    if (program.timed_out)
        ADD_FAILURE() << "tarnwick-check did not end: " << arguments;
    SeatRun run;
    run.status = program.status;
    run.lines = driving::TextLines(driving::WithoutCarriageReturns(program.output));
    return run;
}

std::string Joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

Lines Starting(const Lines& lines, const std::string& start) {
    Lines found;
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0)
            found.push_back(line);
    return found;
}

// Modified times and bytes of every file of the seat's data folder.
std::string DataFolderState(const Seat& seat) {
    std::string state;
    for (const char* name : {"button_id.ini", "chick.ini", "Tarnwick.macro"}) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(seat.Data(name).c_str(), GetFileExInfoStandard, &data);
        state += std::string(name) + " " + std::to_string(data.ftLastWriteTime.dwLowDateTime) +
                 " " + std::to_string(data.ftLastWriteTime.dwHighDateTime) + " " +
                 driving::FileBytes(seat.Data(name)) + "\n";
    }
    return state;
}

} // namespace

TEST(SeatCheck, AGoodSeatPassesInBothLanguagesAndIsLeftAsItWas) {
    Seat seat;
    std::string before = DataFolderState(seat);
    SeatRun run = RunSeatCheck("--seat --lang en");
    EXPECT_EQ(run.status, 0) << Joined(run.lines);
    EXPECT_TRUE(Starting(run.lines, "warning: ").empty()) << Joined(run.lines);
    EXPECT_TRUE(Starting(run.lines, "error: ").empty()) << Joined(run.lines);
    const Lines expected = {
        "ok: code page: ANSI code page 936 (GBK), as the plug-in needs",
        "ok: TARNWICK_DIR: " + seat.Install(),
        "ok: data folder: " + seat.Install() + "\\data",
        "ok: button_id.ini: " + seat.Data("button_id.ini") + ": present, readable and writable",
        "ok: button_id.ini: encoding GBK (or plain ASCII), as the plug-in reads it",
        "ok: button_id.ini: the table check finds no problems (1 entries)",
        "ok: button_id.ini.bak: none yet; the plug-in makes it before its first change of the "
        "table in each host session",
        "ok: chick.ini: " + seat.Data("chick.ini") + ": present, readable and writable",
        "ok: chick.ini: encoding GBK (or plain ASCII), as the plug-in reads it",
        "ok: Tarnwick.macro: " + seat.Data("Tarnwick.macro") + ": present, readable and writable",
        "ok: Tarnwick.macro: encoding GBK (or plain ASCII), as the plug-in reads it",
        "ok: UGII_BASE_DIR: " + seat.Host(),
        "ok: custom directories: " + seat.CustomDirs() + " lists " + seat.Install() +
            ", which holds startup\\Tarnwick.dll and startup\\tarnwick.men",
        "ok: UI library: " + seat.UiLibrary() +
            " exports the playback function: codes of custom buttons (played back as macros) can "
            "run",
        "ok: trace: off (TARNWICK_TRACE is not set)",
        "seat: 15 ok, 0 warning(s), 0 error(s)",
    };
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(DataFolderState(seat), before);

    SeatRun chinese = RunSeatCheck("--seat");
    EXPECT_EQ(chinese.status, 0) << Joined(chinese.lines);
    ASSERT_FALSE(chinese.lines.empty());
    EXPECT_EQ(chinese.lines.front(), "ok: 代码页：ANSI 代码页 936（GBK），符合插件的要求");
    EXPECT_EQ(chinese.lines.back(), "工作站：15 项正常，0 个警告，0 个错误");
}

TEST(SeatCheck, EachPlantedFaultIsFoundAndNamed) {
    struct Fault {
        const char* what;
        std::function<void(const Seat&)> plant;
        std::string line; // the start of the line that names it
    };
    const Fault faults[] = {
        {"no TARNWICK_DIR", [](const Seat&) { SetEnvironmentVariableA("TARNWICK_DIR", nullptr); },
         "error: TARNWICK_DIR: not set: "},
        {"a misspelt TARNWICK_DIR",
         [](const Seat& s) { Seat::SetVariable("TARNWICK_DIR", s.Install() + "x"); },
         "error: data folder: "},
        {"a missing file", [](const Seat& s) { DeleteFileA(s.Data("chick.ini").c_str()); },
         "error: chick.ini: "},
        {"a UTF-8 table",
         [](const Seat& s) {
             Seat::Write(
                 s.Data("button_id.ini"),
                 "[MODE]\r\nMODE=0\r\n[\xE5\x85\xA8\xE5\xB1\x80]\r\n"
                 "L=UG_MODELING_LINE=x=\xE5\x85\xA8\xE5\xB1\x80=\xE5\x85\xA8\xE5\xB1\x80\r\n");
         },
         "error: button_id.ini: saved as UTF-8: "},
        {"a table with findings",
         [](const Seat& s) {
             Seat::Write(s.Data("button_id.ini"),
                         "[MODE]\r\nMODE=0\r\n[全局]\r\nTOOLONG=B=x=全局=全局\r\n");
         },
         "error: button_id.ini: the table check finds 1 error(s) and 0 warning(s) (1 entries): "
         "run tarnwick-check \""},
        {"a custom-directories file without the folder",
         [](const Seat& s) { Seat::Write(s.CustomDirs(), "C:\\Some\\Other\\Tool\r\n"); },
         "error: custom directories: none of the 1 folders that "},
        {"a folder listed without startup\\tarnwick.men",
         [](const Seat& s) { DeleteFileA((s.Install() + "\\startup\\tarnwick.men").c_str()); },
         "error: custom directories: none of the 2 folders that "},
        {"UGII_CUSTOM_DIRECTORY_FILE naming a file that lacks the folder",
         [](const Seat& s) {
             std::string other = s.Host() + "\\site_dirs.dat";
             Seat::Write(other, "C:\\Site\\Tools\r\n");
             Seat::SetVariable("UGII_CUSTOM_DIRECTORY_FILE", other);
         },
         "error: custom directories: none of the 1 folders that "},
        {"no UGII_BASE_DIR", [](const Seat&) { SetEnvironmentVariableA("UGII_BASE_DIR", nullptr); },
         "warning: UGII_BASE_DIR: not set: "},
        {"a UI library without the playback export",
         [](const Seat& s) {
             CopyFileA((FolderOfProgram() + "\\libufun.dll").c_str(), s.UiLibrary().c_str(), FALSE);
         },
         "error: UI library: "},
        {"no UI library", [](const Seat& s) { DeleteFileA(s.UiLibrary().c_str()); },
         "error: UI library: no libugui.dll in "},
        {"a trace into the table",
         [](const Seat& s) { Seat::SetVariable("TARNWICK_TRACE", s.Data("button_id.ini")); },
         "error: trace: TARNWICK_TRACE names "},
        {"a trace into a missing folder",
         [](const Seat& s) { Seat::SetVariable("TARNWICK_TRACE", s.Host() + "\\none\\t.log"); },
         "error: trace: TARNWICK_TRACE names "},
    };
    for (const Fault& fault : faults) {
        Seat seat;
        fault.plant(seat);
        SeatRun run = RunSeatCheck("--seat --lang en");
        EXPECT_EQ(run.status, 1) << fault.what << "\n" << Joined(run.lines);
        Lines found = Starting(run.lines, fault.line);
        EXPECT_EQ(found.size(), 1u) << fault.what << "\n" << Joined(run.lines);
        Lines faults_named = Starting(run.lines, "error: ");
        Lines warnings = Starting(run.lines, "warning: ");
        faults_named.insert(faults_named.end(), warnings.begin(), warnings.end());
        // The planted fault is the seat's only one, but for what follows from it.
        EXPECT_LE(faults_named.size(), 3u) << fault.what << "\n" << Joined(run.lines);
    }
}

// The process code page of a seat with Windows' UTF-8 option: a copy of the checker with
// an application manifest asking for it, as such a seat gives every program.
TEST(SeatCheck, AnotherCodePageIsAnErrorAndTheMessagesTurnEnglish) {
    Seat seat;
    const std::string checker = seat.Host() + "\\utf8-check.exe";
    CopyFileA((FolderOfProgram() + "\\tarnwick-check.exe").c_str(), checker.c_str(), FALSE);
    Seat::Write(checker + ".manifest",
                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
                "<assemblyIdentity type=\"win32\" name=\"Tarnwick.Check\" version=\"1.0.0.0\"/>\r\n"
                "<application xmlns=\"urn:schemas-microsoft-com:asm.v3\"><windowsSettings>"
                "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">"
                "UTF-8</activeCodePage></windowsSettings></application>\r\n"
                "</assembly>\r\n");
    SeatRun run = RunSeatCheck("--seat", checker);
    EXPECT_EQ(run.status, 1) << Joined(run.lines);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(
        run.lines[0].rfind("error: code page: the ANSI code page is 65001, not 936 (GBK): ", 0), 0u)
        << Joined(run.lines);
    EXPECT_EQ(Starting(run.lines, "error: ").size(), 1u) << Joined(run.lines);
}

TEST(SeatCheck, TheTraceIsReportedAndAWrongCommandLineCannotRun) {
    Seat seat;
    Seat::SetVariable("TARNWICK_TRACE", "1");
    SeatRun run = RunSeatCheck("--seat --lang en");
    EXPECT_EQ(run.status, 0) << Joined(run.lines);
    EXPECT_EQ(Starting(run.lines, "ok: trace: on, to " + seat.Data("tarnwick-trace.log")).size(),
              1u)
        << Joined(run.lines);

    for (const char* wrong : {"--seat button_id.ini", "--seat --module 40", "--seat --nonsense"})
        EXPECT_EQ(RunSeatCheck(wrong).status, 2) << wrong;
}

// The site's table and its local copy, as the plug-in keeps it: current, stale, serving
// while the share is gone, or missing altogether.
TEST(SeatCheck, TheSiteTableAndItsCopyAreReported) {
    Seat seat;
    const std::string site = seat.Install() + "\\site.ini";
    const std::string copy = seat.Data("site_button_id.ini");
    const std::string table = "[全局]\r\nT=UG_T=t=全局=全局\r\n";
    Seat::Write(site, table);
    Seat::SetVariable("TARNWICK_SITE_TABLE", site);
    // The copy as the plug-in makes it: the site's bytes and last-write time.
    auto make_copy = [&] {
        Seat::Write(copy, table);
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(site.c_str(), GetFileExInfoStandard, &data);
        HANDLE file = CreateFileA(copy.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        SetFileTime(file, nullptr, nullptr, &data.ftLastWriteTime);
        CloseHandle(file);
    };
    struct Case {
        const char* what;
        std::function<void()> plant;
        Lines lines; // the starts of the site's lines
    };
    const Case cases[] = {
        {"no copy yet",
         [] {},
         {"ok: site table: " + site + " can be read, 1 entries",
          "warning: site table's copy: " + copy + " does not exist yet"}},
        {"current",
         make_copy,
         {"ok: site table: " + site + " can be read",
          "ok: site table's copy: " + copy + ", made "}},
        {"stale",
         [&] {
             make_copy();
             Seat::Write(site, table + "U=UG_U=u=全局=全局\r\n");
         },
         {"ok: site table: " + site + " can be read, 2 entries",
          "warning: site table's copy: " + copy + ", made "}},
        {"share gone, copy serves",
         [&] {
             make_copy();
             DeleteFileA(site.c_str());
         },
         {"warning: site table: " + site + " cannot be read",
          "warning: site table's copy: " + copy + ", made "}},
        {"share gone, no copy",
         [&] { DeleteFileA(site.c_str()); },
         {"warning: site table: " + site + " cannot be read",
          "error: site table's copy: " + copy + " does not exist"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seat::Write(site, table);
        DeleteFileA(copy.c_str());
        c.plant();
        SeatRun run = RunSeatCheck("--seat --lang en");
        Lines found = Starting(run.lines, "ok: site table");
        for (const std::string& line : Starting(run.lines, "warning: site table"))
            found.push_back(line);
        for (const std::string& line : Starting(run.lines, "error: site table"))
            found.push_back(line);
        ASSERT_EQ(found.size(), 2u) << Joined(run.lines);
        for (const std::string& start : c.lines) {
            bool seen = false;
            for (const std::string& line : found)
                seen = seen || line.compare(0, start.size(), start) == 0;
            EXPECT_TRUE(seen) << start << "\n" << Joined(run.lines);
        }
    }
    SetEnvironmentVariableA("TARNWICK_SITE_TABLE", nullptr);
}
