#include "Values.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

TEST(Values, ReadIntFollowsDecimalConversionAndSaturates)
{
    const struct { const char* text; int expected; } cases[] = {
        {"42", 42},          {"  -17xyz", -17}, {"+8", 8},
        {"", 0},             {"abc", 0},        {"\t 12 34", 12},
        {"4294967297", 2147483647},            {"-99999999999", -2147483647 - 1},
        {"2147483647", 2147483647},            {"-2147483648", -2147483647 - 1},
        {"12.9", 12},        {"- 5", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadInt(c.text), c.expected) << c.text;
}

TEST(Values, WholeNumberOnlyWhenItStandsAlone)
{
    const struct { const char* text; bool bWhole; int expected; } cases[] = {
        {"51", true, 51},           {" 51  ", true, 51},         {"\t7\r", true, 7},
        {"-4", true, -4},           {"+8", true, 8},             {"007", true, 7},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"1e308", false, 0},        {"1e-300", false, 0},        {"5E1", false, 0},
        {" 7 junk", false, 0},      {"7x", false, 0},            {"12.0", false, 0},
        {"0.5", false, 0},          {"", false, 0},              {"   ", false, 0},
        {"+-7", false, 0},          {"- 7", false, 0},           {"--7", false, 0},
        {"+", false, 0},            {"7-", false, 0},            {"0x10", false, 0},
        {"2147483648", false, 0},   {"-2147483649", false, 0},   {"99999999999999999999", false, 0},
        {"5 1", false, 0},
    };
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_EQ(ReadWholeNumber(c.text, value), c.bWhole) << '"' << c.text << '"';
        EXPECT_EQ(value, c.bWhole ? c.expected : 12345) << '"' << c.text << '"';
    }
}

TEST(Values, ReadRealStopsAtFirstForeignCharacter)
{
    const struct { const char* text; double expected; } cases[] = {
        {"12.5", 12.5}, {"  -0.25m", -0.25}, {"1e3", 1000.0}, {"", 0.0},
        {"x1", 0.0},    {"7,5", 7.0},        {"+.5", 0.5},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ReadReal(c.text), c.expected) << c.text;
}

// Plain decimals and everything near them read as C's conversion reads them, bit for bit.
TEST(Values, ReadRealMatchesStrtodBitForBit)
{
    const std::string longDigits = "0." + std::string(30, '3') + "7", huge = "1" + std::string(400, '0'),
                      tiny = "0." + std::string(400, '0') + "1";
    const std::string cases[] = {"0",     "-0",     "12.5",  "123.45", "-7.10", "0.1",   "3.00",  "16777217.25",
                                 "1.",    ".5",     "-",     "-.5",    "1.2.3", "12.5 ", " 12.5", "0x10",
                                 "1e-3",  "12;3",   "+1.5",  "inf",    "00012.50", longDigits, huge, "-" + huge,
                                 tiny,    "4.9406564584124654e-324"};
    for (const std::string& text : cases) {
        const double expected = std::strtod(text.c_str(), nullptr), read = ReadReal(text);
        EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << '"' << text << "\" " << read << " " << expected;
    }
}

TEST(Values, FlagsByFirstCharacterAndByValue)
{
    EXPECT_TRUE(ReadFlagChar("1"));
    EXPECT_TRUE(ReadFlagChar("10"));
    EXPECT_FALSE(ReadFlagChar(" 1"));
    EXPECT_FALSE(ReadFlagChar(""));
    EXPECT_TRUE(ReadFlagValue(" 1"));
    EXPECT_FALSE(ReadFlagValue("10"));
    EXPECT_FALSE(ReadFlagValue("0"));
}

TEST(Values, FormatsLikePrintf)
{
    EXPECT_EQ(FormatInt(-12), "-12");
    EXPECT_EQ(FormatHex(0xff00u), "ff00");
    EXPECT_EQ(FormatReal(80.0, 0), "80");
    EXPECT_EQ(FormatReal(0.04, 5), "0.04000");
    EXPECT_EQ(FormatReal(2.345, 2), "2.35");
    EXPECT_EQ(FormatReal(-1.5, 6), "-1.500000");
    EXPECT_EQ(FormatReal(1e300, 1).size(), 303u);
}

TEST(Values, NumbersIgnoreACommaDecimalLocale)
{
    const char* locales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"};
    const char* chosen = nullptr;
    for (const char* name : locales)
        if (std::setlocale(LC_NUMERIC, name)) {
            chosen = name;
            break;
        }
    if (!chosen)
        GTEST_SKIP() << "no comma-decimal locale installed";
    EXPECT_DOUBLE_EQ(ReadReal("12.5"), 12.5);
    EXPECT_EQ(FormatReal(12.5, 2), "12.50");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(Values, TextIsUtf8WithLatin1Fallback)
{
    EXPECT_EQ(ToAnsi(L"Gr\u00fcn \u20ac"), "Gr\xc3\xbcn \xe2\x82\xac");
    EXPECT_EQ(FromAnsi("Gr\xc3\xbcn"), L"Gr\u00fcn");
    // A lone Latin-1 byte is not valid UTF-8.
    EXPECT_EQ(FromAnsi("Gr\xfcn"), L"Gr\u00fcn");
    EXPECT_EQ(FromAnsi("\xe2\x82"), L"\u00e2\u0082");
}
