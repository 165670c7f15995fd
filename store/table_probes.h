// The questions asked of the table file itself, before the profile service reads it or
// a change is written: does it open, and may it be written.
#pragma once

#include <windows.h>

// The lookup's existence test: the profile service reads the file by path. Shared for
// reading and writing, so that nobody else's open of the table is refused meanwhile.
// False leaves the system's error for GetLastError.
bool TableFileExists(const char* path);

// The test opening that add, delete and modify make before they change the table: read
// and write, no create, no truncate, and other openers (the profile service) keep read
// and write access. Nothing goes through the handle; it is held until the test ends, so
// nothing can take the file away meanwhile. An empty path (no table found at start-up)
// never opens.
class TableOpenTest {
  public:
    explicit TableOpenTest(const char* path);
    ~TableOpenTest();
    TableOpenTest(TableOpenTest&& other);
    TableOpenTest(const TableOpenTest&) = delete;
    TableOpenTest& operator=(const TableOpenTest&) = delete;
    bool Opened() const { return file_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE file_;
};
