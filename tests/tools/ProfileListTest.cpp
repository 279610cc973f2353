#include "ProfileList.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(ProfileList, EachDirectionIsOrderedByNumberWhateverThePadding)
{
    const CTempDir dir;
    for (const char* name : {"V10.rad", "V2.rad", "V001.rad", "V0003.RAD", "V2.rd3", "H10.rad",
                             "H9.rad", "H000.rad", "V.rad", "X1.rad", "V1a.rad", "notes.txt"})
        WriteFileBytes(dir.File(name), "");
    std::vector<std::wstring> vertical, horizontal;
    std::string error;
    ASSERT_TRUE(ListSurveyProfiles(dir.Path(), vertical, horizontal, error)) << error;
    EXPECT_EQ(vertical, (std::vector<std::wstring>{L"V001.rad", L"V2.rad", L"V0003.RAD", L"V10.rad"}));
    EXPECT_EQ(horizontal, (std::vector<std::wstring>{L"H000.rad", L"H9.rad", L"H10.rad"}));
}

TEST(ProfileList, NumbersCompareBeyondEveryIntegerType)
{
    const struct { const char* a; const char* b; bool less; } cases[] = {
        {"V9.rad", "V10.rad", true},
        {"V010.rad", "V9.rad", false},
        {"V99999999999999999999999.rad", "V100000000000000000000000.rad", true},
        {"V02.rad", "V2.rad", true}, // the same number: by name
        {"V2.rad", "V02.rad", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfileNameLess(c.a, c.b), c.less) << c.a << " < " << c.b;
}
