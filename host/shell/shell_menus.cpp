#include "shell_menus.h"

#include <cstdlib>
#include <cstring>

#include "host_core.h"

namespace {

const char* const MenuBarName = "UG_GATEWAY_MAIN_MENUBAR";
// Ids of the shell's own items; host buttons keep their own ids, which lie below.
const int FirstShellId = 60000;
const int MaxMenuDepth = 8;

// Commands of the shell's own items, kept in MenuItem::action behind a "@", which no
// action name of a menu script carries.
const char* const ExitCommand = "@exit";
const char* const PartOpenCommand = "@part open";
const char* const PartCloseCommand = "@part close";
const char* const ModuleCommand = "@module ";
const char* const ButtonCommand = "@button ";
const char* const AboutCommand = "@about";

struct BuiltItem {
    int id;
    std::string label;
    std::string name;
    std::string action;
};

std::vector<MenuDefinition> Menus;
std::vector<BuiltItem> Built;

bool IsShellCommand(const std::string& action) {
    return !action.empty() && action[0] == '@';
}

MenuItem Item(MenuItem::Kind kind, const std::string& name, const std::string& label,
              const std::string& action = std::string()) {
    MenuItem item;
    item.kind = kind;
    item.name = name;
    item.label = label;
    item.action = action;
    return item;
}

MenuDefinition* FindMenu(const std::string& name) {
    for (MenuDefinition& m : Menus)
        if (m.name == name)
            return &m;
    return nullptr;
}

void DefineMenu(const MenuDefinition& menu) {
    if (MenuDefinition* existing = FindMenu(menu.name))
        *existing = menu;
    else
        Menus.push_back(menu);
}

void DefineShellMenus(const std::vector<HostButtonSetting>& buttons) {
    Menus.clear();
    MenuDefinition bar{MenuBarName, {}};
    bar.items.push_back(Item(MenuItem::Cascade, "UG_FILE", "文件(&F)"));
    bar.items.push_back(Item(MenuItem::Cascade, "UG_INSERT", "插入(&S)"));
    bar.items.push_back(Item(MenuItem::Cascade, "UG_APPLICATION", "应用模块(&N)"));
    bar.items.push_back(Item(MenuItem::Cascade, "UG_HELP", "帮助(&H)"));
    Menus.push_back(bar);

    MenuDefinition file{"UG_FILE", {}};
    file.items.push_back(Item(MenuItem::Button, "UG_FILE_OPEN", "打开部件", PartOpenCommand));
    file.items.push_back(Item(MenuItem::Button, "UG_FILE_CLOSE", "关闭部件", PartCloseCommand));
    file.items.push_back(Item(MenuItem::Separator, "", ""));
    file.items.push_back(Item(MenuItem::Button, "UG_FILE_EXIT", "退出(&X)", ExitCommand));
    Menus.push_back(file);

    MenuDefinition insert{"UG_INSERT", {}};
    for (const HostButtonSetting& b : buttons)
        insert.items.push_back(
            Item(MenuItem::Button, b.name, b.name, ButtonCommand + std::to_string(b.id)));
    Menus.push_back(insert);

    MenuDefinition modules{"UG_APPLICATION", {}};
    for (const ApplicationModule& m : ApplicationModules())
        modules.items.push_back(Item(MenuItem::Button, "UG_APP_" + std::to_string(m.number),
                                     ModuleLabel(m.number),
                                     ModuleCommand + std::to_string(m.number)));
    Menus.push_back(modules);

    MenuDefinition help{"UG_HELP", {}};
    help.items.push_back(Item(MenuItem::Button, "UG_HELP_ABOUT", "关于(&A)", AboutCommand));
    Menus.push_back(help);
}

void ApplyEdit(const MenuEdit& edit, const std::string& file) {
    MenuDefinition* target = FindMenu(edit.target);
    if (!target) {
        ShellNote("menu", file + ": no menu " + edit.target + " to edit");
        return;
    }
    std::vector<MenuItem>& items = target->items;
    size_t at = items.size();
    if (edit.place == MenuEdit::Top) {
        at = 0;
    } else if (edit.place == MenuEdit::After || edit.place == MenuEdit::Before) {
        size_t found = items.size();
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].name == edit.anchor)
                found = i;
        if (found == items.size())
            ShellNote("menu", file + ": no item " + edit.anchor + " in " + edit.target +
                                  ", items added at the end");
        else
            at = edit.place == MenuEdit::After ? found + 1 : found;
    }
    items.insert(items.begin() + static_cast<long>(at), edit.items.begin(), edit.items.end());
}

std::string VisibleLabel(const MenuItem& item) {
    return item.label.empty() ? item.name : item.label;
}

std::string WithoutAccelerator(const std::string& label) {
    std::string out;
    for (char c : label)
        if (c != '&')
            out += c;
    return out;
}

HMENU BuildMenu(const MenuDefinition& menu, bool bar, int depth, int* next_id) {
    HMENU handle = bar ? CreateMenu() : CreatePopupMenu();
    for (const MenuItem& item : menu.items) {
        std::string label = VisibleLabel(item);
        if (item.kind == MenuItem::Separator) {
            AppendMenuA(handle, MF_SEPARATOR, 0, nullptr);
        } else if (item.kind == MenuItem::Cascade) {
            const MenuDefinition* sub = FindMenu(item.name);
            if (sub && depth < MaxMenuDepth)
                AppendMenuA(handle, MF_POPUP,
                            reinterpret_cast<UINT_PTR>(BuildMenu(*sub, false, depth + 1, next_id)),
                            label.c_str());
            else
                AppendMenuA(handle, MF_STRING | MF_GRAYED, 0, label.c_str());
        } else {
            int id = (*next_id)++;
            if (item.action.rfind(ButtonCommand, 0) == 0)
                id = atoi(item.action.c_str() + strlen(ButtonCommand)); // host buttons keep theirs
            Built.push_back({id, WithoutAccelerator(label), item.name, item.action});
            AppendMenuA(handle, MF_STRING, static_cast<UINT_PTR>(id), label.c_str());
        }
    }
    return handle;
}

bool ActionRegistered(const std::string& name) {
    for (int i = 0; i < HostActions_Count(); ++i)
        if (name == HostActions_Name(i))
            return true;
    return false;
}

bool Enabled(const BuiltItem& item) {
    if (item.action == PartOpenCommand)
        return !ShellPartOpen();
    if (item.action == PartCloseCommand)
        return ShellPartOpen();
    if (IsShellCommand(item.action))
        return true;
    return !item.action.empty() && ActionRegistered(item.action);
}

const BuiltItem* FindBuilt(int id) {
    for (const BuiltItem& b : Built)
        if (b.id == id)
            return &b;
    return nullptr;
}

} // namespace

HMENU ShellMenus_Create(const std::vector<HostButtonSetting>& buttons,
                        const std::vector<LoadedMenuFile>& files) {
    DefineShellMenus(buttons);
    for (const LoadedMenuFile& f : files) {
        for (const std::string& problem : f.file.problems)
            ShellNote("menu", f.name + " " + problem);
        for (const MenuEdit& edit : f.file.edits)
            ApplyEdit(edit, f.name);
        for (const MenuDefinition& menu : f.file.menus)
            DefineMenu(menu);
    }
    Built.clear();
    int next_id = FirstShellId;
    return BuildMenu(*FindMenu(MenuBarName), true, 0, &next_id);
}

void ShellMenus_Update(HMENU menu) {
    for (const BuiltItem& item : Built) {
        EnableMenuItem(menu, static_cast<UINT>(item.id),
                       MF_BYCOMMAND | (Enabled(item) ? MF_ENABLED : MF_GRAYED));
        if (item.action.rfind(ModuleCommand, 0) == 0) {
            bool current = atoi(item.action.c_str() + strlen(ModuleCommand)) == HostConfig_Module();
            CheckMenuItem(menu, static_cast<UINT>(item.id),
                          MF_BYCOMMAND | (current ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

void ShellMenus_Command(int id) {
    const BuiltItem* item = FindBuilt(id);
    if (!item) {
        HostRecord_Add(HOST_EV_COMMAND, id, "", 0);
        return;
    }
    // Copied: an action may rebuild nothing, but the plug-in runs arbitrary code here.
    BuiltItem chosen = *item;
    if (chosen.action == ExitCommand) {
        ShellNote("menu", chosen.label);
        PostMessageA(HostWindow_Handle(), WM_CLOSE, 0, 0);
    } else if (chosen.action == PartOpenCommand || chosen.action == PartCloseCommand) {
        ShellSetPartOpen(chosen.action == PartOpenCommand);
    } else if (chosen.action.rfind(ModuleCommand, 0) == 0) {
        ShellSetModule(atoi(chosen.action.c_str() + strlen(ModuleCommand)));
    } else if (chosen.action == AboutCommand) {
        MessageBoxA(HostWindow_Handle(),
                    "Tarnwick 的替身主机：加载插件，按名称绑定菜单动作，记录主机调用。", "关于",
                    MB_OK | MB_ICONINFORMATION);
    } else if (chosen.action.empty()) {
        ShellNote("menu", chosen.label + ": no action");
    } else if (!ActionRegistered(chosen.action)) {
        ShellNote("menu", chosen.label + ": action " + chosen.action + " is not registered");
    } else {
        ShellNote("menu", chosen.label + " -> " + chosen.action);
        HostActions_Invoke(chosen.action.c_str());
    }
}

void ShellMenus_NoteBindings() {
    for (const BuiltItem& item : Built) {
        if (IsShellCommand(item.action))
            continue;
        ShellNote("menu", item.label + " (" + item.name + ") -> " +
                              (item.action.empty() ? std::string("no action") : item.action) +
                              (Enabled(item) ? "" : " [not registered: greyed]"));
    }
}

MenuChoice ShellMenus_Choose(const std::string& label) {
    std::string wanted = WithoutAccelerator(label);
    for (const BuiltItem& item : Built) {
        if (item.label != wanted)
            continue;
        if (!Enabled(item)) {
            ShellNote("menu", item.label + " is greyed");
            return MenuGreyed;
        }
        PostMessageA(HostWindow_Handle(), WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
        return MenuChosen;
    }
    return MenuNotFound;
}
