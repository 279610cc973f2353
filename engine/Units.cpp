#include "Units.h"

#include <cwctype>

std::vector<TEnumStringConvItem<TUnits>> g_unitsTable;

const double g_unitFactors[2][4] = {
    {1.0, 100.0, 3.280839895013123, 39.370078740157474},
    {0.01, 1.0, 0.03280839895013123, 0.39370078740157477},
};

namespace {

bool IsKnown(TUnits units)
{
    return units == UNITS_SI || units == UNITS_IMP;
}

} // namespace

double GetUnitFactor(TUnits units, bool bSmallUnit)
{
    if (!IsKnown(units))
        return 1.0;
    return g_unitFactors[0][units * 2 + (bSmallUnit ? 1 : 0)];
}

std::wstring GetUnitLabel(TUnits units, bool bSmallUnit)
{
    switch (units) {
    case UNITS_SI:
        return bSmallUnit ? L"cm" : L"m";
    case UNITS_IMP:
        return bSmallUnit ? L"in" : L"ft";
    }
    return std::wstring();
}

bool IsUnitSuffix(TUnits units, const std::wstring& text)
{
    return IsKnown(units) && text == GetUnitLabel(units, true);
}

void RegisterUnitsName(TUnits units, const std::wstring& text)
{
    g_unitsTable.push_back({units, text});
}

void RegisterDefaultUnitNames()
{
    if (UnitsToString(UNITS_SI).empty())
        RegisterUnitsName(UNITS_SI, L"SI");
    if (UnitsToString(UNITS_IMP).empty())
        RegisterUnitsName(UNITS_IMP, L"Imp");
}

bool UnitsFromString(const std::wstring& text, TUnits& units)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::iswspace(text[first]))
        ++first;
    while (last > first && std::iswspace(text[last - 1]))
        --last;
    const std::wstring trimmed = text.substr(first, last - first);
    for (const auto& item : g_unitsTable) {
        if (item.m_strText == trimmed) {
            units = item.m_value;
            return true;
        }
    }
    return false;
}

std::wstring UnitsToString(TUnits units)
{
    for (const auto& item : g_unitsTable) {
        if (item.m_value == units)
            return item.m_strText;
    }
    return std::wstring();
}
