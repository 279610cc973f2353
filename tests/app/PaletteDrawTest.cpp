// The palette editor: boxes fitted to its frame, the centre box on palette entry 128, the
// drawing of boxes and markers, clicks on boxes and markers, and interpolation between
// enabled markers.

#include "PaletteDraw.h"

#include "GuiTestSupport.h"

#include "Cfg.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
constexpr int kHeight = 39; // the frame's height on the page

class PaletteDrawTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_cfg.SetDefaults();
        g_cfg.InitPalettes();
        g_cfg.SelectPalette(L"Red-blue");
    }
    void TearDown() override { g_cfg.SetDefaults(); }

    // A point in box b of an editor at (left, top), in the box row or the marker row.
    static CPoint At(const CConfigTab2Dlg::CPaletteDraw& editor, int nBox, bool bMarkerRow = false)
    {
        return {editor.m_rect.left + 10 * nBox + 5, editor.m_rect.top + (bMarkerRow ? 1 : 10)};
    }

    CScriptedMessageBoxes m_boxes;
    CScriptedColorDialog m_colors;
};
} // namespace

TEST_F(PaletteDrawTest, BoxCountIsTheOddNumberOfBoxesTheWidthHolds)
{
    const struct
    {
        int width;
        int boxes;
    } cases[] = {{357, 35}, {360, 35}, {370, 37}, {19, 1}, {10, 1}, {9, 0}, {0, 0}, {-20, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        CConfigTab2Dlg::CPaletteDraw editor(nullptr);
        editor.AllocateMaps(CRect(11, 96, 11 + c.width, 96 + kHeight));
        EXPECT_EQ(editor.m_NBoxes, c.boxes);
        EXPECT_EQ(editor.m_rect, CRect(11, 96, 11 + 10 * c.boxes + 1, 96 + kHeight));
        EXPECT_EQ(editor.GetWidth(), 10 * c.boxes + 1);
        EXPECT_EQ(editor.m_strName, L"Red-blue");
        editor.Draw();
        // A frame without boxes takes no click.
        bool bChanged = true;
        if (c.boxes == 0) {
            EXPECT_FALSE(editor.OnClick(CPoint(11, 100), bChanged));
            EXPECT_FALSE(bChanged);
        } else {
            // One box is the centre box.
            EXPECT_EQ(editor.GetPaletteIndex(0), c.boxes == 1 ? 128 : 0);
            EXPECT_EQ(editor.GetPaletteIndex(c.boxes / 2), 128);
            EXPECT_EQ(editor.GetPaletteIndex(c.boxes - 1), c.boxes == 1 ? 128 : 255);
        }
    }
}

TEST_F(PaletteDrawTest, CentreBoxShowsEntry128InsideASecondFrame)
{
    CConfigTab2Dlg::CPaletteDraw editor(nullptr);
    editor.AllocateMaps(CRect(0, 0, 357, kHeight));
    editor.Draw();
    const int centre = 17;
    EXPECT_EQ(editor.GetPaletteIndex(centre), 128);
    const COLORREF black = RGB(0, 0, 0);
    // Box i spans x = 10 i .. 10 i + 10 over the box row (y = 5 .. 36).
    for (const int box : {0, 5, centre, 34}) {
        SCOPED_TRACE(box);
        const int left = 10 * box;
        const COLORREF fill = g_cfg.m_curColors[size_t(editor.GetPaletteIndex(box))];
        EXPECT_EQ(editor.GetPixel(left, 20), black);
        EXPECT_EQ(editor.GetPixel(left + 10, 20), black);
        EXPECT_EQ(editor.GetPixel(left + 5, 5), black);
        EXPECT_EQ(editor.GetPixel(left + 5, 36), black);
        EXPECT_EQ(editor.GetPixel(left + 5, 20), fill);
        EXPECT_EQ(editor.GetPixel(left + 1, 20), box == centre ? black : fill);
        EXPECT_EQ(editor.GetPixel(left + 5, 6), box == centre ? black : fill);
    }
    EXPECT_EQ(editor.GetPixel(5, 2), COLOR_BTNFACE_VALUE); // no marker yet
    EXPECT_EQ(editor.GetPixel(5, 37), COLOR_BTNFACE_VALUE);
}

TEST_F(PaletteDrawTest, MarkerRowClicksAddThenToggleAMarker)
{
    CConfigTab2Dlg::CPaletteDraw editor(nullptr);
    editor.AllocateMaps(CRect(11, 96, 368, 96 + kHeight));
    const struct
    {
        bool enabled;
        COLORREF colour;
    } steps[] = {{true, 0x323232}, {false, 0x969696}, {true, 0x323232}};
    for (const auto& step : steps) {
        bool bChanged = true;
        EXPECT_TRUE(editor.OnClick(At(editor, 4, true), bChanged));
        EXPECT_FALSE(bChanged);
        ASSERT_EQ(editor.m_markers.size(), 1u);
        EXPECT_EQ(editor.m_markers[0].m_nBox, 4);
        EXPECT_EQ(editor.m_markers[0].m_bEnabled, step.enabled);
        // The triangle: rows 0 to 3 narrowing from x = 40 .. 48 to 43 .. 45.
        EXPECT_EQ(editor.GetPixel(40, 0), step.colour);
        EXPECT_EQ(editor.GetPixel(48, 0), step.colour);
        EXPECT_EQ(editor.GetPixel(49, 0), COLOR_BTNFACE_VALUE);
        EXPECT_EQ(editor.GetPixel(43, 3), step.colour);
        EXPECT_EQ(editor.GetPixel(42, 3), COLOR_BTNFACE_VALUE);
    }
    EXPECT_TRUE(m_colors.m_initials.empty());
    // Outside the editor nothing happens.
    bool bChanged = false;
    EXPECT_FALSE(editor.OnClick(CPoint(5, 100), bChanged));
    EXPECT_FALSE(editor.OnClick(CPoint(368, 100), bChanged));
    EXPECT_EQ(editor.m_markers.size(), 1u);
}

TEST_F(PaletteDrawTest, BoxClickSetsTheColourThroughTheColourDialog)
{
    CConfigTab2Dlg::CPaletteDraw editor(nullptr);
    editor.AllocateMaps(CRect(0, 0, 357, kHeight));
    const int index = editor.GetPaletteIndex(6);
    const COLORREF old = editor.m_palette[size_t(index)];
    bool bChanged = true;
    // Cancelled: nothing, not even a marker.
    EXPECT_FALSE(editor.OnClick(At(editor, 6), bChanged));
    EXPECT_FALSE(bChanged);
    EXPECT_TRUE(editor.m_markers.empty());
    // The same colour again: a marker but no change.
    m_colors.m_answers = {old, RGB(1, 2, 3)};
    EXPECT_TRUE(editor.OnClick(At(editor, 6), bChanged));
    EXPECT_FALSE(bChanged);
    ASSERT_EQ(editor.m_markers.size(), 1u);
    editor.OnClick(At(editor, 6, true), bChanged); // disabled
    EXPECT_FALSE(editor.m_markers[0].m_bEnabled);
    // A new colour enables the marker again.
    EXPECT_TRUE(editor.OnClick(At(editor, 6), bChanged));
    EXPECT_TRUE(bChanged);
    EXPECT_EQ(editor.m_palette[size_t(index)], RGB(1, 2, 3));
    EXPECT_TRUE(editor.m_markers[0].m_bEnabled);
    EXPECT_EQ(m_colors.m_initials, (std::vector<COLORREF>{old, old, old}));
    EXPECT_EQ(editor.GetPixel(65, 20), RGB(1, 2, 3));
}

TEST_F(PaletteDrawTest, MarkersStayInBoxOrder)
{
    CConfigTab2Dlg::CPaletteDraw editor(nullptr);
    editor.AllocateMaps(CRect(0, 0, 357, kHeight));
    for (const int box : {9, 2, 30, 2, 0})
        editor.AddMarker(box);
    std::vector<int> boxes;
    for (const auto& marker : editor.m_markers)
        boxes.push_back(marker.m_nBox);
    EXPECT_EQ(boxes, (std::vector<int>{0, 2, 2, 9, 30}));
    // A new frame starts without markers.
    editor.AllocateMaps(CRect(0, 0, 357, kHeight));
    EXPECT_TRUE(editor.m_markers.empty());
}

TEST_F(PaletteDrawTest, InterpolateFillsBetweenEnabledMarkersOnly)
{
    CConfigTab2Dlg::CPaletteDraw editor(nullptr);
    editor.AllocateMaps(CRect(0, 0, 357, kHeight));
    EXPECT_FALSE(editor.Interpolate());
    editor.AddMarker(3);
    EXPECT_FALSE(editor.Interpolate());
    editor.AddMarker(20);
    editor.m_markers[1].m_bEnabled = false;
    EXPECT_FALSE(editor.Interpolate());
    EXPECT_EQ(m_boxes.m_texts, (std::vector<std::wstring>{L"Must select atleast two palette colors.",
                                                           L"Must select atleast two palette colors.",
                                                           L"Atleast two palette colors need to be enabled."}));

    // Boxes 0 and the last bound the whole palette; the disabled marker between is skipped.
    editor.m_markers.clear();
    editor.AddMarker(0);
    editor.AddMarker(20);
    editor.AddMarker(34);
    editor.m_markers[1].m_bEnabled = false;
    editor.m_palette[0] = RGB(255, 0, 0);
    editor.m_palette[255] = RGB(0, 0, 255);
    TPaletteTable expected = editor.m_palette;
    FillPaletteHsv(expected, 0, 255);
    EXPECT_TRUE(editor.Interpolate());
    EXPECT_EQ(editor.m_palette, expected);
    // Through green, not magenta.
    const COLORREF middle = editor.m_palette[128];
    EXPECT_GT(GetGValue(middle), GetRValue(middle));
    EXPECT_GT(GetGValue(middle), GetBValue(middle));

    // Entries outside the outer markers stay.
    const TPaletteTable before = editor.m_palette;
    editor.m_markers.clear();
    editor.AddMarker(10);
    editor.AddMarker(12);
    editor.m_palette[size_t(editor.GetPaletteIndex(10))] = RGB(0, 0, 0);
    editor.m_palette[size_t(editor.GetPaletteIndex(12))] = RGB(255, 255, 255);
    EXPECT_TRUE(editor.Interpolate());
    for (int i = 0; i < editor.GetPaletteIndex(10); ++i)
        EXPECT_EQ(editor.m_palette[size_t(i)], before[size_t(i)]) << i;
    for (int i = editor.GetPaletteIndex(12) + 1; i < 256; ++i)
        EXPECT_EQ(editor.m_palette[size_t(i)], before[size_t(i)]) << i;
}
