// The depth-slice view: colours through the palette at known traces, the threshold palette,
// the EM maps, the cross-hair with its notifications, the wheel, resizing and the relay of
// drawing events.

#include "DataTopView.h"

#include "GeneratedSurveyTest.h"
#include "GuiTestSupport.h"
#include "RecordingWnd.h"

#include "Cfg.h"
#include "DrawingManager.h"
#include "Matrix.h"
#include "Project.h"
#include "WinApp.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kWidth = 100;
constexpr int kHeight = 80;
constexpr int kDepth = 30;
constexpr LPARAM kSetParam = LPARAM(CDataTopView::ID_VIEW) | (LPARAM(1) << 16);
constexpr LPARAM kHoverParam = LPARAM(CDataTopView::ID_VIEW);

class DataTopViewTest : public GeneratedSurveyTest
{
protected:
    void SetUp() override
    {
        g_drawingManager.RemoveAll();

        ASSERT_TRUE(m_parent.CreateShown(kWidth, kHeight));
        ASSERT_TRUE(m_view.Create(&m_parent));
    }

    // Opens the project with plain display values and binds the view; the slice at kDepth is
    // 0 except a spike of +1 at the bottom-left corner (vertical line 0, row 0) and one of -1
    // at the top-right corner (horizontal line 5, column 60). The project's cross-hair lies at
    // (cursorX, cursorY).
    void Bind(float cursorX = 25, float cursorY = 20)
    {
        ASSERT_TRUE(m_project.Open(s_rhdPath));
        CProjectSettings& s = m_project.m_settings;
        ASSERT_EQ(s.m_iGridSizeX, 61);
        ASSERT_EQ(s.m_iGridSizeY, 51);
        s.m_iContrast = 0;
        s.m_iAngle = 0;
        s.m_params.m_iThreshold = 0;
        s.m_params.m_iTimeGain = 0;
        s.m_params.m_iAperture = 1;
        s.m_params.m_bAgcOn = false;
        s.m_iDepthIndex = kDepth;
        m_project.m_fCursorX = cursorX;
        m_project.m_fCursorY = cursorY;
        m_project.m_fCursorDepth = kDepth;
        ASSERT_TRUE(m_matrix.Init(&m_project));
        ASSERT_TRUE(m_matrix.Calculate());
        for (uint32_t line = 0; line < m_matrix.m_nVertLines; ++line)
            for (uint32_t t = 0; t < m_matrix.m_nNY; ++t)
                m_matrix.EditVertTrace(line, t)[kDepth] = 0;
        for (uint32_t line = 0; line < m_matrix.m_nHorzLines; ++line)
            for (uint32_t t = 0; t < m_matrix.m_nNX; ++t)
                m_matrix.EditHorzTrace(line, t)[kDepth] = 0;
        m_matrix.EditVertTrace(0, 0)[kDepth] = 1.0f;
        m_matrix.EditHorzTrace(5, 60)[kDepth] = -1.0f;
        m_view.SetProject(&m_project, &m_matrix);
    }

    // Blue, green, red of the rendered image at a window pixel.
    std::array<int, 3> Pixel(int x, int y)
    {
        const uint8_t* p = m_view.GetImage().GetRowBits(y) + 4 * x;
        return {p[0], p[1], p[2]};
    }
    int Index(int x, int y) { return Pixel(x, y)[2]; }

    LRESULT Mouse(UINT message, int x, int y, UINT flags = 0)
    {
        return m_view.SendMessage(message, flags, MAKELPARAM(x, y));
    }

    CIndexPalette m_palette;
    CRecordingWnd m_parent;
    CProject m_project;
    C3DMatrix m_matrix;
    CDataTopView m_view;
};

TEST_F(DataTopViewTest, RendersTheSliceThroughThePaletteWithRowsCountingUpwards)
{
    Bind();
    m_view.Render();
    ASSERT_TRUE(m_view.IsImageValid());
    // 1 x 0.5 x 0.3 scaled: index trunc(0.15 x 127 + 128) = 147; -1 gives 108; 0 gives 128.
    EXPECT_EQ(Pixel(0, kHeight - 1), (std::array<int, 3>{255 - 147, 50, 147}));
    EXPECT_EQ(Index(kWidth - 1, 0), 108);
    EXPECT_EQ(Index(0, 0), 128);
    EXPECT_EQ(Index(kWidth / 2, kHeight / 2), 128);

    // A high contrast saturates: exactly 1 is index 255, -1 index 1.
    m_project.m_settings.m_iContrast = 100;
    m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_CONTRAST, 100));
    EXPECT_FALSE(m_view.IsImageValid());
    m_view.Render();
    EXPECT_EQ(Index(0, kHeight - 1), 255);
    EXPECT_EQ(Index(kWidth - 1, 0), 1);
    EXPECT_EQ(Index(kWidth / 2, kHeight / 2), 128);

    // A threshold swaps in its own palette: above its ramp red, below it black.
    m_project.m_settings.m_params.m_iThreshold = 1;
    m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_THRESHOLD, 1));
    m_view.Render();
    EXPECT_EQ(Pixel(0, kHeight - 1), (std::array<int, 3>{0, 0, 255}));
}

TEST_F(DataTopViewTest, AngleShiftsTheLinesAgainstEachOther)
{
    Bind();
    // 121 x 101 pixels: half a grid cell each way, so pixel 10 is grid column or row 5.
    m_view.Resize(CRect(0, 0, 121, 101));
    const struct { int angle; int atRow0, atRow5; } cases[] = {
        // Column 5 lies halfway between vertical lines 0 and 1: half the spike at row 0
        // without an angle, at row 5 with 45 degrees (a shift of 10 samples from line to line).
        {0, 137, 128},
        {45, 128, 137},
    };
    for (const auto& c : cases) {
        m_project.m_settings.m_iAngle = c.angle;
        m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_ANGLE, c.angle));
        m_view.Render();
        EXPECT_EQ(Index(10, 100), c.atRow0) << c.angle;
        EXPECT_EQ(Index(10, 100 - 10), c.atRow5) << c.angle;
    }
}

TEST_F(DataTopViewTest, ThresholdPaletteSplitsBlackAndRedOrBlueAndBlack)
{
    const struct { int threshold, lowEnd, highStart; COLORREF low, high; } cases[] = {
        {1, 129, 164, RGB(0, 0, 0), RGB(255, 0, 0)},
        {-1, 92, 127, RGB(0, 0, 255), RGB(0, 0, 0)},
        {100, 220, 255, RGB(0, 0, 0), RGB(255, 0, 0)},
    };
    for (const auto& c : cases) {
        TPaletteTable palette;
        CDataTopView::BuildThresholdPalette(c.threshold, palette);
        for (int i = 0; i < 256; ++i) {
            if (i <= c.lowEnd) {
                EXPECT_EQ(palette[size_t(i)], c.low) << c.threshold << " at " << i;
            } else if (i >= c.highStart) {
                EXPECT_EQ(palette[size_t(i)], c.high) << c.threshold << " at " << i;
            }
        }
    }
}

TEST(CEMResampMap, GivesEveryCellAnEnclosingPairInsideTheEmRows)
{
    // 3 lines 10 cells apart, half lag 2: positions -2, 2, 8, 12, 18, 22.
    CEMResampMap map;
    map.Create(3, 10, 2, 25);
    ASSERT_EQ(map.Size(), 25);
    EXPECT_EQ(map.Row(0), 0);
    EXPECT_FLOAT_EQ(map.Fraction(1), 0.25f); // the first pair counts from cell 0
    EXPECT_EQ(map.Row(2), 1);                // 2 .. 8
    EXPECT_FLOAT_EQ(map.Fraction(5), 0.5f);
    EXPECT_EQ(map.Row(10), 2);               // 8 .. 12
    EXPECT_FLOAT_EQ(map.Fraction(9), 0.25f);
    EXPECT_EQ(map.Row(12), 3);               // 12 .. 18
    EXPECT_FLOAT_EQ(map.Fraction(15), 0.5f);
    // Past the last entry: the last pair, fully at its upper row.
    EXPECT_EQ(map.Row(24), 4);
    EXPECT_FLOAT_EQ(map.Fraction(24), 1.0f);

    // No lag: the two rows of a line share a position; pairs of length 0 are passed over.
    map.Create(3, 10, 0, 21);
    for (int j = 0; j < 21; ++j) {
        EXPECT_GE(map.Row(j), 0);
        EXPECT_LE(map.Row(j) + 1, 5) << j;
        EXPECT_GE(map.Fraction(j), 0.0f);
        EXPECT_LE(map.Fraction(j), 1.0f);
    }
    EXPECT_EQ(map.Row(5), 1); // line 0's second row towards line 1's first
    EXPECT_FLOAT_EQ(map.Fraction(5), 0.5f);
    EXPECT_EQ(map.Row(15), 3);
}

TEST_F(DataTopViewTest, EmOverlayNeedsEmDataAndClearsTheImage)
{
    Bind();
    m_view.Render();
    const int radar = Index(0, kHeight - 1);
    // The generated survey has no EM data: the switch keeps the radar slice.
    m_project.m_bEmOverlay = true;
    m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_EM_OVERLAY, 0));
    EXPECT_FALSE(m_view.IsImageValid());
    m_view.Render();
    EXPECT_EQ(Index(0, kHeight - 1), radar);
}

TEST_F(DataTopViewTest, DataChangesClearTheImageOnlyForTheirCodes)
{
    Bind();
    for (WORD code : {1, 2, 3, 4, 5, 6, 9, 11, 0, 7, 10, 12}) {
        m_view.Render();
        m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(code, 0));
        const bool bClears = code != 0 && code != 7 && code != 10 && code != 12;
        EXPECT_EQ(m_view.IsImageValid(), !bClears) << "code " << code;
    }
    // Code 2 takes the new time gain into the weights.
    m_project.m_settings.m_params.m_iTimeGain = 200;
    m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_TIME_GAIN, 200));
    EXPECT_GT(m_view.GetWeights()[m_view.GetWeights().size() / 2], 1.0f);
}

TEST_F(DataTopViewTest, ButtonDownSetsTheCrossHairAndHoverOnlyMovesTheHoverPosition)
{
    Bind();
    m_parent.m_messages.clear();
    // 100 pixels onto columns 0 .. 60 (step 60 / 99), 80 rows onto 0 .. 50 from the bottom
    // (step 50 / 79): the last pixel lies on the last column and row.
    Mouse(WM_LBUTTONDOWN, 33, 79, MK_LBUTTON);
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(33, 79));
    EXPECT_NEAR(m_project.m_fCursorX, 20.0f, 0.001f);
    EXPECT_NEAR(m_project.m_fCursorY, 0.0f, 0.001f);
    EXPECT_NEAR(m_project.m_fHoverX, 20.0f, 0.001f);
    auto sent = m_parent.Take(WM_CURSOR_MOVED);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].wParam, WPARAM(CDataTopView::ID_VIEW));
    EXPECT_EQ(sent[0].lParam, kSetParam);
    Mouse(WM_LBUTTONUP, 33, 79);
    EXPECT_FALSE(m_view.GetCrossHair().IsDragging());

    Mouse(WM_MOUSEMOVE, 99, 0);
    EXPECT_NEAR(m_project.m_fCursorX, 20.0f, 0.001f);
    EXPECT_FLOAT_EQ(m_project.m_fHoverX, 60.0f);
    EXPECT_FLOAT_EQ(m_project.m_fHoverY, 50.0f);
    sent = m_parent.Take(WM_CURSOR_MOVED);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].lParam, kHoverParam);
    // The same position again is not a move.
    Mouse(WM_MOUSEMOVE, 99, 0);
    EXPECT_TRUE(m_parent.Take(WM_CURSOR_MOVED).empty());
}

TEST_F(DataTopViewTest, HitZoneDecidesWhichLineTheDragMoves)
{
    Bind();
    m_view.Resize(CRect(0, 0, kWidth, kHeight));
    const CPoint centre = m_view.GetCrossHair().GetPosition();
    const struct { int dx, dy, mode; } cases[] = {
        {9, 9, CCrossHair::HIT_BOTH}, {10, 3, CCrossHair::HIT_HORIZONTAL},
        {3, 10, CCrossHair::HIT_VERTICAL}, {10, 10, CCrossHair::HIT_NONE},
    };
    for (const auto& c : cases) {
        Mouse(WM_MOUSEMOVE, centre.x + c.dx, centre.y + c.dy);
        EXPECT_EQ(m_view.GetCrossHair().GetHitMode(), c.mode) << c.dx << ", " << c.dy;
    }
    // Grabbing the horizontal line keeps x.
    Mouse(WM_MOUSEMOVE, centre.x + 10, centre.y + 3);
    Mouse(WM_LBUTTONDOWN, centre.x + 10, centre.y + 3, MK_LBUTTON);
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(centre.x, centre.y + 3));
    Mouse(WM_MOUSEMOVE, centre.x + 20, centre.y + 8, MK_LBUTTON);
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(centre.x, centre.y + 8));
    // Moving on without the button ends the drag with a hover notice.
    m_parent.m_messages.clear();
    Mouse(WM_MOUSEMOVE, centre.x + 21, centre.y + 8);
    EXPECT_FALSE(m_view.GetCrossHair().IsDragging());
    const auto sent = m_parent.Take(WM_CURSOR_MOVED);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].lParam, kHoverParam);
    Mouse(WM_LBUTTONUP, centre.x + 21, centre.y + 8);

    // The view leaves the keys to the main view.
    m_view.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(centre.x, centre.y + 8));
}

TEST_F(DataTopViewTest, CrossHairFollowsTheProjectAndRestoresTheImageUnderIt)
{
    Bind();
    m_view.Render();
    const CPoint old = m_view.GetCrossHair().GetPosition();
    m_project.m_fCursorX = 60; // one past the last pixel: held on it
    m_project.m_fCursorY = 0;
    m_view.UpdateCursor();
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(kWidth - 1, kHeight - 1));
    // The new lines are drawn on the window, the old ones restored from the image.
    const QImage& shown = *m_view.GetBackingImage();
    int red = 0;
    for (int x = 0; x < kWidth; ++x)
        red += (shown.pixel(x, kHeight - 1) & 0xFFFFFF) == 0xFF0000u;
    EXPECT_GT(red, kWidth / 3); // dashed
    EXPECT_EQ(shown.pixel(old.x, 25) & 0xFFFFFF, (128u << 16) | (50u << 8) | 127u);

    // A new depth invalidates the image.
    m_project.m_fCursorDepth = kDepth + 1;
    m_view.UpdateCursor();
    EXPECT_FALSE(m_view.IsImageValid());
    EXPECT_FLOAT_EQ(m_view.GetSliceDepth(), kDepth + 1);
}

TEST_F(DataTopViewTest, WheelStepsTheDepthWithinZeroLevelAndSamples)
{
    Bind();
    const int zero = m_project.m_settings.m_iZeroLevel;
    m_project.m_fCursorDepth = float(zero + 3);
    m_parent.m_messages.clear();
    EXPECT_EQ(m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0), 1);
    EXPECT_FLOAT_EQ(m_project.m_fCursorDepth, float(zero + 1));
    EXPECT_EQ(m_project.m_settings.m_iDepthIndex, zero + 1);
    const auto sent = m_parent.Take(WM_CURSOR_MOVED);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].lParam, kSetParam);
    m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_FLOAT_EQ(m_project.m_fCursorDepth, float(zero));
    m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -120 * 10000), 0);
    EXPECT_LE(m_project.m_fCursorDepth, float(m_project.m_settings.m_iSamples - 1));

    // Not while another view creates a drawing object.
    const float depth = m_project.m_fCursorDepth;
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_CREATION, 1));
    ASSERT_EQ(m_view.GetPainter().GetState(), CDataViewPainter::STATE_FOREIGN);
    EXPECT_EQ(m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 0);
    EXPECT_EQ(m_project.m_fCursorDepth, depth);
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_CREATION, 0));
    EXPECT_EQ(m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 1);

    g_cfg.m_bUseMouseWheel = false;
    EXPECT_EQ(m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 0);
}

// A cross-hair dropped in the slice and taken back from the project (as another view's
// broadcast brings it) lies on the pixel where it was dropped, for every column and row.
TEST_F(DataTopViewTest, ADroppedCrossHairComesBackToItsPixel)
{
    Bind();
    for (const CSize size : {CSize(kWidth, kHeight), CSize(173, 91), CSize(37, 29)}) {
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        m_view.Resize(CRect(0, 0, size.cx, size.cy));
        for (int i = 0; i < std::max(size.cx, size.cy); ++i) {
            const CPoint point(std::min<int>(i, size.cx - 1), std::min<int>(i, size.cy - 1));
            Mouse(WM_LBUTTONDOWN, point.x, point.y, MK_LBUTTON);
            Mouse(WM_LBUTTONUP, point.x, point.y);
            const float x = m_project.m_fCursorX, y = m_project.m_fCursorY;
            m_project.m_fCursorX = m_project.m_fCursorY = -1.0f;
            m_view.UpdateCursor();
            m_project.m_fCursorX = x;
            m_project.m_fCursorY = y;
            m_view.UpdateCursor();
            ASSERT_EQ(m_view.GetCrossHair().GetPosition(), point);
        }
    }
}

// Dragging one line leaves the other coordinate as it was, also when it lies between pixels.
TEST_F(DataTopViewTest, DraggingOneLineKeepsTheOtherCoordinate)
{
    Bind();
    const CProjectSettings& s = m_project.m_settings;
    m_project.m_fCursorX = float(s.m_iSizeX - 1) * 0.6137f;
    m_project.m_fCursorY = float(s.m_iSizeY - 1) * 0.3791f;
    m_view.UpdateCursor();
    const float x = m_project.m_fCursorX, y = m_project.m_fCursorY;
    const CPoint at = m_view.GetCrossHair().GetPosition();
    const int beside = at.x >= 20 ? at.x - 20 : at.x + 20;
    const int above = at.y >= 20 ? at.y - 20 : at.y + 20;
    // The horizontal line alone, then the vertical one alone.
    Mouse(WM_MOUSEMOVE, beside, at.y);
    ASSERT_EQ(m_view.GetCrossHair().GetHitMode(), CCrossHair::HIT_HORIZONTAL);
    Mouse(WM_LBUTTONDOWN, beside, at.y, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, beside, at.y + 5, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, beside, at.y + 5);
    EXPECT_EQ(m_project.m_fCursorX, x);
    EXPECT_NE(m_project.m_fCursorY, y);
    const float y2 = m_project.m_fCursorY;
    Mouse(WM_MOUSEMOVE, at.x, above);
    ASSERT_EQ(m_view.GetCrossHair().GetHitMode(), CCrossHair::HIT_VERTICAL);
    Mouse(WM_LBUTTONDOWN, at.x, above, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, at.x + 5, above, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, at.x + 5, above);
    EXPECT_NE(m_project.m_fCursorX, x);
    EXPECT_EQ(m_project.m_fCursorY, y2);
}

TEST_F(DataTopViewTest, ResizeScalesTheCrossHairAndInvalidates)
{
    Bind();
    m_view.Render();
    Mouse(WM_LBUTTONDOWN, 99, 41, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 99, 41);
    m_view.Resize(CRect(0, 0, kWidth / 2, kHeight));
    EXPECT_FALSE(m_view.IsImageValid());
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(kWidth / 2 - 1, 41)); // 50 rounded, last pixel 49
    // Back at the old size the cross-hair is on the cursor's pixel again, not one off by scaling.
    m_view.Resize(CRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(99, 41));
    m_view.Render();
    EXPECT_EQ(Index(0, kHeight - 1), 147);
}

TEST_F(DataTopViewTest, BindingTakesOverTheProjectCursorAndItsObjects)
{
    // Objects that came with the project, and a cross-hair at the grid's origin.
    Tovrik::CDrawDataObject object;
    object.m_nType = Tovrik::CDrawDataObject::TYPE_RECT;
    object.m_fX1 = 5, object.m_fY1 = 5, object.m_fX2 = 20, object.m_fY2 = 20;
    object.m_fZ1 = object.m_fZ2 = kDepth;
    g_drawingManager.AddObject(object);
    Bind(0, 0);
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(0, kHeight - 1));
    EXPECT_EQ(m_view.GetPainter().GetObjectCount(), 1);

    // The objects of the next project replace these, as opening it does: binding it composes
    // only the objects that are there.
    g_drawingManager.RemoveAll();
    object.m_fX1 = 30, object.m_fX2 = 40;
    g_drawingManager.AddObject(object);
    g_drawingManager.AddObject(object);
    Bind(0, 0);
    ASSERT_EQ(m_view.GetPainter().GetObjectCount(), 2);
    EXPECT_EQ(m_view.GetPainter().GetObjectAt(0).m_pObject, g_drawingManager.GetObject(0));
    g_drawingManager.RemoveAll();
}

TEST_F(DataTopViewTest, ProjectCursorAtTheGridEndsReachesTheLastPixels)
{
    Bind();
    const struct { float x, y; CPoint pixel; } cases[] = {
        {60, 50, CPoint(kWidth - 1, 0)},
        {0, 50, CPoint(0, 0)},
        {60, 0, CPoint(kWidth - 1, kHeight - 1)},
        {30, 25, CPoint(49, 40)},
    };
    for (const auto& c : cases) {
        m_project.m_fCursorX = c.x;
        m_project.m_fCursorY = c.y;
        m_view.UpdateCursor();
        EXPECT_EQ(m_view.GetCrossHair().GetPosition(), c.pixel) << c.x << ", " << c.y;
    }
}

TEST_F(DataTopViewTest, ResizeFromNothingPlacesTheCrossHairAtTheCentre)
{
    CRecordingWnd empty;
    ASSERT_TRUE(empty.CreateShown(0, 0));
    CDataTopView view;
    ASSERT_TRUE(view.Create(&empty));
    EXPECT_EQ(view.GetCrossHair().GetPosition(), CPoint(0, 0));
    view.Resize(CRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(view.GetCrossHair().GetPosition(), CPoint(kWidth / 2, kHeight / 2));
    view.Resize(CRect(0, 0, 0, 0));
    EXPECT_EQ(view.GetCrossHair().GetPosition(), CPoint(0, 0));
    view.Resize(CRect(0, 0, 7, 3));
    EXPECT_EQ(view.GetCrossHair().GetPosition(), CPoint(3, 1));
}

TEST_F(DataTopViewTest, DrawingEventsAreRelayedOrApplied)
{
    CWinApp app(L"test");
    CRecordingWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateShown());
    app.m_pMainWnd = &mainWnd;
    m_parent.SetDlgCtrlID(ID_SENDER_DEPTH_SLICE);
    Bind();

    // The painter's own post goes to the main window under the parent's id.
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_PAINTER, MakeCodeParam(DRAW_ADDED, 4));
    auto relayed = mainWnd.Take(WM_DRAWING_EVENT);
    ASSERT_EQ(relayed.size(), 1u);
    EXPECT_EQ(relayed[0].wParam, WPARAM(ID_SENDER_DEPTH_SLICE));
    EXPECT_EQ(relayed[0].lParam, MakeCodeParam(DRAW_ADDED, 4));

    // Drawing mode hides the cross-hair from the mouse; the parent's own events are ignored.
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DEPTH_SLICE, MakeCodeParam(DRAW_MODE_ON, 0));
    EXPECT_FALSE(m_view.IsDrawingMode());
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_MODE_ON, 0));
    EXPECT_TRUE(m_view.IsDrawingMode());
    const CPoint before = m_view.GetCrossHair().GetPosition();
    Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), before);
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_MODE_OFF, 0));
    EXPECT_FALSE(m_view.IsDrawingMode());
    EXPECT_TRUE(mainWnd.Take(WM_DRAWING_EVENT).empty());

    // An added object enters the painter's list.
    Tovrik::CDrawDataObject object;
    object.m_fX1 = 5, object.m_fY1 = 5, object.m_fX2 = 20, object.m_fY2 = 20;
    object.m_fZ1 = object.m_fZ2 = kDepth;
    g_drawingManager.AddObject(object);
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_ADDED, 0));
    EXPECT_EQ(m_view.GetPainter().GetObjectCount(), 1);
    g_drawingManager.RemoveAll();
    app.m_pMainWnd = nullptr;
}

TEST_F(DataTopViewTest, CopyImageToDrawsOnlyOnContextsOfItsKind)
{
    Bind();
    QImage page(kWidth, kHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&page));
    dc.m_bPrinting = true;
    m_view.CopyImageTo(&dc); // a screen view draws nothing on a printer
    EXPECT_EQ(page.pixel(0, kHeight - 1) & 0xFFFFFF, 0xFFFFFFu);

    m_view.m_bForPrinting = true;
    m_view.CopyImageTo(&dc);
    EXPECT_TRUE(m_view.IsImageValid());
    EXPECT_EQ(page.pixel(0, kHeight - 1) & 0xFFFFFF, (147u << 16) | (50u << 8) | (255u - 147));
    const CPoint cross = m_view.GetCrossHair().GetPosition();
    int blue = 0;
    for (int y = 0; y < kHeight; ++y)
        blue += (page.pixel(cross.x, y) & 0xFFFFFF) == 0x0000FFu;
    EXPECT_GT(blue, kHeight / 3); // the vertical line, dashed
}

TEST_F(DataTopViewTest, UnboundViewDrawsTheEmptyPictureAndIgnoresMessages)
{
    m_view.Render();
    EXPECT_TRUE(m_view.IsImageValid());
    EXPECT_EQ(Pixel(kWidth / 2 + 10, kHeight / 2 - 20), (std::array<int, 3>{0xF0, 0xF0, 0xF0}));
    EXPECT_EQ(Pixel(kWidth / 2, kHeight / 2), (std::array<int, 3>{0, 0, 0})); // the diagonals cross

    m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_CONTRAST, 1));
    EXPECT_TRUE(m_view.IsImageValid());
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_MODE_ON, 0));
    EXPECT_FALSE(m_view.IsDrawingMode());
    EXPECT_EQ(m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 0);
    Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(m_parent.Take(WM_CURSOR_MOVED).empty());

    // Unbinding again leaves no pointer behind.
    Bind();
    m_view.SetProject(nullptr, nullptr);
    EXPECT_FALSE(m_view.IsBound());
    m_view.Render();
    EXPECT_EQ(Pixel(kWidth / 2, kHeight / 2), (std::array<int, 3>{0, 0, 0}));
}

} // namespace
