#pragma once
// The 256-colour tables through which the data views colour their values, the names of the
// palettes the program offers, and the hue/saturation/value ramps that build them.
// Palette files hold the 256 entries as 32-bit little-endian colours, nothing else.

#include <array>
#include <cstddef>
#include <cstdint>

// Colours 0x00BBGGRR, index 0 to 255.
using TPaletteTable = std::array<uint32_t, 256>;

inline constexpr size_t PALETTE_FILE_SIZE = 256 * 4;
// Bytes beyond the table are ignored, so a palette file of any size reads.
inline constexpr int64_t PALETTE_FILE_MAX_SIZE = INT64_MAX;

inline constexpr const wchar_t* PALETTE_BLACK_WHITE = L"Black-white";
inline constexpr const wchar_t* PALETTE_RED_BLUE = L"Red-blue";
inline constexpr const wchar_t* PALETTE_USER_DEFINED = L"User defined";

// Red, green, blue in 0..1 to hue in degrees (NaN when undefined), saturation and value.
void RgbToHsv(double r, double g, double b, double& h, double& s, double& v);
// Hue in degrees, saturation and value in 0..1 to red, green, blue.
void HsvToRgb(double h, double s, double v, double& r, double& g, double& b);

// Rewrites entries from .. to - 1 as a ramp from the colour at from towards the colour at
// to, interpolated in hue, saturation and value; nothing when an index lies outside 0..255.
void FillPaletteHsv(TPaletteTable& table, int from, int to);

// Entry i is gray i.
void FillGrayPalette(TPaletteTable& table);
