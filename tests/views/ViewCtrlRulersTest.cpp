// What the view controls share about their rulers: the thickness from the label font, with a
// stand-in font and never below 0, titles with the unit, and ranges in the project's unit.

#include "ViewCtrlRulers.h"

#include "RecordingWnd.h"
#include "Ruler.h"

#include "Project.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(ViewCtrlRulersTest, ThicknessIsMajorTickAndLabelHeightNeverBelowZero)
{
    CRecordingWnd owner;
    ASSERT_TRUE(owner.CreateShown(200, 100));
    const struct
    {
        bool initialised;
        int majorTick;
        int fontHeight;
        bool zero;
    } cases[] = {
        {true, 5, 14, false},
        {true, 5, 55, false},
        {false, 5, 14, false}, // no label font yet: a stock font measures
        {true, -100000, 14, true},
    };
    int thickness14 = 0;
    for (const auto& c : cases) {
        CRuler ruler;
        if (c.initialised)
            ruler.Init(false);
        CRulerSettings settings = ruler.GetSettings();
        settings.m_nMajorTickLength = c.majorTick;
        ruler.SetSettings(settings);
        const int thickness = PrepareRulerFont(ruler, owner, c.fontHeight, L" X ");
        if (c.zero) {
            EXPECT_EQ(thickness, 0);
            continue;
        }
        EXPECT_GT(thickness, c.majorTick + c.fontHeight / 2) << c.initialised << ' ' << c.fontHeight;
        if (c.fontHeight == 14 && c.initialised)
            thickness14 = thickness;
        if (c.fontHeight == 55) {
            EXPECT_GT(thickness, thickness14 + 30);
        }
        EXPECT_EQ(ruler.GetSettings().m_strFontFace, L"Times New Roman");
        EXPECT_EQ(ruler.GetSettings().m_nFontHeight, c.fontHeight);
        EXPECT_EQ(ruler.GetSettings().m_nSide, CRulerSettings::SIDE_TOP);
        EXPECT_EQ(ruler.GetSettings().m_strTitle, L" X ");
    }
}

TEST(ViewCtrlRulersTest, TitlesScaleKindsAndRangesFollowTheUnitSystem)
{
    CProject project;
    project.m_settings.m_dResolution = 0.05;
    const struct
    {
        TUnits units;
        const wchar_t* title;
        int scaleKind;
        float range;
    } cases[] = {
        {UNITS_SI, L" X [m]", CRulerSettings::SCALE_METRES, 5.0f},
        {UNITS_IMP, L" X [ft]", CRulerSettings::SCALE_FEET, float(5.0 * 3.2808399)},
    };
    for (const auto& c : cases) {
        project.m_settings.m_units = c.units;
        EXPECT_EQ(RulerTitle(L" X %s", &project), c.title);
        EXPECT_EQ(RulerScaleKind(project), c.scaleKind);
        EXPECT_NEAR(RulerPositionRange(101, project), c.range, 1e-4);
        EXPECT_EQ(RulerPositionRange(1, project), 0.0f);
        EXPECT_EQ(RulerPositionRange(-7, project), 0.0f);
    }
    EXPECT_EQ(RulerTitle(L" X %s", nullptr), L" X ");
    EXPECT_EQ(RulerTitle(L"%s ", nullptr), L" ");
    project.m_settings.m_dResolution = 1e300;
    EXPECT_TRUE(std::isfinite(RulerPositionRange(1000, project)));
}

TEST(ViewCtrlRulersTest, RulersLieAlongTheTopAndLeftEdgesAndArePlacedWhereTold)
{
    // The depth-slice control's left ruler starts at the corner, the section control's below
    // the direction bar.
    const struct
    {
        int verticalInset;
        int alignment;
    } cases[] = {{0, CRulerSettings::ALIGN_90}, {23, CRulerSettings::ALIGN_270}};
    for (const auto& c : cases) {
        CRuler horizontal, vertical;
        horizontal.Init(false);
        vertical.Init(false);
        CRulerSettings font = horizontal.GetSettings();
        font.m_nFontHeight = 17;
        horizontal.SetSettings(font);
        LayOutRulers(horizontal, vertical, CRect(0, 0, 300, 200), 20, c.verticalInset, c.alignment, L" Y ");

        const CRulerSettings h = horizontal.GetSettings(), v = vertical.GetSettings();
        EXPECT_EQ(CRect(h.m_nX, h.m_nY, h.m_nLength, h.m_nThickness), CRect(0, 0, 300, 20));
        EXPECT_EQ(CRect(v.m_nX, v.m_nY, v.m_nLength, v.m_nThickness), CRect(0, 0, 200, 20));
        EXPECT_EQ(h.m_nLeftInset, 20);
        EXPECT_EQ(h.m_nRightInset, 0);
        EXPECT_EQ(h.m_nAlignment, CRulerSettings::ALIGN_0);
        EXPECT_EQ(v.m_nLeftInset, c.verticalInset);
        EXPECT_EQ(v.m_nAlignment, c.alignment);
        EXPECT_EQ(v.m_nSide, CRulerSettings::SIDE_LEFT);
        EXPECT_EQ(v.m_nFontHeight, 17);
        EXPECT_EQ(v.m_strFontFace, h.m_strFontFace);
        EXPECT_EQ(v.m_strTitle, L" Y ");
        for (const CRulerSettings* pSettings : {&h, &v}) {
            EXPECT_EQ(pSettings->m_nLabelFlags, CRulerSettings::LABELS_PUSH_INWARD);
            EXPECT_EQ(pSettings->m_crBackground, RGB(255, 255, 255));
            EXPECT_EQ(pSettings->m_nScaleKind, CRulerSettings::SCALE_METRES);
        }

        PlaceRuler(vertical, 5, 24, 176, 20);
        const CRulerSettings placed = vertical.GetSettings();
        EXPECT_EQ(CRect(placed.m_nX, placed.m_nY, placed.m_nLength, placed.m_nThickness), CRect(5, 24, 176, 20));
        EXPECT_EQ(placed.m_nAlignment, c.alignment);
    }
}
