#include "expect_refused.h"

#include <algorithm>
#include <gtest/gtest.h>

void expectRefused(const RunResult& result, int exitStatus)
{
    EXPECT_EQ(result.exitStatus, exitStatus);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("lanacfg: ")) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_TRUE(result.err.ends_with("\n")) << result.err;
}
