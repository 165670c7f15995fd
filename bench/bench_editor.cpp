// Opening the shortcut editor on tables of several sizes, against the bare profile
// calls that read the same file (the section names, then each section), and against
// what the platform alone needs to make the same dialog and fill its list. All three
// are measured on a settled file, taken in turn run by run so that a passing load
// falls on each alike; no side's destruction of its dialog is timed.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench.h"
#include "editor_session.h"

#include <commctrl.h>

using namespace tarnwick_test;
using tarnwick_bench::Now;

namespace {

using tarnwick_bench::Spread;
using tarnwick_bench::SpreadOf;

double Seconds(const std::function<void()>& timed) {
    double start = Now();
    timed();
    return Now() - start;
}

struct Table {
    std::string bytes;
    std::vector<std::vector<std::string>> rows;
};

// Entries spread over a module section, the global and the custom section.
Table TableOf(int entries) {
    const char* sections[] = {"13", "全局", "二次开发"};
    const char* scopes[] = {"仅应用模块", "全局", "二次开发"};
    Table table;
    table.bytes = "[MODE]\r\nMODE=0\r\n";
    for (int s = 0; s < 3; ++s) {
        table.bytes += std::string("[") + sections[s] + "]\r\n";
        for (int i = s; i < entries; i += 3) {
            std::vector<std::string> row = {"K" + std::to_string(i), "BUTTON_" + std::to_string(i),
                                            "命令" + std::to_string(i), scopes[s], sections[s]};
            table.bytes +=
                row[0] + "=" + row[1] + "=" + row[2] + "=" + row[3] + "=" + row[4] + "\r\n";
            table.rows.push_back(row);
        }
    }
    return table;
}

void ReadWithProfileCalls(const std::string& path) {
    static std::vector<char> names(1 << 16), lines(1 << 22);
    GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (const char* name = names.data(); *name; name += strlen(name) + 1)
        GetPrivateProfileSectionA(name, lines.data(), static_cast<DWORD>(lines.size()),
                                  path.c_str());
}

void DestroyEditors() {
    for (HWND editor : EditorWindows())
        DestroyWindow(editor);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// The same template made and shown with a do-nothing procedure, and its list filled
// with the same texts, five list messages a row: the platform's share of an opening.
// Returns the dialog; the caller destroys it outside the timed part, as the editor
// is destroyed outside it.
HWND BareDialogAndList(const Table& table) {
    HWND dialog = CreateDialogParamA(GetModuleHandleA("Tarnwick.dll"), MAKEINTRESOURCEA(8000),
                                     nullptr, PlainDialogProc, 0);
    HWND list = GetDlgItem(dialog, ShortcutListId);
    for (int c = 0; c < 5; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = 50;
        column.pszText = const_cast<char*>("");
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (size_t r = 0; r < table.rows.size(); ++r) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = const_cast<char*>(table.rows[r][0].c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 5; ++c) {
            LVITEMA sub = {};
            sub.iSubItem = c;
            sub.pszText = const_cast<char*>(table.rows[r][c].c_str());
            SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ShowWindow(dialog, SW_SHOWNORMAL);
    return dialog;
}

} // namespace

TARNWICK_BENCH_SECTION(EditorOpening, "Editor: opening on a table of n entries") {
    printf("%7s | %17s | %17s | %17s | %11s | %11s\n", "entries", "editor ms (p95)",
           "profile ms (p95)", "platform ms (p95)", "ed/profile", "ed/platform");
    for (int entries : {100, 1000, 5000}) {
        Table table = TableOf(entries);
        EditorSession session("bench_editor", table.bytes);
        std::string path = session.Folder().PathOf("button_id.ini");
        double waited = tarnwick_bench::SettleFile(path, [&] { ReadWithProfileCalls(path); });
        std::vector<double> profile, editor, platform;
        for (int run = 0; run < tarnwick_bench::MinSamples; ++run) {
            profile.push_back(Seconds([&] { ReadWithProfileCalls(path); }));
            editor.push_back(Seconds([] { HostActions_Invoke("FENNOR_KEY_DEFINE"); }));
            DestroyEditors();
            HWND dialog = nullptr;
            platform.push_back(Seconds([&] { dialog = BareDialogAndList(table); }));
            DestroyWindow(dialog);
            HostRecord_Clear();
        }
        Spread e = SpreadOf(editor), p = SpreadOf(profile), f = SpreadOf(platform);
        printf("%7d | %7.2f (%7.2f) | %7.2f (%7.2f) | %7.2f (%7.2f) | %4.2f (%4.2f) | %4.2f (%4.2f)"
               "   settled after %.1f s\n",
               entries, e.median * 1e3, e.p95 * 1e3, p.median * 1e3, p.p95 * 1e3, f.median * 1e3,
               f.p95 * 1e3, e.median / p.median, e.p95 / p.p95, e.median / f.median, e.p95 / f.p95,
               waited);
        fflush(stdout);
    }
    printf("median (p95) of %d runs each, taken in turn\n"
           "editor: FENNOR_KEY_DEFINE until the dialog is shown with its list filled\n"
           "profile: the section names and every section read with the bare profile calls\n"
           "platform: the same template made and shown, its list filled, by a do-nothing "
           "dialog\n",
           tarnwick_bench::MinSamples);
}
