// The playback library of a host started in any folder: a running host has its UI
// library loaded, and a custom code is played back through that very module, whatever
// the working folder would suggest.
#include <gtest/gtest.h>

#include "typing_host.h"
#include "plugin_host.h"
#include "uf_host.h"

using namespace tarnwick_test;

namespace {

typedef std::vector<std::string> Texts;

// The stand-in's UI library copied into a folder that follows no host layout.
std::string CopyUiLibraryTo(const DataFolder& seat) {
    const std::string folder = seat.Root() + "\\seat bin";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\libugui.dll";
    CopyFileA((StageFolder() + "\\NXBIN\\libugui.dll").c_str(), path.c_str(), FALSE);
    return path;
}

} // namespace

TEST(UiLibrary, TheLoadedLibraryPlaysBackWhateverTheWorkingFolder) {
    struct Case {
        const char* what;
        std::string working_folder; // empty: a project folder of the seat
    };
    const Case cases[] = {
        // Started from a desktop shortcut's "Start in": no UGII or NXBIN beside it.
        {"project folder", ""},
        // Where the working-folder rule would name the stage's NXBIN library.
        {"host's UGII folder", StageFolder() + "\\UGII"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetHost();
        DataFolder seat("ui_seat");
        const std::string library = CopyUiLibraryTo(seat);
        HMODULE ui = nullptr;
        auto prepare = [&](DataFolder&) {
            ui = LoadLibraryA(library.c_str());
            std::string folder = c.working_folder;
            if (folder.empty()) {
                folder = seat.Root() + "\\Projects";
                CreateDirectoryA(folder.c_str(), nullptr);
            }
            SetCurrentDirectoryA(folder.c_str());
        };
        {
            TypingHost host("ui_library", Table({"[二次开发]", "QT=MYTOOL=Tool=二次开发=二次开发"}),
                            "1", true, prepare);
            ASSERT_NE(ui, nullptr) << library;
            TypeCode("QT ");
            EXPECT_EQ(RecordTexts(HOST_EV_LOAD_LIBRARY),
                      (Texts{library + "|" UF_MACRO_PLAYBACK_SYMBOL}));
            EXPECT_EQ(RecordTexts(HOST_EV_CUSTOM_COMMAND), (Texts{"MYTOOL"}));
            EXPECT_TRUE(RecordedMessages().empty()) << DescribeRecord();
            EXPECT_STREQ(HostWindow_StatusText(), "");
        }
        FreeLibrary(ui);
        ResetHost(); // the stand-in lets go of the library it loaded for the playback
    }
}
