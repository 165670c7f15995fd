// The seat check's texts in the checker's two languages: one per item and outcome,
// each saying what to do when the item is not as the plug-in needs it. Both forms of a
// text take the same arguments in the same order.
#pragma once

#include "check_texts.h"

enum class SeatTextId {
    CodePageOk,
    CodePageWrong,
    InstallRootOk,
    InstallRootMissing,
    DataFolderOk,
    DataFolderMissing,
    PathTooLong,
    FileOk,
    FileMissing,
    FileUnreadable,
    FileNotWritable,
    EncodingGbk,
    EncodingUtf8,
    EncodingUtf8Bom,
    EncodingUtf16,
    TableClean,
    TableFindings,
    BackupOk,
    BackupNone,
    BackupNotWritable,
    HostRootOk,
    HostRootMissing,
    HostRootNoFolder,
    CustomDirsNoHost,
    CustomDirsUnreadable,
    CustomDirsOk,
    CustomDirsNoFolder,
    UiLibraryNotLooked,
    UiLibraryNone,
    UiLibraryOk,
    UiLibraryNoExport,
    UiLibraryUnreadable,
    TraceOff,
    TraceOn,
    TraceNoFolder,
    TraceNoInstallRoot,
    TraceOwnFile,
    Summary,
};

const char* SeatText(Language language, SeatTextId id);
