// Rulers: turning the strip, orientation, rendering only after a change, tick places and
// labels of linear scales and of the depth scale in metres and feet.

#include "Ruler.h"

#include <QImage>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {
constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kPaper = RGB(255, 255, 255);

// A bound horizontal ruler above its view: white strip, no insets, no title.
CRulerSettings Strip(int length, float start, float end)
{
    CRulerSettings s;
    s.m_nX = s.m_nY = 0;
    s.m_nLength = length;
    s.m_nThickness = 30;
    s.m_fRangeStart = start;
    s.m_fRangeEnd = end;
    s.m_crBackground = kPaper;
    return s;
}

// Columns of the rendered strip where a tick of at least the given length reaches.
std::vector<int> TicksReaching(const CRuler& ruler, int tickLength)
{
    const Tovrik::CMemDC& strip = ruler.GetRenderSurface();
    const int y = strip.GetHeight() - 1 - tickLength;
    std::vector<int> columns;
    for (int x = 0; x < strip.GetWidth(); ++x)
        if (strip.GetPixel(x, y) == kInk && strip.GetPixel(x, y + 1) == kInk)
            columns.push_back(x);
    return columns;
}

// Ink above the tick ends, where the labels stand.
bool LabelInk(const CRuler& ruler, int fromX, int toX)
{
    const Tovrik::CMemDC& strip = ruler.GetRenderSurface();
    for (int y = 0; y < strip.GetHeight() - 7; ++y)
        for (int x = fromX; x < toX; ++x)
            if (strip.GetPixel(x, y) != kPaper)
                return true;
    return false;
}

void Render(CRuler& ruler, const CRulerSettings& settings, bool bDepthMode = false)
{
    ruler.Init(bDepthMode);
    ruler.SetSettings(settings);
    ruler.SetBound(true);
    ruler.Draw(nullptr);
}
} // namespace

TEST(RulerTest, RotateDibTurnsBottomUpBlocks)
{
    // 3 x 2 pixels of one byte each, rows padded to 4 bytes: stored row 0 is "abc".
    const uint8_t source[8] = {'a', 'b', 'c', 0, 'd', 'e', 'f', 0};
    const struct
    {
        int angle;
        const char* expected; // stored rows, padding as '.'
    } cases[] = {
        {0, "abc.def."},
        {180, "fed.cba."},
        {90, "da..eb..fc.."},  // column c of stored row r to stored row c, column 1 - r
        {270, "cf..be..ad.."}, // to stored row 2 - c, column r
        {45, "............"},
    };
    for (const auto& c : cases) {
        uint8_t dest[12];
        std::fill(std::begin(dest), std::end(dest), uint8_t('.'));
        RotateDib(dest, source, 3, 2, c.angle, 1);
        std::string got(reinterpret_cast<const char*>(dest), std::strlen(c.expected));
        for (char& ch : got)
            if (ch == 0)
                ch = '.';
        EXPECT_EQ(got, c.expected) << c.angle;
    }
    // Three bytes a pixel move together.
    const uint8_t rgb[8] = {1, 2, 3, 4, 5, 6, 0, 0}; // one row of two pixels
    uint8_t turned[8] = {};
    RotateDib(turned, rgb, 2, 1, 90, 3);
    EXPECT_EQ(std::vector<uint8_t>(turned, turned + 8), (std::vector<uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));
}

TEST(RulerTest, SideAndAlignmentChooseTheTurn)
{
    const struct
    {
        int side, alignment, angle;
        bool flip;
    } cases[] = {
        {CRulerSettings::SIDE_TOP, CRulerSettings::ALIGN_0, 0, false},
        {CRulerSettings::SIDE_TOP, CRulerSettings::ALIGN_180, 180, true},
        {CRulerSettings::SIDE_RIGHT, CRulerSettings::ALIGN_90, 90, true},
        {CRulerSettings::SIDE_RIGHT, CRulerSettings::ALIGN_270, 270, false},
        {CRulerSettings::SIDE_BOTTOM, CRulerSettings::ALIGN_0, 0, true},
        {CRulerSettings::SIDE_BOTTOM, CRulerSettings::ALIGN_180, 180, false},
        {CRulerSettings::SIDE_LEFT, CRulerSettings::ALIGN_90, 90, false},
        {CRulerSettings::SIDE_LEFT, CRulerSettings::ALIGN_270, 270, true},
        {CRulerSettings::SIDE_TOP | CRulerSettings::SIDE_LEFT, CRulerSettings::ALIGN_90, 90, false},
    };
    CRuler ruler;
    ruler.Init(false);
    for (const auto& c : cases) {
        CRulerSettings s = ruler.GetSettings();
        s.m_nSide = c.side;
        s.m_nAlignment = c.alignment;
        ruler.SetSettings(s);
        EXPECT_EQ(ruler.GetAngle(), c.angle) << c.side << "/" << c.alignment;
        EXPECT_EQ(ruler.IsFlipped(), c.flip) << c.side << "/" << c.alignment;
        const bool bTurned = c.angle == 90 || c.angle == 270;
        EXPECT_EQ(ruler.GetDisplaySize(), bTurned ? CSize(30, 501) : CSize(501, 30));
    }
}

TEST(RulerTest, RendersOnlyAfterAChangeAndDrawsNothingUninitialised)
{
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::blue);
    CDC dc;
    dc.AttachImage(&image);
    CRuler idle;
    idle.Draw(&dc);
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 255));

    CRuler ruler;
    ruler.Init(false);
    EXPECT_EQ(ruler.GetSettings(), CRulerSettings());
    CRulerSettings s = Strip(50, 0, 10);
    s.m_nX = 5;
    s.m_nY = 3;
    ruler.SetSettings(s);
    ruler.Draw(&dc);
    EXPECT_FALSE(ruler.IsDirty());
    EXPECT_EQ(dc.GetPixel(5, 3), kPaper);
    EXPECT_EQ(dc.GetPixel(4, 3), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(20, 32), kInk); // the baseline, bottom row of the strip
    ruler.SetSettings(ruler.GetSettings());
    EXPECT_FALSE(ruler.IsDirty());
    s.m_fRangeEnd = 20;
    ruler.SetSettings(s);
    EXPECT_TRUE(ruler.IsDirty());
    ruler.SetBound(true);
    ruler.Draw(&dc);
    EXPECT_FALSE(ruler.IsDirty());
    ruler.Enable(false);
    image.fill(Qt::blue);
    ruler.Draw(&dc);
    EXPECT_EQ(dc.GetPixel(5, 3), RGB(0, 0, 255));
}

TEST(RulerTest, UnboundVerticalRulersTurnTheirPlainTicks)
{
    // Ticks of major length every 20 pixels; the baseline lies along the view, at the right.
    const struct
    {
        int alignment;
        bool scaleUpwards;
    } cases[] = {{CRulerSettings::ALIGN_90, true}, {CRulerSettings::ALIGN_270, false}};
    for (const auto& c : cases) {
        CRuler ruler;
        ruler.Init(false);
        CRulerSettings s = Strip(100, 0, 1);
        s.m_nSide = CRulerSettings::SIDE_LEFT;
        s.m_nAlignment = c.alignment;
        ruler.SetSettings(s);
        QImage image(30, 100, QImage::Format_RGB32);
        CDC dc;
        dc.AttachImage(&image);
        ruler.Draw(&dc);
        const int first = c.scaleUpwards ? 99 : 0;    // row of the scale's start
        const int between = c.scaleUpwards ? 89 : 10; // half way to the next tick
        const int next = c.scaleUpwards ? 79 : 20;
        for (int x = 24; x < 30; ++x) {
            EXPECT_EQ(dc.GetPixel(x, first), kInk) << c.alignment << " x " << x;
            EXPECT_EQ(dc.GetPixel(x, next), kInk) << c.alignment << " x " << x;
        }
        EXPECT_EQ(dc.GetPixel(23, first), kPaper) << c.alignment;
        EXPECT_EQ(dc.GetPixel(29, between), kInk) << c.alignment;
        EXPECT_EQ(dc.GetPixel(28, between), kPaper) << c.alignment;
    }
}

TEST(RulerTest, LinearScalesPlaceMajorAndMinorTicks)
{
    CRuler ruler;
    // 0 .. 1000 over 500 pixels: labels need 100 .. 200 units, so majors every 200 units
    // (100 pixels), ten minor steps of 10 pixels each.
    Render(ruler, Strip(500, 0, 1000));
    EXPECT_EQ(TicksReaching(ruler, 5), (std::vector<int>{0, 100, 200, 300, 400}));
    const std::vector<int> minors = TicksReaching(ruler, 3);
    EXPECT_EQ(minors.size(), 50u); // every 10 pixels from 0 to 490, the majors among them
    EXPECT_EQ(minors[1], 10);
    EXPECT_EQ(minors.back(), 490);

    // A start below zero: the widest label is 5 x 10^k, 500 here, so majors every 2 from -2.
    Render(ruler, Strip(500, -3, 7));
    EXPECT_EQ(TicksReaching(ruler, 5), (std::vector<int>{50, 150, 250, 350, 450}));

    // An inset and a value offset shift the scale.
    CRulerSettings s = Strip(500, 0, 1000);
    s.m_nLeftInset = 100;
    s.m_fValueOffset = 50;
    Render(ruler, s);
    const std::vector<int> shifted = TicksReaching(ruler, 5);
    ASSERT_FALSE(shifted.empty());
    EXPECT_GT(shifted.front(), 100);

    // A range of no length shows the baseline and the title only.
    Render(ruler, Strip(500, 4, 4));
    EXPECT_TRUE(TicksReaching(ruler, 5).empty());
    EXPECT_EQ(ruler.GetRenderSurface().GetPixel(250, 29), kInk);
}

TEST(RulerTest, LabelFlagsPushOrDropLabelsAtTheEnds)
{
    const struct
    {
        int flags;
        bool left, right;
    } cases[] = {
        {CRulerSettings::LABELS_PUSH_INWARD, true, true},
        {0, false, true}, // the first label at x 0 dropped, the last one cut by the edge
        {CRulerSettings::LABELS_DROP_PAST_RIGHT, false, false},
        // The first-label rule is off: "0" stands half outside at x 0.
        {CRulerSettings::LABELS_CLIP_TITLE, true, true},
    };
    for (const auto& c : cases) {
        CRuler ruler;
        CRulerSettings s = Strip(500, 0, 1000);
        s.m_nLabelFlags = c.flags;
        Render(ruler, s);
        EXPECT_EQ(LabelInk(ruler, 0, 20), c.left) << c.flags;
        EXPECT_EQ(LabelInk(ruler, 480, 500), c.right) << c.flags;
        EXPECT_TRUE(LabelInk(ruler, 190, 210)) << c.flags; // "400"
    }

    // The title sits at the right end; pushed labels stay left of it.
    CRuler ruler;
    CRulerSettings s = Strip(500, 0, 1000);
    s.m_strTitle = L" X [m]";
    Render(ruler, s);
    EXPECT_TRUE(LabelInk(ruler, 490, 500));
    s.m_nLabelFlags = CRulerSettings::LABELS_CLIP_TITLE;
    Render(ruler, s);
    // Clipped at the title: its ticks stop short of it.
    EXPECT_LT(TicksReaching(ruler, 3).back(), 480);
}

TEST(RulerTest, DepthScaleStartsAtTheZeroLevelAndFollowsTheUnits)
{
    // 300 samples over 300 pixels: one sample a pixel; 1 cm one way a sample; zero level at
    // sample 50.
    for (const int kind : {CRulerSettings::SCALE_METRES, CRulerSettings::SCALE_FEET}) {
        const double factor = kind == CRulerSettings::SCALE_FEET ? 3.2808399 : 1.0;
        CRuler ruler;
        CRulerSettings s = Strip(300, 0, float(2.5 * factor));
        s.m_nScaleKind = kind;
        ruler.Init(true);
        ruler.SetSettings(s);
        ruler.SetBound(true);
        ruler.SetDepthParameters(300, 50, 1.0, 0.02, 0.0);
        ruler.Draw(nullptr);
        const std::vector<int> majors = TicksReaching(ruler, 5);
        ASSERT_GE(majors.size(), 2u) << kind;
        EXPECT_EQ(majors[0], 50) << kind; // nothing above the zero level
        EXPECT_TRUE(TicksReaching(ruler, 3).front() == 50) << kind;
        // The second major lies where the depth in the ruler's unit first reaches a step of
        // 1, 2 or 5 units, or a tenth of it.
        const auto depth = [factor](int p) { return (p - 50) * 0.01 * factor; };
        bool bOnStep = false;
        for (const double step : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0})
            bOnStep = bOnStep || (depth(majors[1]) >= step - 1e-9 && depth(majors[1] - 1) < step - 1e-9);
        EXPECT_TRUE(bOnStep) << kind << " at " << majors[1];
        // Minor ticks between the first two majors.
        EXPECT_GT(TicksReaching(ruler, 3).size(), majors.size()) << kind;
        EXPECT_TRUE(LabelInk(ruler, 40, 70)) << kind; // the label "0"
    }
    // Antenna separation makes the first centimetres of depth come faster.
    CRuler plain, separated;
    for (CRuler* pRuler : {&plain, &separated}) {
        pRuler->Init(true);
        pRuler->SetSettings(Strip(300, 0, 2.5f));
        pRuler->SetBound(true);
        pRuler->SetDepthParameters(300, 50, 1.0, 0.02, pRuler == &separated ? 0.5 : 0.0);
        pRuler->Draw(nullptr);
    }
    EXPECT_LT(TicksReaching(separated, 5)[1], TicksReaching(plain, 5)[1]);
}

TEST(RulerTest, DrawingFinishesForEveryOffsetAndScale)
{
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        float start, end, offset;
        int decimals;
        bool bTicks; // the scale still shows major ticks
    } cases[] = {
        {0, 0.16f, 1e10f, 5, true},
        {0, 1000, -1e10f, 5, true},
        {0, 0.16f, 1e20f, 5, true},
        {0, 1000, 3e38f, 5, true},
        {0, 10, kInf, 5, false},
        {0, 10, -kInf, 5, false},
        {0, 10, kNaN, 5, false},
        {kNaN, 10, 0, 5, false},
        {0, kInf, 0, 5, false},
        {-3e38f, 3e38f, 0, 5, true},
        {0, 1e-30f, 0, 5, true},
        {0, 1000, 0, -3, false}, // fixed negative decimals: steps below a pixel
    };
    for (const bool bDepthMode : {false, true}) {
        for (const auto& c : cases) {
            CRuler ruler;
            CRulerSettings s = Strip(500, c.start, c.end);
            s.m_fValueOffset = c.offset;
            s.m_nDecimals = c.decimals;
            s.m_bAutoDecimals = c.decimals >= 0;
            Render(ruler, s, bDepthMode);
            EXPECT_FALSE(ruler.IsDirty());
            EXPECT_EQ(ruler.GetRenderSurface().GetPixel(250, 29), kInk) << c.offset; // the baseline
            if (!bDepthMode) {
                EXPECT_EQ(!TicksReaching(ruler, 5).empty(), c.bTicks) << c.start << ".." << c.end << " + " << c.offset;
            }
        }
    }
}
