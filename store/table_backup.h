// The table's copy of each host session. The profile service rewrites the whole file on
// every write, and a file it cannot read back faithfully (NUL bytes, broken double-byte
// characters) loses content; button_id.ini.bak beside the table is the user's way back.
#pragma once

#include <string>

enum class BackupOutcome {
    NotDue,        // not the first write of this session: copied (or tried) already
    Copied,        // the table as it stood is now in button_id.ini.bak
    NothingToCopy, // no table yet: the first write makes it
    Failed,        // no copy made; the caller reports it, the write goes on
};

// What the user is told once when the copy could not be made.
extern const char BackupFailedMessage[];

std::string TableBackupPath(const char* table_path); // the table's path + ".bak"

// Copies the table to its backup before the first write of this load of the plug-in,
// replacing an older copy; every later call answers NotDue. A copy that fails is not
// tried again: after the first write it would no longer hold the table as it was.
BackupOutcome BackUpTableBeforeFirstWrite(const char* table_path);
// Copies the table now, whatever was copied before: for a rewrite of the whole file,
// whose way back is the file as it stands (a hand edit since the session's first
// write included).
BackupOutcome BackUpTableNow(const char* table_path);
