#include "script_runner.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "dialog_controls.h"
#include "file_bytes.h"
#include "host_core.h"
#include "key_typing.h"
#include "list_view.h"
#include "screenshot.h"
#include "shell_host.h"
#include "shell_menus.h"
#include "shell_window.h"
#include "text_codes.h"

namespace {

// Long enough for the key messages to arrive and for what they start (a posted
// command, a dialog message) to run.
const DWORD KeySettleMs = 60;
const DWORD StepSettleMs = 30;

// Splits off the first word; a word in double quotes may hold spaces.
std::string NextWord(std::string* rest) {
    std::string text = Trim(*rest);
    std::string word;
    size_t end;
    if (!text.empty() && text[0] == '"') {
        end = text.find('"', 1);
        word = text.substr(1, end == std::string::npos ? std::string::npos : end - 1);
        end = end == std::string::npos ? text.size() : end + 1;
    } else {
        end = text.find_first_of(" \t");
        if (end == std::string::npos)
            end = text.size();
        word = text.substr(0, end);
    }
    *rest = Trim(text.substr(end));
    return word;
}

std::string Unquoted(const std::string& text) {
    std::string t = Trim(text);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
        return t.substr(1, t.size() - 2);
    return t;
}

bool IsAbsolute(const std::string& path) {
    return (path.size() > 1 && path[1] == ':') ||
           (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

class Runner {
  public:
    explicit Runner(const std::string& shots) : shots_(shots) {}

    int Run(const std::string& path) {
        std::string bytes;
        if (!driving::ReadFileBytes(path, &bytes)) {
            ShellNote("error", "cannot read script " + path);
            return 1;
        }
        if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
            bytes.erase(0, 3);
        std::string text = Utf8ToGbk(bytes);
        size_t start = 0;
        while (start < text.size() && !quit_) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            ++line_;
            std::string line = Trim(text.substr(start, end - start));
            if (!line.empty() && line[0] != '#')
                Command(line);
            start = end + 1;
        }
        return errors_;
    }

  private:
    void Error(const std::string& what) {
        ShellNote("error", "script line " + std::to_string(line_) + ": " + what);
        ++errors_;
    }

    void Settle(DWORD ms) {
        if (!ShellPump(ms))
            quit_ = true;
    }

    void Press(const std::string& spec) {
        ShellNote("type", spec);
        ShellWindow_FocusMain();
        if (!driving::PressNamedKey(spec))
            Error("no key " + spec);
        Settle(KeySettleMs);
    }

    void Command(const std::string& line) {
        std::string rest = line;
        std::string word = NextWord(&rest);
        if (word == "key") {
            if (rest.empty())
                Error("key without a key name");
            while (!rest.empty() && !quit_)
                Press(NextWord(&rest));
        } else if (word == "type") {
            std::string text = Unquoted(rest);
            for (char c : text) {
                std::string key = driving::KeyOfCharacter(c);
                if (key.empty()) {
                    Error(std::string("no key types ") + c);
                    break;
                }
                Press(key);
                if (quit_)
                    break;
            }
        } else if (word == "menu") {
            MenuChoice choice = ShellMenus_Choose(Unquoted(rest));
            if (choice == MenuNotFound)
                Error("no menu item " + Unquoted(rest));
            Settle(StepSettleMs);
        } else if (word == "action") {
            std::string name = Unquoted(rest);
            ShellNote("invoke", name);
            if (HostActions_Invoke(name.c_str()) == -1)
                ShellNote("invoke", name + " is not registered");
            Settle(StepSettleMs);
        } else if (word == "module") {
            int number = 0;
            if (!ParseInt(rest, &number))
                Error("module needs a number");
            else
                ShellSetModule(number);
        } else if (word == "part") {
            if (rest == "open")
                ShellSetPartOpen(true);
            else if (rest == "close" || rest == "closed")
                ShellSetPartOpen(false);
            else
                Error("part open or part close");
        } else if (word == "button") {
            size_t eq = rest.find('=');
            int id = 0;
            if (eq == std::string::npos || !ParseInt(Trim(rest.substr(eq + 1)), &id))
                Error("button NAME=ID");
            else
                HostConfig_AddButton(Trim(rest.substr(0, eq)).c_str(), id);
        } else if (word == "wait") {
            int ms = 0;
            if (!ParseInt(rest, &ms) || ms < 0)
                Error("wait needs milliseconds");
            else
                Settle(static_cast<DWORD>(ms));
        } else if (word == "screenshot") {
            Screenshot(rest);
        } else if (word == "note") {
            ShellNote("note", Unquoted(rest));
        } else if (word == "focus") {
            ShellWindow_FocusMain();
            Settle(StepSettleMs);
        } else if (word == "editor") {
            Editor(rest);
            Settle(StepSettleMs);
        } else if (word == "exit") {
            quit_ = true;
        } else {
            Error("unknown command " + word);
        }
    }

    void Screenshot(std::string rest) {
        std::string target = NextWord(&rest);
        std::string file = Unquoted(rest);
        if (target.empty() || file.empty()) {
            Error("screenshot main|\"caption\" FILE.png");
            return;
        }
        bool main = target == "main" || target == "window";
        HWND window = main ? HostWindow_Handle() : driving::FindWindowByCaption(target);
        std::string shown = main ? std::string("main window") : "\"" + target + "\"";
        if (!window) {
            ShellNote("shot", "no window " + shown + " (" + file + " not written)");
            return;
        }
        Settle(200); // let the window paint before it is copied
        std::string path = IsAbsolute(file) || shots_.empty() ? file : shots_ + "\\" + file;
        std::string error;
        if (SaveWindowScreenshot(window, path, &error))
            ShellNote("shot", shown + " -> " + file);
        else
            Error("screenshot " + file + ": " + error);
    }

    HWND EditorDialog() {
        return editor_caption_.empty() ? driving::TopDialog()
                                       : driving::FindWindowByCaption(editor_caption_);
    }

    void Editor(std::string rest) {
        std::string what = NextWord(&rest);
        if (what == "use") {
            editor_caption_ = Unquoted(rest);
            ShellNote("editor", "use \"" + editor_caption_ + "\"");
            return;
        }
        std::string step = what + (rest.empty() ? "" : " " + rest);
        HWND dialog = EditorDialog();
        if (!dialog) {
            // Not a script error: the dialog may simply not be there in this build.
            ShellNote("editor", "no dialog" +
                                    (editor_caption_.empty() ? std::string()
                                                             : " \"" + editor_caption_ + "\"") +
                                    ": " + step + " skipped");
            return;
        }
        int id = 0;
        bool ok = true;
        if (what == "set") {
            ok = ParseInt(NextWord(&rest), &id) &&
                 driving::DialogSetText(dialog, id, Unquoted(rest));
        } else if (what == "select") {
            ok = ParseInt(NextWord(&rest), &id) &&
                 driving::DialogSelectString(dialog, id, Unquoted(rest));
        } else if (what == "scope") {
            ok = driving::DialogSelectString(dialog, 0, Unquoted(rest));
        } else if (what == "click") {
            ok = ParseInt(rest, &id) && driving::DialogClick(dialog, id);
        } else if (what == "check") {
            ok = ParseInt(NextWord(&rest), &id) && (rest == "on" || rest == "off") &&
                 driving::DialogCheck(dialog, id, rest == "on");
        } else if (what == "row") {
            int row = 0;
            ok = ParseInt(NextWord(&rest), &id) && ParseInt(rest, &row) &&
                 driving::DialogClickRow(dialog, id, row);
        } else if (what == "text") {
            ok = ParseInt(rest, &id) && GetDlgItem(dialog, id);
            if (ok) {
                ShellNote("editor", "text " + rest + ": " + driving::DialogText(dialog, id));
                return;
            }
        } else if (what == "list") {
            HWND list = ParseInt(rest, &id) ? GetDlgItem(dialog, id) : nullptr;
            ok = list != nullptr;
            if (ok) {
                std::vector<std::vector<std::string>> rows = driving::ListRows(list);
                ShellNote("editor", "list " + rest + ": " + std::to_string(rows.size()) + " rows");
                for (const std::vector<std::string>& cells : rows) {
                    std::string row;
                    for (size_t column = 0; column < cells.size(); ++column)
                        row += (column ? " | " : "") + cells[column];
                    ShellNote("row", row);
                }
                return;
            }
        } else if (what == "close") {
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        } else {
            Error("unknown editor command " + what);
            return;
        }
        if (ok)
            ShellNote("editor", step);
        else
            Error("editor " + step + " failed");
    }

    std::string shots_;
    std::string editor_caption_;
    int line_ = 0;
    int errors_ = 0;
    bool quit_ = false;
};

} // namespace

int RunScript(const std::string& path, const std::string& shots_folder) {
    return Runner(shots_folder).Run(path);
}
