#include "Units.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// Each test starts with the empty name table of a fresh run and leaves it as it found it.
class UnitNames : public testing::Test
{
protected:
    void SetUp() override { std::swap(m_saved, g_unitsTable); }
    void TearDown() override { std::swap(m_saved, g_unitsTable); }

private:
    std::vector<TEnumStringConvItem<TUnits>> m_saved;
};

} // namespace

TEST(Units, LabelsAndSuffixes)
{
    const struct { int units; bool bSmall; const wchar_t* label; } labels[] = {
        {0, false, L"m"}, {0, true, L"cm"}, {1, false, L"ft"}, {1, true, L"in"},
        {2, false, L""}, {2, true, L""}, {-1, true, L""},
    };
    for (const auto& c : labels)
        EXPECT_EQ(GetUnitLabel(static_cast<TUnits>(c.units), c.bSmall), c.label)
            << c.units << " " << c.bSmall;

    const struct { int units; const wchar_t* text; bool bSuffix; } suffixes[] = {
        {0, L"cm", true}, {0, L"m", false}, {0, L"in", false}, {0, L"CM", false},
        {1, L"in", true}, {1, L"ft", false}, {1, L" in", false},
        {2, L"", false}, {2, L"cm", false},
    };
    for (const auto& c : suffixes)
        EXPECT_EQ(IsUnitSuffix(static_cast<TUnits>(c.units), c.text), c.bSuffix)
            << c.units << " " << testing::PrintToString(std::wstring(c.text));
}

TEST(Units, FactorsConvertMetresAndCentimetres)
{
    EXPECT_DOUBLE_EQ(10 * GetUnitFactor(UNITS_IMP), 32.80839895013123);
    EXPECT_DOUBLE_EQ(GetUnitFactor(UNITS_SI), 1.0);
    EXPECT_DOUBLE_EQ(GetUnitFactor(UNITS_SI, true), 100.0);
    EXPECT_DOUBLE_EQ(GetUnitFactor(UNITS_IMP, true), 1 / 0.0254);
    EXPECT_DOUBLE_EQ(GetUnitFactor(static_cast<TUnits>(7)), 1.0);
    // The centimetre row is the metre row divided by 100.
    for (int i = 0; i < 4; ++i)
        EXPECT_DOUBLE_EQ(g_unitFactors[1][i] * 100, g_unitFactors[0][i]) << i;
}

TEST_F(UnitNames, EmptyTableKnowsNoName)
{
    TUnits units = UNITS_IMP;
    EXPECT_FALSE(UnitsFromString(L"SI", units));
    EXPECT_EQ(units, UNITS_IMP);
    EXPECT_EQ(UnitsToString(UNITS_SI), L"");
}

TEST_F(UnitNames, DefaultNamesReadTrimmedAndCaseSensitive)
{
    RegisterDefaultUnitNames();
    RegisterDefaultUnitNames();
    ASSERT_EQ(g_unitsTable.size(), 2u);
    EXPECT_EQ(g_unitsTable[0].m_value, UNITS_SI);
    EXPECT_EQ(UnitsToString(UNITS_SI), L"SI");
    EXPECT_EQ(UnitsToString(UNITS_IMP), L"Imp");
    EXPECT_EQ(UnitsToString(static_cast<TUnits>(2)), L"");

    // Not found leaves the target unchanged (7 here).
    const struct { const wchar_t* text; int expected; } cases[] = {
        {L"  SI \t", UNITS_SI}, {L"Imp", UNITS_IMP}, {L"\r\nImp\r\n", UNITS_IMP},
        {L"IMP", 7}, {L"si", 7}, {L"", 7}, {L"S I", 7},
    };
    for (const auto& c : cases) {
        TUnits units = static_cast<TUnits>(7);
        EXPECT_EQ(UnitsFromString(c.text, units), c.expected != 7) << c.expected;
        EXPECT_EQ(units, c.expected);
    }
}

TEST_F(UnitNames, RegistrationAppendsAndFirstRowWins)
{
    RegisterUnitsName(UNITS_IMP, L"feet");
    RegisterUnitsName(UNITS_IMP, L"Imp");
    RegisterUnitsName(UNITS_SI, L"feet");
    ASSERT_EQ(g_unitsTable.size(), 3u);
    EXPECT_EQ(UnitsToString(UNITS_IMP), L"feet");
    TUnits units = UNITS_SI;
    EXPECT_TRUE(UnitsFromString(L"feet", units));
    EXPECT_EQ(units, UNITS_IMP);
    // The defaults add only the name that is missing.
    RegisterDefaultUnitNames();
    EXPECT_EQ(g_unitsTable.size(), 3u);
}
