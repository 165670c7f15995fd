// One writer at a time on a file of the plug-in's: every check-then-write and every
// write holds a lock that all processes share for that file's path. Two host sessions
// on one table would otherwise each rewrite the whole file from what they read, and the
// later rewrite would take away the earlier one's lines.
#pragma once

#include <windows.h>

#include <string>

// How long a writer waits for the lock: far longer than any write of the table takes,
// short enough for the host's window to stay in the user's hands.
enum { TableLockWaitMilliseconds = 5000 };

// The lock's name: a named mutex of the user's session, named after the full path as
// the file system compares it (folded case, long names, backslashes), so that every
// spelling of one path names one lock.
std::string TableLockName(const char* path);

// Waits for the lock at most TableLockWaitMilliseconds. Taken again by its holder's
// thread, it is granted at once, so a sequence may hold it around writes that take it
// themselves. An empty path (no file found at start-up) is held at once.
class TableLock {
  public:
    explicit TableLock(const char* path);
    ~TableLock();
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;
    bool Held() const { return held_; }

  private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};
