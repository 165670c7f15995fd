// Every write to button_id.ini and chick.ini, each a whole sequence under the file's
// lock: the file's encoding checked (nothing is written into a file that is not GBK
// text), the session's backup of the table, the write, and the file read back and
// compared whole with what the write meant. The profile service can report success and
// still not hold the line (a value too long for it, a file changed under it), so only
// the file's own bytes count.
#pragma once

#include <string>

struct TableWrite {
    bool written = false;        // the file now holds what was asked
    bool backup_failed = false;  // the copy due before this write could not be made
    bool not_gbk = false;        // refused: the file is UTF-8 or UTF-16, left byte for byte
    bool lock_timeout = false;   // refused: another writer held the file's lock too long
    bool others_changed = false; // the file's other lines are not what they were before
};

// The messages of a refused or spoilt write.
extern const char NotGbkNotice[];      // through the host, for switching: what to do
extern const char LockTimeoutNotice[]; // another host session kept the table
extern const char OthersChangedNotice[];

// What a write of the table outside the editor (switching shortcuts on or off, the
// start-up restore) tells the user through the host, or null: the lock and the changed
// lines each time, the encoding once a session, the failed backup once (it is tried
// once).
const char* TableWriteNotice(const TableWrite& write);

// key=value in the section: the line added at the end of the section (the section added
// at the end of the file), or the value of the key's line replaced. Written when the
// section's first header holds the key with exactly that value.
TableWrite WriteTableEntry(const char* table_path, const char* section, const char* key,
                           const char* value);
// Removes the key's line from the section. Written when no header of that section holds
// the key any more.
TableWrite RemoveTableEntry(const char* table_path, const char* section, const char* key);
// Replaces the whole file by these bytes (a re-encoded table), after a copy of the file
// as it stands, even when the session's copy was made already; refused, with
// others_changed, when the file no longer holds `expected` (it changed meanwhile).
TableWrite ReplaceTableBytes(const char* table_path, const std::string& expected,
                             const std::string& bytes);
// A value of chick.ini: the same checks and lock, without a backup.
TableWrite WriteSettingsEntry(const char* settings_path, const char* section, const char* key,
                              const char* value);
