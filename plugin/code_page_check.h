// The table and the settings file are GBK text. The profile service converts what it
// reads and writes through the process's ANSI code page, so under any other code page
// (another system locale, or Windows' UTF-8 option, 65001) its defaults stop comparing
// and its first write rewrites the table with every Chinese character destroyed. The
// plug-in then touches neither file and says why.
#pragma once

// True when the process's ANSI code page is 936 (GBK).
bool ProcessCodePageIsGbk();

// Start-up: the reason, in English and Chinese, to the listing window and the system log.
void ReportForeignCodePage();
// A menu action: the same reason in the host's message box.
void ShowForeignCodePage();
