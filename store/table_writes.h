// Every write to button_id.ini: preceded by the session's backup, checked by the
// platform's result and by reading the file back. The profile service can report
// success and still not hold the line (a value too long for it, a file changed under
// it), so only the file's own bytes count.
#pragma once

#include <string>

struct TableWrite {
    bool written = false;       // the file now holds what was asked
    bool backup_failed = false; // the copy due before this write could not be made
};

// key=value in the section: the line added at the end of the section (the section added
// at the end of the file), or the value of the key's line replaced. Written when the
// section's first header holds the key with exactly that value.
TableWrite WriteTableEntry(const char* table_path, const char* section, const char* key,
                           const char* value);
// Removes the key's line from the section. Written when no header of that section holds
// the key any more.
TableWrite RemoveTableEntry(const char* table_path, const char* section, const char* key);
// Replaces the whole file by these bytes (a re-encoded table), after a copy of the file
// as it stands, even when the session's copy was made already.
TableWrite ReplaceTableBytes(const char* table_path, const std::string& bytes);
