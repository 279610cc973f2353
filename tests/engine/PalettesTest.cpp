#include "Cfg.h"
#include "Palettes.h"

#include "TestSupport.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <tuple>

namespace {

using Rgb = std::tuple<int, int, int>;

Rgb Split(uint32_t color)
{
    return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
            static_cast<int>((color >> 16) & 0xFF)};
}

TPaletteTable Filled(uint32_t color)
{
    TPaletteTable table;
    table.fill(color);
    return table;
}

} // namespace

TEST(Palettes, HsvConversions)
{
    double h, s, v;
    RgbToHsv(1, 0, 0, h, s, v);
    EXPECT_DOUBLE_EQ(h, 0);
    RgbToHsv(0, 0, 1, h, s, v);
    EXPECT_DOUBLE_EQ(h, 240);
    // Hues between magenta and red stay negative.
    RgbToHsv(1, 0, 0.5, h, s, v);
    EXPECT_DOUBLE_EQ(h, -30);
    EXPECT_DOUBLE_EQ(s, 1);
    RgbToHsv(0.4, 0.4, 0.4, h, s, v);
    EXPECT_TRUE(std::isnan(h));
    EXPECT_EQ(s, 0);
    EXPECT_DOUBLE_EQ(v, 0.4);

    double r1, g1, b1, r2, g2, b2;
    HsvToRgb(-30, 1, 1, r1, g1, b1);
    HsvToRgb(330, 1, 1, r2, g2, b2);
    EXPECT_DOUBLE_EQ(r1, r2);
    EXPECT_DOUBLE_EQ(g1, g2);
    EXPECT_DOUBLE_EQ(b1, b2);
    HsvToRgb(120, 1, 1, r1, g1, b1);
    EXPECT_EQ(std::make_tuple(r1, g1, b1), std::make_tuple(0.0, 1.0, 0.0));

    // Hues that are no number, or far outside the circle, still give colours in range.
    for (double hue : {std::nan(""), std::numeric_limits<double>::infinity(), 1e300, -1e300}) {
        HsvToRgb(hue, 0.5, 0.8, r1, g1, b1);
        for (double c : {r1, g1, b1}) {
            EXPECT_GE(c, 0.0) << hue;
            EXPECT_LE(c, 0.8) << hue;
        }
    }
}

TEST(Palettes, BuiltInTables)
{
    CCfg cfg;
    cfg.InitPalettes();
    TPaletteTable table;
    cfg.GetPaletteColors(PALETTE_BLACK_WHITE, table);
    EXPECT_EQ(Split(table[128]), Rgb(128, 128, 128));
    EXPECT_EQ(table[0], 0u);
    EXPECT_EQ(table[255], 0x00FFFFFFu);

    cfg.GetPaletteColors(PALETTE_RED_BLUE, table);
    const struct { int index; Rgb rgb; } redBlue[] = {
        {0, {0, 0, 255}},       {64, {127, 127, 255}},  {127, {253, 253, 255}},
        {128, {255, 255, 255}}, {129, {254, 253, 253}}, {192, {243, 136, 132}},
        {254, {232, 30, 24}},   {255, {232, 29, 23}},
    };
    for (const auto& c : redBlue)
        EXPECT_EQ(Split(table[c.index]), c.rgb) << c.index;

    // Names are exact; an unknown one leaves the table alone.
    table = Filled(0x123456);
    cfg.GetPaletteColors(L"black-white", table);
    EXPECT_EQ(table, Filled(0x123456));
}

TEST(Palettes, FillRampInterpolatesHue)
{
    TPaletteTable table = Filled(0x00808080);
    table[10] = 0x000000FF; // red, hue 0
    table[18] = 0x00FF0000; // blue, hue 240
    FillPaletteHsv(table, 10, 18);
    EXPECT_EQ(table[14], 0x0000FF00u); // green, not magenta
    EXPECT_EQ(table[10], 0x000000FFu);
    EXPECT_EQ(table[18], 0x00FF0000u);
    EXPECT_EQ(table[9], 0x00808080u);

    // A gray end takes the other end's hue.
    table[0] = 0x000000FF;
    table[4] = 0x00FFFFFF;
    FillPaletteHsv(table, 0, 4);
    EXPECT_EQ(Split(table[2]), Rgb(255, 127, 127));

    const TPaletteTable before = table;
    for (auto range : {std::make_pair(5, 5), std::make_pair(8, 3), std::make_pair(-1, 4),
                       std::make_pair(250, 256), std::make_pair(0, 1000)}) {
        FillPaletteHsv(table, range.first, range.second);
        EXPECT_EQ(table, before) << range.first << ".." << range.second;
    }
}

TEST(Palettes, SelectingPalettes)
{
    CCfg cfg;
    cfg.InitPalettes();
    ASSERT_EQ(cfg.m_paletteNames,
              (std::vector<std::wstring>{L"Black-white", L"Red-blue", L"User defined"}));
    EXPECT_FALSE(cfg.m_bPaletteWrap);
    EXPECT_EQ(cfg.m_nCurPalette, 0);

    cfg.SelectPalette(PALETTE_RED_BLUE);
    EXPECT_EQ(cfg.m_nCurPalette, 1);
    EXPECT_EQ(cfg.m_curColors[0], 0x00FF0000u);

    cfg.SelectPalette(L"Rainbow");
    EXPECT_EQ(cfg.m_nCurPalette, 0);
    EXPECT_EQ(Split(cfg.m_curColors[200]), Rgb(200, 200, 200));

    const TPaletteTable user = Filled(0x00112233);
    cfg.SetUserPalette(user);
    EXPECT_EQ(cfg.m_nCurPalette, 2);
    EXPECT_EQ(cfg.m_curColors, user);
    EXPECT_EQ(cfg.m_userColors, user);
    cfg.SelectPalette(PALETTE_BLACK_WHITE);
    cfg.SelectPalette(PALETTE_USER_DEFINED);
    EXPECT_EQ(cfg.m_curColors, user);

    // Initialisation makes the user palette gray again.
    cfg.InitPalettes();
    EXPECT_EQ(Split(cfg.m_userColors[7]), Rgb(7, 7, 7));
}

TEST(Palettes, FileRoundTripAndBadFiles)
{
    CTempDir dir;
    TPaletteTable table;
    for (uint32_t i = 0; i < 256; ++i)
        table[i] = 0x00171DE8u ^ (i * 0x010203u & 0x00FFFFFFu);
    const std::wstring path = dir.WFile("p.pal");
    ASSERT_TRUE(CCfg::WritePaletteFile(table, path));
    const std::string bytes = ReadFileBytes(dir.File("p.pal"));
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xE8\x1D\x17\x00", 4));

    TPaletteTable read = Filled(0);
    EXPECT_TRUE(CCfg::ReadPaletteFile(read, path));
    EXPECT_EQ(read, table);

    // A short file replaces the entries it holds; a long one is read up to the table's size.
    WriteFileBytes(dir.File("short.pal"), std::string(100, '\x7f'));
    read = Filled(0x00ABCDEF);
    EXPECT_TRUE(CCfg::ReadPaletteFile(read, dir.WFile("short.pal")));
    EXPECT_EQ(read[24], 0x7F7F7F7Fu);
    EXPECT_EQ(read[25], 0x00ABCDEFu);
    WriteFileBytes(dir.File("long.pal"), bytes + "x");
    EXPECT_TRUE(CCfg::ReadPaletteFile(read, dir.WFile("long.pal")));
    EXPECT_EQ(read, table);

    // Missing file or a folder: not read, table unchanged.
    std::filesystem::create_directory(dir.File("folder.pal"));
    for (const char* name : {"missing.pal", "folder.pal"}) {
        read = Filled(0x00ABCDEF);
        EXPECT_FALSE(CCfg::ReadPaletteFile(read, dir.WFile(name))) << name;
        EXPECT_EQ(read, Filled(0x00ABCDEF)) << name;
    }

    EXPECT_FALSE(CCfg::WritePaletteFile(Filled(0), dir.WFile("no/such/folder/p.pal")));
    EXPECT_FALSE(CCfg::WritePaletteFile(Filled(0), dir.WFile("folder.pal")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.pal")));
}
