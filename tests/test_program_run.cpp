// Running a program from the driving library: its whole output, its exit status, and a
// return by the time allowed whatever the program leaves running.
#include <gtest/gtest.h>

#include <string>

#include "program_run.h"

TEST(ProgramRun, OutputAndStatusOfAProgramThatEnds) {
    driving::ProgramRun run =
        driving::RunProgram("cmd /c \"echo one& echo two& exit 3\"", std::string(), 30000);
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(driving::TextLines(driving::WithoutCarriageReturns(run.output)),
              (std::vector<std::string>{"one", "two"}));
}

// The program ends at once, but what it started holds the pipe's write end (inherited)
// for three seconds more: the run ends at its time with what was written, the
// program's status and the output marked unfinished.
TEST(ProgramRun, AProgramsLeftoverHoldingThePipeDoesNotHoldTheRun) {
    driving::ProgramRun run = driving::RunProgram(
        "cmd /c \"echo before& start /b ping -n 4 127.0.0.1\"", std::string(), 1000);
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.timed_out);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.compare(0, 6, "before"), 0) << run.output;
}

TEST(ProgramRun, AProgramThatDoesNotEndIsStopped) {
    driving::ProgramRun run = driving::RunProgram("ping -n 4 127.0.0.1", std::string(), 1000);
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.timed_out);
    EXPECT_EQ(run.status, -1);
}
