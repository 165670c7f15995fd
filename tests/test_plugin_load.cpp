// The host's life cycle of the plug-in: load, start-up, unload, load again.
#include <gtest/gtest.h>

#include "plugin_host.h"

using namespace tarnwick_test;

TEST(PluginLoad, StartsUnloadsAndLoadsAgain) {
    for (int round = 0; round < 2; ++round) {
        ResetHost();
        DataFolder folder("plugin_load");
        folder.WriteStandardFiles("[MODE]\r\nMODE=0\r\n");
        PluginHost host;
        ASSERT_TRUE(host.Load()) << "round " << round;
        EXPECT_EQ(host.StartUp(), 0) << DescribeRecord();
        EXPECT_EQ(HostActions_Count(), 3);
        EXPECT_EQ(host.AskUnload(), 3);
        host.Unload();
        EXPECT_FALSE(host.Loaded());
        EXPECT_EQ(GetModuleHandleA("Tarnwick.dll"), nullptr);
    }
}
