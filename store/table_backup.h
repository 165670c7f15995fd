// The table's copies beside it. The profile service rewrites the whole file on every
// write, and a file it cannot read back faithfully (NUL bytes, broken double-byte
// characters) loses content; the copies are the user's way back. A few generations are
// kept, newest first: button_id.ini.bak, then .bak.1 to .bak.4.
#pragma once

#include <string>

enum { BackupGenerations = 5 };

enum class BackupOutcome {
    NotDue,        // not the first write of this session: copied (or tried) already
    Copied,        // the table as it stood is now in button_id.ini.bak
    NothingToCopy, // no table yet: the first write makes it
    Failed,        // no copy made; the caller reports it, the write goes on
};

// What the user is told once when the copy could not be made.
extern const char BackupFailedMessage[];

// The table's path + ".bak" for generation 0, + ".bak.N" for generation N.
std::string TableBackupPath(const char* table_path, int generation = 0);

// A table that is GBK text with no broken double-byte character and no NUL byte: what
// a copy must hold to be a way back.
bool IsSoundTable(const std::string& bytes);

// Copies the table before the first write of this load of the plug-in; every later
// call answers NotDue. A copy that fails is not tried again: after the first write it
// would no longer hold the table as it was. The caller holds the table's lock.
BackupOutcome BackUpTableBeforeFirstWrite(const char* table_path);
// Copies the table now, whatever was copied before: for a rewrite of the whole file,
// whose way back is the file as it stands (a hand edit since the session's first
// write included).
//
// The copy becomes generation 0 and the older ones move down one; a copy equal to
// generation 0 adds none. A damaged or non-GBK table never pushes a sound copy out: it
// takes the place of the newest copy that is not sound, if there is one.
BackupOutcome BackUpTableNow(const char* table_path);
