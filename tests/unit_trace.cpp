// The trace writer on its own (the plug-in's code linked into this program): a second
// writer of the same file, another host session tracing into it, loses no line to it.
#include <gtest/gtest.h>

#include <windows.h>

#include "file_bytes.h"
#include "plugin_host.h"
#include "trace.h"

using namespace tarnwick_test;

TEST(TraceWriter, EveryLineGoesToTheEndOfTheFileWhoeverElseAppendsToIt) {
    ResetHost();
    DataFolder folder("trace_writer");
    const std::string path = folder.PathOf("shared-trace.log");
    SetEnvironmentVariableA("TARNWICK_TRACE", path.c_str());
    StartTrace();
    SetEnvironmentVariableA("TARNWICK_TRACE", nullptr);
    ASSERT_TRUE(TraceOn) << DescribeRecord();
    EXPECT_EQ(std::string(TracePath()), path);
    Trace("first %d", 1);

    HANDLE other = CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const char line[] = "the other session's line\r\n";
    DWORD written = 0;
    WriteFile(other, line, sizeof line - 1, &written, nullptr);
    CloseHandle(other);

    Trace("second\nof two lines\n");
    StopTrace();
    EXPECT_FALSE(TraceOn);
    Trace("after the end");

    std::string bytes = driving::FileBytes(path);
    size_t first = bytes.find("first 1\r\n");
    size_t theirs = bytes.find(line);
    size_t second = bytes.find("second of two lines\r\n");
    EXPECT_NE(first, std::string::npos) << bytes;
    EXPECT_NE(theirs, std::string::npos) << bytes;
    EXPECT_NE(second, std::string::npos) << bytes;
    EXPECT_LT(first, theirs) << bytes;
    EXPECT_LT(theirs, second) << bytes;
    EXPECT_EQ(bytes.find("after the end"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.size(), second + strlen("second of two lines\r\n")) << bytes;
}
