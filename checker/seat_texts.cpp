#include "seat_texts.h"

#include <stddef.h>

namespace {

struct Entry {
    SeatTextId id;
    const char* english;
    const char* chinese;
};

// In SeatTextId order.
const Entry Texts[] = {
    {SeatTextId::CodePageOk, "code page: ANSI code page 936 (GBK), as the plug-in needs",
     "代码页：ANSI 代码页 936（GBK），符合插件的要求"},
    {SeatTextId::CodePageWrong,
     "code page: the ANSI code page is %u, not 936 (GBK): the plug-in writes neither file, "
     "switches nothing on and does not open its editor. In Control Panel > Region > "
     "Administrative > Change system locale, clear \"Beta: Use Unicode UTF-8 for worldwide "
     "language support\" and choose Chinese (Simplified, China), then restart Windows",
     "代码页：ANSI 代码页为 %u，不是 936（GBK）：插件不写任何文件、不开启快捷键、也不打开设置窗口。"
     "请在“控制面板 > 区域 > 管理 > 更改系统区域设置”中取消“Beta 版: 使用 Unicode UTF-8 "
     "提供全球语言支持”，并选择“中文(简体，中国)”，然后重新启动 Windows"},
    {SeatTextId::InstallRootOk, "TARNWICK_DIR: %s", "TARNWICK_DIR：%s"},
    {SeatTextId::InstallRootMissing,
     "TARNWICK_DIR: not set: the plug-in shows a box at start-up and finds none of its files. Set "
     "it (System > Advanced system settings > Environment Variables) to the installation folder, "
     "the one holding data\\, then start the host again",
     "TARNWICK_DIR：没有设置：插件启动时会弹出提示，找不到任何数据文件。请在“系统 > "
     "高级系统设置 > 环境变量”中把它设为安装文件夹（含 data\\ 的文件夹），然后重新启动 NX"},
    {SeatTextId::DataFolderOk, "data folder: %s", "数据文件夹：%s"},
    {SeatTextId::DataFolderMissing,
     "data folder: %s does not exist: TARNWICK_DIR must name the installation folder, the one "
     "holding data\\; correct its spelling, or install again",
     "数据文件夹：%s 不存在：TARNWICK_DIR 必须是安装文件夹（含 data\\ 的文件夹）；请改正拼写，"
     "或重新安装"},
    {SeatTextId::PathTooLong,
     "%s: the path %s is %d bytes, more than the 255 the plug-in keeps: the plug-in does not find "
     "the file; install into a folder with a shorter path",
     "%s：路径 %s 长 %d 字节，超过插件能保存的 255 字节：插件找不到该文件；"
     "请安装到路径较短的文件夹"},
    {SeatTextId::FileOk, "%s: %s: present, readable and writable", "%s：%s：存在，可读，可写"},
    {SeatTextId::FileMissing,
     "%s: %s is missing: install again (the installer adds missing data files and keeps the "
     "others) or copy it from the package's data folder",
     "%s：缺少 %s：请重新安装（安装程序会补上缺少的数据文件，保留其他文件），"
     "或从安装包的 data 文件夹复制"},
    {SeatTextId::FileUnreadable,
     "%s: %s cannot be read (%s): close the program that holds it, or give this user read access",
     "%s：无法读取 %s（%s）：请关闭占用它的程序，或给当前用户读权限"},
    {SeatTextId::FileNotWritable,
     "%s: %s cannot be written (%s): the plug-in cannot save changes to it; clear its read-only "
     "attribute, close the program that holds it, or give this user write access",
     "%s：无法写入 %s（%s）：插件无法保存对它的修改；请取消它的只读属性、关闭占用它的程序，"
     "或给当前用户写权限"},
    {SeatTextId::EncodingGbk, "%s: encoding GBK (or plain ASCII), as the plug-in reads it",
     "%s：编码为 GBK（或纯 ASCII），与插件的读法一致"},
    {SeatTextId::EncodingUtf8,
     "%s: saved as UTF-8: the plug-in reads GBK and writes nothing into such a file; open the "
     "shortcut editor to convert it, or save it as GBK (ANSI) in a text editor",
     "%s：以 UTF-8 保存：插件按 GBK 读取，不会写入这样的文件；请打开“快捷键设置”窗口转换，"
     "或在文本编辑器中另存为 GBK（ANSI）"},
    {SeatTextId::EncodingUtf8Bom,
     "%s: saved as UTF-8 with a byte-order mark: the plug-in reads GBK and writes nothing into "
     "such a file; open the shortcut editor to convert it, or save it as GBK (ANSI) in a text "
     "editor",
     "%s：以带字节顺序标记的 UTF-8 保存：插件按 GBK 读取，不会写入这样的文件；请打开“快捷键设置”"
     "窗口转换，或在文本编辑器中另存为 GBK（ANSI）"},
    {SeatTextId::EncodingUtf16,
     "%s: saved as UTF-16: the plug-in reads GBK and writes nothing into such a file; save it as "
     "GBK (ANSI) in a text editor",
     "%s：以 UTF-16 保存：插件按 GBK 读取，不会写入这样的文件；请在文本编辑器中另存为 GBK（ANSI）"},
    {SeatTextId::TableClean, "button_id.ini: the table check finds no problems (%d entries)",
     "button_id.ini：表格检查没有发现问题（%d 个快捷键）"},
    {SeatTextId::TableFindings,
     "button_id.ini: the table check finds %d error(s) and %d warning(s) (%d entries): run "
     "tarnwick-check \"%s\" to see them",
     "button_id.ini：表格检查发现 %d 个错误、%d 个警告（%d 个快捷键）：运行 "
     "tarnwick-check \"%s\" 查看"},
    {SeatTextId::BackupOk, "button_id.ini.bak: present, written %s",
     "button_id.ini.bak：存在，写于 %s"},
    {SeatTextId::BackupNone,
     "button_id.ini.bak: none yet; the plug-in makes it before its first change of the table in "
     "each host session",
     "button_id.ini.bak：尚无备份；插件在每次 NX 会话中第一次修改表格之前生成它"},
    {SeatTextId::BackupNotWritable,
     "button_id.ini.bak: %s cannot be written (%s): the next backup of the table fails; clear its "
     "read-only attribute or give this user write access",
     "button_id.ini.bak：无法写入 %s（%s）：下次备份表格会失败；请取消它的只读属性，"
     "或给当前用户写权限"},
    {SeatTextId::HostRootOk, "UGII_BASE_DIR: %s", "UGII_BASE_DIR：%s"},
    {SeatTextId::HostRootMissing,
     "UGII_BASE_DIR: not set: the host's installer sets it; without it this check cannot find "
     "the host's UI library, nor its custom-directories file unless UGII_CUSTOM_DIRECTORY_FILE "
     "names it",
     "UGII_BASE_DIR：没有设置：NX 的安装程序会设置它；没有它，本检查找不到 NX 的界面库，"
     "除非设置了 UGII_CUSTOM_DIRECTORY_FILE，也找不到自定义目录文件"},
    {SeatTextId::HostRootNoFolder,
     "UGII_BASE_DIR: %s does not exist: set it to the host's installation folder",
     "UGII_BASE_DIR：%s 不存在：请把它设为 NX 的安装文件夹"},
    {SeatTextId::CustomDirsNoHost,
     "custom directories: neither UGII_CUSTOM_DIRECTORY_FILE nor UGII_BASE_DIR is set: the file "
     "that makes the host load the plug-in cannot be found; set UGII_BASE_DIR to the host's "
     "installation folder",
     "自定义目录文件：UGII_CUSTOM_DIRECTORY_FILE 和 UGII_BASE_DIR 均未设置：找不到让 NX "
     "加载插件的文件；请把 UGII_BASE_DIR 设为 NX 的安装文件夹"},
    {SeatTextId::CustomDirsUnreadable,
     "custom directories: %s cannot be read (%s): the host loads no plug-in listed there; run the "
     "installer again, or create the file with the installation folder as a line",
     "自定义目录文件：无法读取 %s（%s）：NX 不会加载其中列出的插件；请重新运行安装程序，"
     "或新建该文件，把安装文件夹写作其中一行"},
    {SeatTextId::CustomDirsOk,
     "custom directories: %s lists %s, which holds startup\\Tarnwick.dll and "
     "startup\\tarnwick.men",
     "自定义目录文件：%s 列出了 %s，其中有 startup\\Tarnwick.dll 和 startup\\tarnwick.men"},
    {SeatTextId::CustomDirsNoFolder,
     "custom directories: none of the %d folders that %s lists holds both startup\\Tarnwick.dll "
     "and startup\\tarnwick.men: the host does not load the plug-in; add the installation folder "
     "(%s) as a line of its own, or run the installer again",
     "自定义目录文件：%d 个文件夹（列于 %s）中没有一个同时含有 startup\\Tarnwick.dll 和 "
     "startup\\tarnwick.men：NX 不会加载插件；请把安装文件夹（%s）单独写作一行，"
     "或重新运行安装程序"},
    {SeatTextId::UiLibraryNotLooked,
     "UI library: not looked for, UGII_BASE_DIR is not set; the plug-in takes the libugui.dll the "
     "host has loaded",
     "界面库：未查找，因为 UGII_BASE_DIR 没有设置；插件使用 NX 已加载的 libugui.dll"},
    {SeatTextId::UiLibraryNone,
     "UI library: no libugui.dll in %s\\NXBIN or %s\\UGII: codes of custom buttons (played back as "
     "macros) cannot run; "
     "check that UGII_BASE_DIR names the host's installation folder",
     "界面库：%s\\NXBIN 和 %s\\UGII 中都没有 libugui.dll：二次开发快捷键无法运行；"
     "请检查 UGII_BASE_DIR 是否为 NX 的安装文件夹"},
    {SeatTextId::UiLibraryOk,
     "UI library: %s exports the playback function: codes of custom buttons (played back as "
     "macros) can run",
     "界面库：%s 导出了宏回放函数：二次开发快捷键可以运行"},
    {SeatTextId::UiLibraryNoExport,
     "UI library: %s does not export the playback function %s: codes of custom buttons "
     "(played back as macros) cannot run on this host release (codes of host buttons are not "
     "affected); where the host knows the button's name, give its entry the global scope",
     "界面库：%s 没有导出宏回放函数 %s：此 NX 版本上二次开发快捷键无法运行（NX "
     "按钮快捷键不受影响）；NX 认得该按钮名时，请把这些条目的范围改为“全局”"},
    {SeatTextId::UiLibraryUnreadable,
     "UI library: %s cannot be read as a 64-bit library%s: codes of custom buttons (played back as "
     "macros) may not run; "
     "repair the host's installation",
     "界面库：无法把 %s 读作 64 位库%s：二次开发快捷键可能无法运行；请修复 NX 的安装"},
    {SeatTextId::TraceOff, "trace: off (TARNWICK_TRACE is not set)",
     "跟踪：关闭（TARNWICK_TRACE 没有设置）"},
    {SeatTextId::TraceOn, "trace: on, to %s; remove TARNWICK_TRACE when support no longer needs it",
     "跟踪：开启，写入 %s；技术支持不再需要时请删除 TARNWICK_TRACE"},
    {SeatTextId::TraceNoFolder,
     "trace: TARNWICK_TRACE names %s, but its folder does not exist: no trace is kept; name a "
     "file in an existing folder, or 1 for the data folder",
     "跟踪：TARNWICK_TRACE 指向 %s，但其文件夹不存在：不会记录跟踪；请指定已有文件夹中的文件，"
     "或设为 1 写入 data 文件夹"},
    {SeatTextId::TraceNoInstallRoot,
     "trace: TARNWICK_TRACE is 1, but TARNWICK_DIR is not set, so there is no data folder for it: "
     "no trace is kept",
     "跟踪：TARNWICK_TRACE 为 1，但 TARNWICK_DIR 没有设置，没有存放跟踪的 data 文件夹："
     "不会记录跟踪"},
    {SeatTextId::TraceOwnFile,
     "trace: TARNWICK_TRACE names %s, a file of the plug-in's or the host's kind (.ini, .bak, "
     ".macro, .men, .dll, .exe), which the trace would spoil: the plug-in keeps no trace; name a "
     ".log file, or 1 for the data folder",
     "跟踪：TARNWICK_TRACE 指向 %s，这是插件或 NX 使用的文件类型（.ini、.bak、.macro、.men、"
     ".dll、.exe），写入跟踪会损坏它：插件不会记录跟踪；请指定 .log 文件，或设为 1 写入 data "
     "文件夹"},
    {SeatTextId::SiteTooLong,
     "site table: TARNWICK_SITE_TABLE is %d characters long, more than the plug-in's 259: "
     "the plug-in uses no site table; name a shorter path",
     "站点表：TARNWICK_SITE_TABLE 长 %d 个字符，超过插件允许的 259 个：插件不使用站点表；"
     "请改用较短的路径"},
    {SeatTextId::SiteOk, "site table: %s can be read, %d entries",
     "站点表：%s 可以读取，共 %d 个条目"},
    {SeatTextId::SiteUnreachable,
     "site table: %s cannot be read (%s): the plug-in uses its last copy; check the share "
     "and TARNWICK_SITE_TABLE",
     "站点表：无法读取 %s（%s）：插件使用上次的副本；请检查共享文件夹和 TARNWICK_SITE_TABLE"},
    {SeatTextId::SiteCopyNone,
     "site table's copy: %s does not exist yet; the plug-in makes it at its next start",
     "站点表副本：%s 尚不存在；插件下次启动时会创建它"},
    {SeatTextId::SiteCopyMissing,
     "site table's copy: %s does not exist and the site's table cannot be read: the site's "
     "codes do not run on this seat",
     "站点表副本：%s 不存在，站点表也无法读取：本工作站上站点的快捷键不能使用"},
    {SeatTextId::SiteCopyCurrent, "site table's copy: %s, made %s, the same as the site's table",
     "站点表副本：%s，复制于 %s，与站点表相同"},
    {SeatTextId::SiteCopyStale,
     "site table's copy: %s, made %s, older than the site's table: the plug-in refreshes it "
     "at its next start, switch-on or opening of the editor",
     "站点表副本：%s，复制于 %s，比站点表旧：插件在下次启动、开启快捷键或打开设置窗口时会更新它"},
    {SeatTextId::SiteCopyServes,
     "site table's copy: %s, made %s, serves while the site's table cannot be read",
     "站点表副本：%s，复制于 %s，在站点表无法读取期间使用它"},
    {SeatTextId::Summary, "seat: %d ok, %d warning(s), %d error(s)",
     "工作站：%d 项正常，%d 个警告，%d 个错误"},
};

static_assert(sizeof Texts / sizeof Texts[0] == static_cast<size_t>(SeatTextId::Summary) + 1,
              "one entry per text, in SeatTextId order");

} // namespace

const char* SeatText(Language language, SeatTextId id) {
    const Entry& entry = Texts[static_cast<int>(id)];
    return language == Language::Chinese ? entry.chinese : entry.english;
}
