#include "table_probes.h"

bool TableFileExists(const char* path) {
    HANDLE table = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (table == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(table);
    return true;
}

TableOpenTest::TableOpenTest(const char* path)
    : file_(path[0] ? CreateFileA(path, GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr)
                    : INVALID_HANDLE_VALUE) {}

TableOpenTest::~TableOpenTest() {
    if (Opened())
        CloseHandle(file_);
}

TableOpenTest::TableOpenTest(TableOpenTest&& other) : file_(other.file_) {
    other.file_ = INVALID_HANDLE_VALUE;
}
