// Test entry point of the engine and tool tests: a per-user folder of their own.

#include "TestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RunTestsInTempAppData([] { return RUN_ALL_TESTS(); });
}
