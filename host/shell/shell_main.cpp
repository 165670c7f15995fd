// tarnwick-host.exe: the stand-in host as a program. It loads the plug-in as the host
// does (ufsta at start; ufusr_ask_unload, ufusr_cleanup and unloading at exit), shows
// the host's main window with menus bound to the registered actions, a status line, a
// listing window and a command log, and runs a script or a user's session. At exit it
// writes its record as a readable transcript.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "host_core.h"
#include "menu_file.h"
#include "message_boxes.h"
#include "script_runner.h"
#include "shell_host.h"
#include "shell_menus.h"
#include "shell_options.h"
#include "shell_plugin.h"
#include "shell_window.h"
#include "transcript.h"

namespace {

const char* AnswerName(int id) {
    switch (id) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    }
    return "?";
}

// A scripted run notes each message box it answers.
void NoteMessageBox(const driving::SeenMessageBox& box) {
    ShellNote("box", "\"" + box.caption + "\" " + box.text + " -> " + AnswerName(box.answer));
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ShellOptions options;
    std::string error;
    if (!ParseShellOptions(__argc, __argv, &options, &error)) {
        WriteShellOutput(std::string(), error.empty() ? ShellUsage : error + "\n\n" + ShellUsage);
        return error.empty() ? 0 : 2;
    }
    if (options.buttons.empty())
        options.buttons = DefaultHostButtons();
    ConfigureHost(options);

    std::string plugin = PluginPath(options);
    std::string tarnwick_dir = TarnwickDir(options);
    Transcript_SetPaths({WithoutTrailingSlashes(FolderOf(WorkingFolder())), tarnwick_dir});
    HostRecord_SetObserver(ShellWindow_Observe);
    ShellNote("config", "release " + options.release + "; module " + ModuleLabel(options.module) +
                            "; part " + (options.part_open ? "open" : "closed") + "; " +
                            std::to_string(options.buttons.size()) + " host buttons");
    ShellNote("config",
              "TARNWICK_DIR " + (tarnwick_dir.empty() ? std::string("not set") : tarnwick_dir));
    if (options.part_open)
        ShellSetPartOpen(true);

    std::vector<LoadedMenuFile> menu_files;
    for (const std::string& path : MenuFilePaths(options, plugin)) {
        std::string bytes;
        bool found = driving::ReadFileBytes(path, &bytes);
        LoadedMenuFile loaded{NameOf(path), ParseMenuFile(bytes)};
        ShellNote("menu", "file " + loaded.name + (found ? "" : " (not found)"));
        menu_files.push_back(loaded);
    }

    HWND main = HostWindow_Create("NX", ShellMenus_Command);
    if (!main) {
        WriteShellOutput(options.transcript, "tarnwick-host: the main window cannot be created\n");
        return 1;
    }
    ShellWindow_Attach(main, ShellMenus_Create(options.buttons, menu_files));
    ShellUpdateTitle();
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    ShellWindow_FocusMain();

    // A scripted run never waits on a message box, not even one shown at start-up.
    bool scripted = !options.script.empty();
    std::unique_ptr<driving::MessageBoxWatcher> boxes;
    if (scripted)
        boxes.reset(new driving::MessageBoxWatcher(NoteMessageBox));
    HMODULE module = LoadPlugin(plugin);
    ShellMenus_NoteBindings();

    int script_errors = 0;
    if (scripted)
        script_errors = RunScript(options.script, options.shots);
    else
        ShellMessageLoop();

    UnloadPlugin(module);
    boxes.reset();
    HostRecord_SetObserver(nullptr);
    HostWindow_Destroy();
    bool written = WriteShellOutput(options.transcript, Transcript_Record());
    if (!written || !module)
        return 1;
    return script_errors ? 3 : 0;
}
