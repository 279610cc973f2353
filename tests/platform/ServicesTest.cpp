// The common dialogs' filter text, from the framework's form to Qt's.

#include "Services.h"

#include <gtest/gtest.h>

TEST(ServicesTest, FileFilterBecomesQtsList)
{
    struct Case
    {
        const wchar_t* filter;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"3D Project (*.rhd)|*.rhd|3D Settings (*.3dq)|*.3dq|All files (*.*)|*.*||",
         L"3D Project (*.rhd);;3D Settings (*.3dq);;All files (*.*)"},
        {L"Profiles|*.rad;*.RAD||", L"Profiles (*.rad *.RAD)"},
        {L"", L""},
        {L"Broken|", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConvertFileFilter(c.filter), c.expected) << std::wstring(c.filter).size();
}
