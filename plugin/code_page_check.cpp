#include "code_page_check.h"

#include <windows.h>

#include <cstdio>

#include "host_message.h"
#include "host_report.h"
#include "table_encoding.h"
#include "uf_host.h"

namespace {

enum { HostBox = 1, WideTextSize = 1024, TextSize = 3 * WideTextSize };

// The %u is the process's code page.
const char ForeignCodePageEnglish[] =
    "Tarnwick: NX runs under the ANSI code page %u, not 936 (GBK). The shortcut table "
    "button_id.ini and chick.ini are GBK text, which Windows would destroy under this code "
    "page: Tarnwick writes neither file, leaves shortcuts off and does not open its editor. "
    "The way back: in Windows' region settings (Administrative, Change system locale) turn "
    "off \"Beta: Use Unicode UTF-8 for worldwide language support\", or set the system locale "
    "to Chinese (Simplified, China); then restart Windows and NX.\n";
const char ForeignCodePageChinese[] =
    "Tarnwick：NX 进程的 ANSI 代码页是 %u，不是 936（GBK）。"
    "快捷键表 button_id.ini 和 chick.ini 是 GBK 文本，在此代码页下会被 Windows 损坏："
    "Tarnwick 不写这两个文件，不开启快捷键，也不打开快捷键设置。"
    "恢复方法：在 Windows 的区域设置中（管理，更改系统区域设置）"
    "取消勾选“Beta 版: 使用 Unicode UTF-8 提供全球语言支持”，"
    "或把系统区域设置改为“中文(简体，中国)”，然后重新启动 Windows 和 NX。\n";

void EnglishText(char* text, size_t size) {
    snprintf(text, size, ForeignCodePageEnglish, GetACP());
}

// The host reads every narrow text in the process's code page: the GBK text is
// converted to it, so that it reads right under 65001 (and as far as that code page
// has the characters under any other).
void ChineseText(char* text, int size) {
    char gbk[TextSize] = {};
    snprintf(gbk, sizeof gbk, ForeignCodePageChinese, GetACP());
    wchar_t wide[WideTextSize] = {};
    text[0] = '\0';
    if (MultiByteToWideChar(GbkCodePage, 0, gbk, -1, wide, WideTextSize) <= 0)
        return;
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, text, size, nullptr, nullptr) <= 0)
        text[0] = '\0';
}

} // namespace

bool ProcessCodePageIsGbk() {
    return GetACP() == GbkCodePage;
}

void ReportForeignCodePage() {
    char english[TextSize] = {};
    char chinese[TextSize] = {};
    EnglishText(english, sizeof english);
    ChineseText(chinese, sizeof chinese);
    ListingPrintf("%s", english);
    ListingPrintf("%s", chinese);
}

void ShowForeignCodePage() {
    char english[TextSize] = {};
    char chinese[TextSize] = {};
    EnglishText(english, sizeof english);
    ChineseText(chinese, sizeof chinese);
    char message[2 * TextSize] = {};
    int length = snprintf(message, sizeof message, "%s%s", english, chinese);
    // A box needs no line end after its last line.
    if (length > 0 && length < static_cast<int>(sizeof message) && message[length - 1] == '\n')
        message[length - 1] = '\0';
    HostMessage(message, HostBox);
}
