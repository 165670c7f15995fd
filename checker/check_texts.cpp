#include "check_texts.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace {

struct Entry {
    TextId id;
    const char* english;
    const char* chinese;
};

// In TextId order.
const Entry Texts[] = {
    {TextId::Utf8Bom,
     "the table is saved as UTF-8 with a byte-order mark; the plug-in reads GBK: save it as "
     "GBK (ANSI) (the lines are checked as they read once converted)",
     "表格以带字节顺序标记的 UTF-8 保存；插件按 GBK 读取：请另存为 GBK（ANSI）"
     "（以下按转换后的内容检查）"},
    {TextId::Utf8,
     "the table is saved as UTF-8; the plug-in reads GBK, so its Chinese texts read wrong: save "
     "it as GBK (ANSI) (the lines are checked as they read once converted)",
     "表格以 UTF-8 保存；插件按 GBK 读取，中文会读错：请另存为 GBK（ANSI）"
     "（以下按转换后的内容检查）"},
    {TextId::Utf16,
     "the table is saved as UTF-16; the plug-in's tables are GBK: save it as GBK (ANSI)",
     "表格以 UTF-16 保存；插件的表格是 GBK：请另存为 GBK（ANSI）"},
    {TextId::NotGbk,
     "bytes that are not GBK: the profile service reads them wrongly and a write through it "
     "loses them",
     "含有不是 GBK 的字节：配置服务会读错，经它写入时会丢失"},
    {TextId::NulByte, "a NUL byte: the profile service cuts the line there",
     "含有 NUL 字节：配置服务在此处截断该行"},
    {TextId::NoEquals, "no \"=\": this line is no entry", "没有“=”：此行不是快捷键条目"},
    {TextId::BeforeSection, "before the first section header: no lookup reads it",
     "位于第一个节标题之前：查找读不到"},
    {TextId::RepeatedSection,
     "section [%s] repeats the header of line %d: the lines under this header are never read",
     "节 [%s] 与第 %d 行的节标题重复：此标题下的各行永远读不到"},
    {TextId::UnknownSection,
     "section [%s] is neither an application-module number, 全局, 二次开发 nor MODE: no lookup "
     "reads it",
     "节 [%s] 既不是应用模块号，也不是 全局、二次开发 或 MODE：查找读不到"},
    {TextId::HeaderNotEntry,
     "read as the section header [%s], not as an entry: a code cannot start with \"[\"",
     "被读作节标题 [%s]，而不是快捷键条目：快捷键不能以“[”开头"},
    {TextId::ModeValue,
     "MODE is \"%s\": only 1 switches shortcuts on at start-up, 0 keeps them off",
     "MODE 为“%s”：只有 1 在启动时开启快捷键，0 保持关闭"},
    {TextId::RepeatedKey, "code \"%s\" repeats line %d of this section: only line %d is read",
     "快捷键“%s”与本节第 %d 行重复：只读第 %d 行"},
    {TextId::KeyEmpty, "the code is empty", "快捷键为空"},
    {TextId::KeyTooLong, "code \"%s\" is longer than five characters: no typed code reaches it",
     "快捷键“%s”超过五个字符：输入的代码永远到不了"},
    {TextId::KeyNotTypable, "code \"%s\" holds characters that are no key name: it cannot be typed",
     "快捷键“%s”含有不是按键名的字符：无法输入"},
    {TextId::KeyBlanks, "blanks around the code: the profile service reads it as \"%s\"",
     "快捷键两侧有空白：配置服务把它读作“%s”"},
    {TextId::KeyBracket,
     "code \"%s\" starts with \"[\": with a \"]\" anywhere in the line it becomes a section "
     "header; the editor refuses such codes",
     "快捷键“%s”以“[”开头：此行只要含有“]”就成为节标题；设置窗口不接受这样的快捷键"},
    {TextId::CommentEntry,
     "starts with \";\": the editor takes the line for a comment and never lists it, yet typing "
     "\"%s\" runs it",
     "以“;”开头：设置窗口把此行当作注释，从不列出，但输入“%s”仍会运行它"},
    {TextId::FieldsMissing, "%d fields, five expected (code=button=description=scope=section)",
     "只有 %d 个字段，应为五个（快捷键=按钮=说明=范围=节）"},
    {TextId::FieldsExtra,
     "%d fields, five expected: an \"=\" inside a field shifts the editor's columns",
     "有 %d 个字段，应为五个：字段中的“=”会使设置窗口的各列错位"},
    {TextId::FieldEmpty, "field %d (%s) is empty", "第 %d 个字段（%s）为空"},
    {TextId::NoButton, "no button name: typing the code runs nothing",
     "没有按钮名：输入此快捷键不会运行任何命令"},
    {TextId::ScopeMismatch, "the scope fields say %s and [%s], but the line is in [%s]",
     "范围字段为 %s 和 [%s]，但此行在 [%s] 中"},
    {TextId::ValueTooLong,
     "the value is %d bytes, more than the %d the lookup reads: typing the code runs nothing",
     "值有 %d 字节，超过查找读取的 %d 字节：输入此快捷键不会运行任何命令"},
    {TextId::UnknownButton, "button %s is defined in none of the menu files",
     "菜单文件中没有定义按钮 %s"},
    {TextId::GlobalHidesCustom,
     "code \"%s\" is also in [全局] (line %d), which is read first: this line is never reached",
     "快捷键“%s”也在 [全局]（第 %d 行）中，它先被读到：此行永远用不到"},
    {TextId::ModuleOverrides,
     "code \"%s\" is also defined for application module %s (line %d): there that line runs, in "
     "every other module this one",
     "快捷键“%s”也为应用模块 %s 定义（第 %d 行）：在该模块中运行那一行，在其他模块中运行此行"},
    {TextId::ImmediateBlocked,
     "in immediate mode code \"%s\" can never be typed: \"%s\" (line %d) runs first",
     "立即模式下永远输入不了快捷键“%s”：“%s”（第 %d 行）会先运行"},
    {TextId::ImmediateBlockedInModule,
     "in immediate mode, in application module %s, code \"%s\" can never be typed: \"%s\" (line "
     "%d) runs first",
     "立即模式下，在应用模块 %s 中永远输入不了快捷键“%s”：“%s”（第 %d 行）会先运行"},
    {TextId::FieldCode, "code", "快捷键"},
    {TextId::FieldButton, "button", "按钮"},
    {TextId::FieldDescription, "description", "说明"},
    {TextId::FieldScope, "scope", "范围"},
    {TextId::FieldSection, "section", "节"},
    {TextId::SummaryClean, "%s: no problems found (%d entries)", "%s：没有发现问题（%d 个快捷键）"},
    {TextId::SummaryFindings, "%s: %d error(s), %d warning(s) (%d entries)",
     "%s：%d 个错误，%d 个警告（%d 个快捷键）"},
    {TextId::Unreadable, "%s: error: cannot read the table: %s", "%s: error: 无法读取快捷键表：%s"},
    {TextId::MenusUnreadable, "%s: error: cannot read the menu folder: %s",
     "%s: error: 无法读取菜单文件夹：%s"},
    {TextId::NoMenuFiles, "%s: error: no menu files (*.men) in this folder",
     "%s: error: 此文件夹中没有菜单文件（*.men）"},
    {TextId::ModuleHeading, "Application module %d, %s: %d codes", "应用模块 %d，%s：%d 个快捷键"},
    {TextId::ModeSpace, "Space mode", "空格键模式"},
    {TextId::ModeImmediate, "immediate mode", "立即模式"},
    {TextId::ModeUnknown, "mode unknown (no chick.ini beside the table)",
     "模式未知（表旁没有 chick.ini）"},
    {TextId::MacroNote, "custom button, by macro", "二次开发按钮，宏回放"},
    {TextId::ButtonsSummary, "%d buttons", "%d 个按钮"},
    {TextId::Usage,
     "usage: tarnwick-check [--menus DIR]... [--module N] [--site SITE] [--lang en] TABLE\n"
     "       tarnwick-check --list-buttons --menus DIR [--find TEXT]\n"
     "       tarnwick-check --seat [--lang en]\n"
     "       tarnwick-check --help\n",
     "用法：tarnwick-check [--menus 文件夹]... [--module 模块号] [--site 站点表] [--lang en] "
     "快捷键表\n"
     "      tarnwick-check --list-buttons --menus 文件夹 [--find 文字]\n"
     "      tarnwick-check --seat [--lang en]\n"
     "      tarnwick-check --help\n"},
    {TextId::Help,
     "Checks a Tarnwick shortcut table (button_id.ini) as the plug-in reads it.\n"
     "\n"
     "  TABLE               the table to check; chick.ini beside it gives the mode\n"
     "  --menus DIR         also check button names against the host's menu files\n"
     "                      (*.men) in DIR; may be given more than once\n"
     "  --module N          print every code that can be typed in application module N\n"
     "                      (40 modeling, 1 drafting, 16 manufacturing, 48 gateway ...)\n"
     "                      and what it runs\n"
     "  --site SITE         also check the site's table SITE like any table, and the\n"
     "                      pair: user's entries that override site codes or repeat\n"
     "                      them, site codes that a user's shorter code hides in\n"
     "                      immediate mode; with --module, the site's codes that run\n"
     "                      are listed too, marked (site)\n"
     "  --list-buttons      list the buttons of the menu files in the --menus folders:\n"
     "                      name, label, file and line\n"
     "  --find TEXT         with --list-buttons: only buttons whose name or label\n"
     "                      holds TEXT (letter case ignored)\n"
     "  --seat              check this seat as the plug-in will see it: code page,\n"
     "                      TARNWICK_DIR and the data files, the host's custom-directories\n"
     "                      file and UI library, the trace; one line per item (ok,\n"
     "                      warning, error); exit status 0 all ok, 1 otherwise\n"
     "  --lang en           English messages (Chinese is the default under code page 936)\n"
     "  --help              this text\n"
     "\n"
     "Each finding is one line, PATH:LINE: error: TEXT or PATH:LINE: warning: TEXT,\n"
     "followed by a summary. Exit status: 0 no findings, 1 findings, 2 the table or a\n"
     "menu folder cannot be read.\n"
     "\n"
     "Example:\n"
     "  tarnwick-check --menus \"%UGII_BASE_DIR%\\UGII\\menus\" --module 40 "
     "%TARNWICK_DIR%\\data\\button_id.ini\n"
     "  tarnwick-check --list-buttons --menus \"%UGII_BASE_DIR%\\UGII\\menus\" --find EXTRUDE\n",
     "按插件的读法检查 Tarnwick 快捷键表（button_id.ini）。\n"
     "\n"
     "  快捷键表            要检查的表；表旁的 chick.ini 决定输入模式\n"
     "  --menus 文件夹      同时按该文件夹中主机的菜单文件（*.men）检查按钮名；\n"
     "                      可以给出多次\n"
     "  --module 模块号     列出在该应用模块中能输入的每个快捷键及其运行的命令\n"
     "                      （40 建模，1 制图，16 加工，48 基本环境 ……）\n"
     "  --site 站点表       同时像其他表一样检查站点表，并把两张表合起来检查：覆盖或重复\n"
     "                      站点快捷键的用户条目，立即模式下被用户较短快捷键挡住的站点\n"
     "                      快捷键；与 --module 同用时也列出会运行的站点快捷键，标为（站点）\n"
     "  --list-buttons      列出 --menus 文件夹中菜单文件的按钮：名称、标签、文件和行号\n"
     "  --find 文字         与 --list-buttons 同用：只列出名称或标签含有该文字的按钮\n"
     "                      （不分大小写）\n"
     "  --seat              按插件的视角检查本工作站：代码页、TARNWICK_DIR 与数据文件、\n"
     "                      NX 的自定义目录文件与界面库、跟踪；每项一行（ok、warning、\n"
     "                      error）；全部正常时退出码为 0，否则为 1\n"
     "  --lang en           英文提示（代码页 936 下默认中文）\n"
     "  --help              本说明\n"
     "\n"
     "每个问题一行：路径:行号: error: 内容 或 路径:行号: warning: 内容，最后一行是汇总。\n"
     "退出码：0 没有问题，1 有问题，2 无法读取快捷键表或菜单文件夹。\n"
     "\n"
     "示例：\n"
     "  tarnwick-check --menus \"%UGII_BASE_DIR%\\UGII\\menus\" --module 40 "
     "%TARNWICK_DIR%\\data\\button_id.ini\n"
     "  tarnwick-check --list-buttons --menus \"%UGII_BASE_DIR%\\UGII\\menus\" --find EXTRUDE\n"},
};

} // namespace

Language DefaultLanguage() {
    return GetACP() == 936 ? Language::Chinese : Language::English;
}

const char* Text(Language language, TextId id) {
    const Entry& entry = Texts[static_cast<int>(id)];
    return language == Language::Chinese ? entry.chinese : entry.english;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int size = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (size > 0) {
        text.resize(static_cast<size_t>(size) + 1);
        vsnprintf(&text[0], text.size(), format, again);
        text.resize(static_cast<size_t>(size));
    }
    va_end(again);
    return text;
}

static_assert(sizeof Texts / sizeof Texts[0] == static_cast<size_t>(TextId::Help) + 1,
              "one entry per text, in TextId order");

// The system's reason, in English when the messages are (where the system has it).
std::string SystemMessage(unsigned long error, Language language) {
    char text[512] = {};
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD size = 0;
    if (language == Language::English)
        size = FormatMessageA(flags, nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                              text, sizeof text, nullptr);
    if (size == 0)
        size = FormatMessageA(flags, nullptr, error, 0, text, sizeof text, nullptr);
    std::string message(text, size);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? Format("error %lu", error) : message;
}
