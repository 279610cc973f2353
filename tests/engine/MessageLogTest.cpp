#include "MessageLog.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct MessageLogTest : testing::Test
{
    CTempDir dir;
    std::string path = dir.File("message.log");
    CMessageLog log{Wide(path)};

    void Start()
    {
        log.Reset();
        log.Enable();
        ASSERT_TRUE(log.Open());
    }
    std::string Text() { log.Flush(); return ReadFileBytes(path); }
};

} // namespace

TEST_F(MessageLogTest, NothingIsWrittenBeforeLoggingIsOn)
{
    log.Reset();
    EXPECT_FALSE(log.Open());
    log.Log(LOG_ERROR, "lost %d", 1);
    EXPECT_EQ(Text(), "");
}

TEST_F(MessageLogTest, LevelChoosesThePrefix)
{
    Start();
    const uint32_t levels[] = {1, 2, 4, 8, 16, 32, 64, 128, 3, 256};
    for (uint32_t level : levels)
        log.Log(level, "m");
    EXPECT_EQ(Text(), "Error: m\r\nProgram: m\r\nFile error: m\r\nDebug: m\r\nThread: m\r\n"
                      "Thread: m\r\nInfo: m\r\nLog: m\r\n m\r\n m\r\n");
}

TEST_F(MessageLogTest, LongMessagesAreCutTo299Characters)
{
    Start();
    const std::string message(400, 'x');
    log.Log(LOG_ERROR, "%s", message.c_str());
    const std::string line = Text();
    ASSERT_EQ(line.size(), 299u + 2);
    EXPECT_EQ(line.substr(0, 7), "Error: ");
    EXPECT_EQ(line.substr(299), "\r\n");
}

TEST_F(MessageLogTest, LogStringWritesTextUnexpanded)
{
    Start();
    log.LogString(LOG_INFO, L"100%s %d done\nsecond");
    EXPECT_EQ(Text(), "Info: 100%s %d done\nsecond\r\n");
}

TEST_F(MessageLogTest, FileErrorLineNamesCauseAndFile)
{
    Start();
    log.LogFileError(L"/x/a.rad", 2);
    log.LogFileError(L"b", 99);
    log.LogFileError(L"c", 14);
    EXPECT_EQ(Text(), "File error: The file could not be located.  File: /x/a.rad\r\n"
                      "File error: Unknown error.  File: b\r\n"
                      "File error: The end of file was reached.   File: c\r\n");
}

TEST_F(MessageLogTest, OpenCreatesMissingFileAndResetEmptiesIt)
{
    log.Enable();
    ASSERT_TRUE(log.Open());
    log.Log(LOG_INFO, "one");
    EXPECT_EQ(Text(), "Info: one\r\n");
    log.Reset();
    EXPECT_EQ(Text(), "");
    log.Log(LOG_INFO, "two"); // reopens for the one line
    EXPECT_EQ(Text(), "Info: two\r\n");
}

TEST_F(MessageLogTest, MissingFolderDropsEverythingQuietly)
{
    CMessageLog orphan(Wide(dir.File("no/such/folder/message.log")));
    orphan.Reset();
    orphan.Enable();
    EXPECT_FALSE(orphan.Open());
    orphan.Log(LOG_ERROR, "dropped");
    orphan.LogFileError(L"x", 2);
    orphan.Flush();
}
