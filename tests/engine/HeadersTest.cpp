#include "Headers.h"

#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

Lines ParseText(const std::string& text, CHeaders::TLineEnds lineEnds = CHeaders::TLineEnds::CrLf)
{
    CHeaders headers;
    headers.Parse(text.data(), text.size(), lineEnds);
    Lines lines;
    for (const auto& item : headers)
        lines.emplace_back(item.m_szKey, item.m_szValue);
    return lines;
}

} // namespace

TEST(Headers, ParsesLinesByTheFileRules)
{
    const struct { const char* name; std::string text; Lines expected; } cases[] = {
        {"blanks after colon only", "NAME:   abc  \r\n", {{"NAME", "abc  "}}},
        {"tab stays", "K:\tv\r\n", {{"K", "\tv"}}},
        {"later colons", "TIME:12:30\r\n", {{"TIME", "12:30"}}},
        {"empty key", ":v\r\n", {{"", "v"}}},
        {"no final CR LF", "A:1\r\nB:2", {{"A", "1"}}},
        {"lone LF", "A:1\nB:2\n", {}},
        {"lone CR inside line", "A:1\rB:2\r\n", {{"A", "1\rB:2"}}},
        {"comment only at start", " //x:1\r\n//y:2\r\n", {{" //x", "1"}}},
        {"empty and colonless", "\r\nnothing\r\nK:1\r\n", {{"K", "1"}}},
        {"zero byte ends text", std::string("A:1\r\nB:2\0\r\nC:3\r\n", 16), {{"A", "1"}}},
        {"duplicates kept", "S:1\r\nS:2\r\n", {{"S", "1"}, {"S", "2"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseText(c.text), c.expected) << c.name;
}

TEST(Headers, AnyLineEndAlsoTakesLoneLfCrAndALastLineWithoutOne)
{
    const struct { const char* name; std::string text; Lines expected; } cases[] = {
        {"lone LF", "A:1\nB:2\n", {{"A", "1"}, {"B", "2"}}},
        {"lone CR", "A:1\rB:2\r", {{"A", "1"}, {"B", "2"}}},
        {"mixed", "A:1\r\nB:2\nC:3\rD:4\r\n", {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}}},
        {"CR CR LF", "A:1\r\r\nB:2\r\n", {{"A", "1"}, {"B", "2"}}},
        {"no final line end", "A:1\r\nB:2", {{"A", "1"}, {"B", "2"}}},
        {"zero byte ends its line", std::string("A:1\nB:2\0x\nC:3\n", 14), {{"A", "1"}, {"B", "2"}, {"C", "3"}}},
        {"zero byte in a key", std::string("A:1\r\nB\0:2\r\nC:3", 14), {{"A", "1"}, {"C", "3"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseText(c.text, CHeaders::TLineEnds::Any), c.expected) << c.name;
}

TEST(Headers, TellsWhetherTheTextIsWrittenBackAsRead)
{
    using E = CHeaders::TLineEnds;
    const struct { const char* name; std::string text; E lineEnds; bool bAsRead; } cases[] = {
        {"as written", "A:1\r\nB:\r\n", E::CrLf, true},
        {"empty", "", E::Any, true},
        {"lone LF inside a value", "A:1\nB:2\r\n", E::CrLf, true},
        {"lone LF ends a line", "A:1\nB:2\r\n", E::Any, false},
        {"no final CR LF", "A:1\r\nB:2", E::CrLf, false},
        {"no final line end", "A:1\r\nB:2", E::Any, false},
        {"comment", "//x\r\nA:1\r\n", E::CrLf, false},
        {"empty line", "\r\nA:1\r\n", E::Any, false},
        {"no colon", "A\r\n", E::CrLf, false},
        {"blanks after the colon", "A: 1\r\n", E::CrLf, false},
        {"zero byte", std::string("A:1\r\n\0", 6), E::CrLf, false},
        {"zero byte in a line", std::string("A:1\0\r\n", 6), E::Any, false},
    };
    for (const auto& c : cases) {
        CHeaders headers;
        headers.Parse(c.text.data(), c.text.size(), c.lineEnds);
        EXPECT_EQ(headers.IsWrittenAsRead(), c.bAsRead) << c.name;
        if (c.bAsRead) {
            EXPECT_EQ(headers.ToText(), c.text) << c.name;
        }
    }
}

TEST(Headers, EmptyValueHasNoValueAndWritesBackBare)
{
    const std::string text = "KEY:\r\nK2:  \r\n";
    CHeaders headers;
    headers.Parse(text.data(), text.size());
    ASSERT_NE(headers.Find("KEY"), nullptr);
    EXPECT_FALSE(headers.Find("KEY")->m_bHasValue);
    EXPECT_EQ(headers.ToText(), "KEY:\r\nK2:\r\n");

    CHeaders set;
    set.SetValue("KEY", "");
    set.SetValue("K2", "");
    EXPECT_TRUE(set.Find("KEY")->m_bHasValue);
    EXPECT_FALSE(headers.IsEqual(set));
}

TEST(Headers, FindAndSetValueUseTheFirstOfDuplicates)
{
    const std::string text = "SAMPLES:512\r\nSAMPLES:256\r\n";
    CHeaders headers;
    headers.Parse(text.data(), text.size());
    EXPECT_EQ(headers.GetValue("SAMPLES"), "512");
    headers.SetValue("SAMPLES", "1024");
    headers.SetValue("NEW", "x");
    EXPECT_EQ(headers.ToText(), "SAMPLES:1024\r\nSAMPLES:256\r\nNEW:x\r\n");
    EXPECT_EQ(headers.GetValue("samples"), ""); // keys are case-sensitive
}

TEST(Headers, IsEqualComparesKeysValuesAndCounts)
{
    CHeaders a, b;
    EXPECT_FALSE(a.IsEqual(b)); // two empty lists are not equal
    a.SetValue("X", "1");
    a.SetValue("Y", "2");
    b.SetValue("Y", "2");
    b.SetValue("X", "1");
    EXPECT_TRUE(a.IsEqual(b)); // order does not matter
    b.SetValue("Y", "3");
    EXPECT_FALSE(a.IsEqual(b));
    b.SetValue("Y", "2");
    b.AddItem("Z", "");
    EXPECT_FALSE(a.IsEqual(b));
}

TEST(Headers, LoadSaveDropsCommentsAndKeepsOrder)
{
    CTempDir dir;
    WriteFileBytes(dir.File("a.rad"), "// made by hand\r\nB:2\r\n\r\nA:1\r\n");
    CHeaders headers;
    ASSERT_TRUE(headers.Load(dir.WFile("a.rad")));
    headers.SetValue("C", "3");
    ASSERT_TRUE(headers.Save(dir.WFile("a.rad"), false));
    EXPECT_EQ(ReadFileBytes(dir.File("a.rad")), "B:2\r\nA:1\r\nC:3\r\n");

    WriteFileBytes(dir.File("empty.rad"), "");
    EXPECT_TRUE(headers.Load(dir.WFile("empty.rad")));
    EXPECT_TRUE(headers.IsEmpty());
}

TEST(Headers, LoadOfMissingFileFailsAndLogsTheCause)
{
    CTempDir dir;
    ClearLog();
    CHeaders headers(dir.WFile("none.rad"));
    EXPECT_TRUE(headers.IsEmpty());
    EXPECT_FALSE(headers.Load(dir.WFile("none.rad")));
    EXPECT_NE(ReadLog().find("File error: The file could not be located.  File: " +
                             dir.File("none.rad")),
              std::string::npos);
}

TEST(Headers, SaveCreatesFoldersOnlyWhenAsked)
{
    CTempDir dir;
    CHeaders headers;
    headers.SetValue("K", "v");
    EXPECT_FALSE(headers.Save(dir.WFile("x/y/z.cfg"), false));
    EXPECT_FALSE(std::filesystem::exists(dir.File("x")));
    EXPECT_TRUE(headers.Save(dir.WFile("x/y/z.cfg"), true));
    EXPECT_EQ(ReadFileBytes(dir.File("x/y/z.cfg")), "K:v\r\n");
}

TEST(Headers, FailedSaveLeavesNoTraceAndTheOldFile)
{
    CTempDir dir;
    std::filesystem::create_directories(dir.File("target/inner"));
    CHeaders headers;
    headers.SetValue("K", "v");
    EXPECT_FALSE(headers.Save(dir.WFile("target"), true)); // a folder stands in the way
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("target/inner")));
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1u); // no temporary file left behind
}
