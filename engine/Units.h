#pragma once
// The unit systems in which lengths and depths are shown: their labels, the text names of
// the configuration and project files, and the factors that turn metres into them.

#include <cstdint>
#include <string>
#include <vector>

enum TUnits : int32_t {
    UNITS_SI = 0,  // metres and centimetres
    UNITS_IMP = 1, // feet and inches
};

// A value of an enumeration with its text.
template <typename T>
struct TEnumStringConvItem
{
    T m_value;
    std::wstring m_strText;
};

// The registered unit names in order of registration; empty until registered.
extern std::vector<TEnumStringConvItem<TUnits>> g_unitsTable;

// Conversion factors: [0] from metres, [1] from centimetres; within each, SI large (m),
// SI small (cm), imperial large (ft), imperial small (in).
extern const double g_unitFactors[2][4];

// Factor from metres to the large (or small) unit of a system; 1 for an unknown system.
double GetUnitFactor(TUnits units, bool bSmallUnit = false);

// "m"/"cm", "ft"/"in"; empty for an unknown system.
std::wstring GetUnitLabel(TUnits units, bool bSmallUnit);
// True exactly when text is the small-unit label of the system.
bool IsUnitSuffix(TUnits units, const std::wstring& text);

// Appends a row to g_unitsTable; an existing row of the value stays first.
void RegisterUnitsName(TUnits units, const std::wstring& text);
// Registers "SI" and "Imp" unless they are registered already.
void RegisterDefaultUnitNames();

// Trimmed text compared exactly with the rows in order; target unchanged when none matches.
bool UnitsFromString(const std::wstring& text, TUnits& units);
// Text of the first row with the value, empty when there is none.
std::wstring UnitsToString(TUnits units);
