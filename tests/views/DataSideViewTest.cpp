// The section views: the blend of two neighbouring lines through the palette, the zero-level
// row, the slice-thickness band, keys and wheel on the depth line, the switches of the profile
// dialogs, printing, the relay of drawing events and grids and windows with nothing in them.

#include "DataSideView.h"

#include "GeneratedSurveyTest.h"
#include "GuiTestSupport.h"
#include "RecordingWnd.h"

#include "Cfg.h"
#include "DrawingManager.h"
#include "Matrix.h"
#include "Project.h"
#include "WinApp.h"

#include <QCursor>
#include <QWidget>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <memory>

namespace {

constexpr int kViewId = ID_SENDER_X_SECTION;
constexpr int kSamples = 64;
// As many pixel rows as samples: row r shows sample r.
constexpr int kHeight = kSamples;
constexpr COLORREF kYellow = RGB(255, 255, 0);

// The palette index of a value at contrast 0 without time gain.
int IndexOf(float v)
{
    return int(std::clamp(v * 0.3f, -1.0f, 1.0f) * 127.0f + 128.0f);
}

class DataSideViewTest : public GeneratedSurveyTest
{
protected:
    void SetUp() override
    {
        g_drawingManager.RemoveAll();
        g_cfg.LoadCursors();
        ASSERT_TRUE(m_parent.CreateShown(200, 100));
        m_parent.SetDlgCtrlID(kViewId - 1);
    }

    // Opens the project with plain display values and every trace 0, and makes a view of the
    // direction as wide as the grid positions along it and kHeight high.
    void Bind(int direction, CDataSideView& view)
    {
        ASSERT_TRUE(m_project.Open(s_rhdPath));
        CProjectSettings& s = m_project.m_settings;
        ASSERT_EQ(s.m_iSamples, kSamples);
        s.m_iContrast = 0;
        s.m_params.m_iTimeGain = 0;
        s.m_params.m_iAperture = 1;
        s.m_iZeroLevel = 0;
        m_project.m_fCursorX = 0;
        m_project.m_fCursorY = 0;
        m_project.m_fCursorDepth = 20;
        ASSERT_TRUE(m_matrix.Init(&m_project));
        ASSERT_TRUE(m_matrix.Calculate());
        for (uint32_t line = 0; line < m_matrix.m_nVertLines; ++line)
            for (uint32_t t = 0; t < m_matrix.m_nNY; ++t)
                std::fill_n(m_matrix.EditVertTrace(line, t), kSamples, 0.0f);
        for (uint32_t line = 0; line < m_matrix.m_nHorzLines; ++line)
            for (uint32_t t = 0; t < m_matrix.m_nNX; ++t)
                std::fill_n(m_matrix.EditHorzTrace(line, t), kSamples, 0.0f);
        ASSERT_TRUE(view.Create(&m_parent, kViewId, direction));
        m_width = direction == CDataSideView::DIRECTION_X ? s.m_iSizeX : s.m_iSizeY;
        view.Resize(CRect(0, 0, m_width, kHeight));
        view.SetData(&m_project, &m_matrix);
        view.Show(true);
    }
    float* Trace(int direction, int line, int trace)
    {
        return direction == CDataSideView::DIRECTION_X ? m_matrix.EditHorzTrace(uint32_t(line), uint32_t(trace))
                                                       : m_matrix.EditVertTrace(uint32_t(line), uint32_t(trace));
    }

    int Index(CDataSideView& view, int x, int y) { return view.GetImage().GetRowBits(y)[4 * x + 2]; }
    // The pixel as the window shows it.
    COLORREF Shown(CDataSideView& view, int x, int y)
    {
        const QRgb pixel = view.GetBackingImage()->pixel(x, y);
        return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
    }
    int YellowInRow(CDataSideView& view, int y)
    {
        int count = 0;
        for (int x = 0; x < m_width; ++x)
            count += Shown(view, x, y) == kYellow;
        return count;
    }
    // The project's depth that puts m_view's depth line on the row.
    void SetDepthRow(int row, int height)
    {
        m_project.m_fCursorDepth = float(row) * float(kSamples - 1) / float(height - 1) + 0.01f;
        m_view.UpdateFromSettings(false);
        ASSERT_EQ(m_view.GetCrossHair().GetPosition().y, row);
    }
    void Paint(CDataSideView& view)
    {
        view.Invalidate(false);
        view.UpdateWindow();
    }

    CIndexPalette m_palette;
    CRecordingWnd m_parent;
    CProject m_project;
    C3DMatrix m_matrix;
    CDataSideView m_view;
    int m_width = 0;
};

} // namespace

TEST_F(DataSideViewTest, BlendsTheTwoNeighbouringLinesOfTheSection)
{
    for (const int direction : {CDataSideView::DIRECTION_X, CDataSideView::DIRECTION_Y}) {
        SCOPED_TRACE(direction);
        CDataSideView view;
        Bind(direction, view);
        const int lines = view.GetLineCount();
        const int spacing = m_project.m_settings.m_iProfileSpacing;
        ASSERT_GE(lines, 3);
        // Line 1 has +1 at sample 10, line 2 has +1 at sample 30, the last line -1 at 40;
        // all at trace 5.
        Trace(direction, 1, 5)[10] = 1.0f;
        Trace(direction, 2, 5)[30] = 1.0f;
        Trace(direction, lines - 1, 5)[40] = -1.0f;
        const struct { float line; int sectionLine; float at10, at30, at40; } cases[] = {
            {1.0f, 1, 1.0f, 0.0f, 0.0f},
            {1.25f, 1, 0.75f, 0.25f, 0.0f},
            {1.5f, 1, 0.5f, 0.5f, 0.0f},
            // Exactly on the last line: that line, blended with its neighbour by nothing.
            {float(lines - 1), lines - 2, 0.0f, 0.0f, -1.0f},
            // Past the last line: the same.
            {float(lines + 3), lines - 2, 0.0f, 0.0f, -1.0f},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.line);
            (direction == CDataSideView::DIRECTION_X ? m_project.m_fCursorY : m_project.m_fCursorX) = c.line * spacing;
            view.UpdateFromSettings(false);
            EXPECT_FALSE(view.IsImageValid());
            EXPECT_EQ(view.GetSectionLine(), c.sectionLine);
            view.Render(CRect(0, 0, m_width, kHeight));
            ASSERT_TRUE(view.IsImageValid());
            EXPECT_NEAR(Index(view, 5, 10), IndexOf(c.at10), 1);
            EXPECT_NEAR(Index(view, 5, 30), IndexOf(c.at30), 1);
            EXPECT_NEAR(Index(view, 5, 40), IndexOf(c.at40), 1);
            // Half a column over: half the value.
            EXPECT_EQ(Index(view, 7, 10), 128);
        }
    }
}

TEST_F(DataSideViewTest, ZeroLevelRowIsTheFirstRowAtOrBelowTheZeroLevel)
{
    Bind(CDataSideView::DIRECTION_X, m_view);
    const struct { int height, zeroLevel, row; } cases[] = {
        {64, 10, 10},  // one sample a row
        {32, 10, 5},   // 63 / 31 samples a row: row 4 lies at 8.1, row 5 at 10.2
        {127, 10, 20}, // half a sample a row
        {64, 0, 0},
        {1, 10, 0},    // one row for everything
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        m_project.m_fCursorDepth = 30;
        m_view.UpdateFromSettings(false);
        m_project.m_settings.m_iZeroLevel = c.zeroLevel;
        m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_ZERO_LEVEL, 0));
        m_view.Resize(CRect(0, 0, m_width, c.height));
        m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_ZERO_LEVEL, 0));
        EXPECT_EQ(m_view.GetZeroLevelRow(), c.row);
        // A cross-hair above the zero level is shown on its row.
        m_project.m_fCursorDepth = 0;
        m_view.UpdateFromSettings(false);
        EXPECT_EQ(m_view.GetCrossHair().GetPosition().y, c.row);
    }
}

TEST_F(DataSideViewTest, BandOffsetsFollowTheSliceThickness)
{
    Bind(CDataSideView::DIRECTION_X, m_view);
    const struct { int samples, height, thickness, upper, lower; } cases[] = {
        {64, 64, 1, 0, 0},  // the band lines lie on the depth line
        {65, 33, 4, 0, 1},  // two samples a row: -0.5 truncates to 0
        {65, 33, 9, -2, 2},
        {64, 64, 9, -4, 4},
        {64, 1, 9, 0, 0},   // no row step
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.thickness);
        m_project.m_settings.m_iSamples = c.samples;
        m_project.m_settings.m_params.m_iAperture = c.thickness;
        m_view.Resize(CRect(0, 0, m_width, c.height + 1));
        m_view.Resize(CRect(0, 0, m_width, c.height));
        EXPECT_EQ(m_view.GetUpperBandOffset(), c.upper);
        EXPECT_EQ(m_view.GetLowerBandOffset(), c.lower);
    }
}

TEST_F(DataSideViewTest, BandLinesMoveWithTheDepthLine)
{
    Bind(CDataSideView::DIRECTION_X, m_view);
    m_project.m_settings.m_params.m_iAperture = 9;
    m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_THICKNESS, 9));
    Paint(m_view);
    const int y = m_view.GetCrossHair().GetPosition().y;
    ASSERT_EQ(y, 20);
    for (const int row : {16, 20, 24})
        EXPECT_GT(YellowInRow(m_view, row), m_width / 3) << row;
    EXPECT_EQ(YellowInRow(m_view, 18), 0);

    // Three rows down: the old band rows are restored, the new ones drawn.
    m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -360), 0);
    EXPECT_EQ(m_view.GetCrossHair().GetPosition().y, 23);
    for (const int row : {16, 20, 24})
        EXPECT_EQ(YellowInRow(m_view, row), 0) << row;
    for (const int row : {19, 23, 27})
        EXPECT_GT(YellowInRow(m_view, row), m_width / 3) << row;

    // Without the cross-hair shown neither lines nor band lines are drawn.
    m_view.SetCrossHairShown(false);
    Paint(m_view);
    for (const int row : {19, 23, 27})
        EXPECT_EQ(YellowInRow(m_view, row), 0) << row;
}

TEST_F(DataSideViewTest, KeysMoveTheDepthLineByWholeSamples)
{
    Bind(CDataSideView::DIRECTION_X, m_view);
    const struct { int height, zeroLevel, start; UINT key; int row; bool notified; } cases[] = {
        {64, 0, 20, VK_DOWN, 21, true},
        {64, 0, 20, VK_UP, 19, true},
        {127, 0, 20, VK_UP, 18, true},     // two rows a sample
        {64, 10, 10, VK_UP, 10, true},     // on the zero-level row it stays, and still tells
        {64, 0, 63, VK_DOWN, 63, true},    // on the last row likewise
        {32, 0, 10, VK_DOWN, 10, true},    // a row spans two samples: no whole row a sample
        {64, 0, 20, VK_LEFT, 20, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " " << c.start << " " << c.key);
        m_project.m_settings.m_iZeroLevel = c.zeroLevel;
        m_view.Resize(CRect(0, 0, m_width, c.height));
        m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_ZERO_LEVEL, 0));
        SetDepthRow(c.start, c.height);
        m_parent.Take(WM_CURSOR_MOVED);
        m_view.OnKeyDown(c.key, 1, 0);
        EXPECT_EQ(m_view.GetCrossHair().GetPosition().y, c.row);
        const auto sent = m_parent.Take(WM_CURSOR_MOVED);
        ASSERT_EQ(sent.size(), c.notified ? 1u : 0u);
        if (c.notified) {
            EXPECT_EQ(sent[0].lParam, MakeCursorParam(kViewId, true));
            EXPECT_NEAR(m_project.m_fCursorDepth, c.row * 63.0f / float(c.height - 1), 0.01f);
            EXPECT_EQ(m_project.m_settings.m_iDepthIndex, int(m_project.m_fCursorDepth));
        }
    }
}

TEST_F(DataSideViewTest, WheelMovesTheDepthLineByRows)
{
    Bind(CDataSideView::DIRECTION_X, m_view);
    m_project.m_settings.m_iZeroLevel = 10;
    m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_ZERO_LEVEL, 0));
    const struct { int start, delta, row; } cases[] = {
        {20, 120, 19},   // forward goes up
        {20, -240, 22},
        {11, 360, 10},   // never above the zero-level row
        {62, -480, 63},  // nor below the last row
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        SetDepthRow(c.start, kHeight);
        m_parent.Take(WM_CURSOR_MOVED);
        EXPECT_EQ(m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, c.delta), 0), 1);
        EXPECT_EQ(m_view.GetCrossHair().GetPosition().y, c.row);
        EXPECT_NEAR(m_project.m_fCursorDepth, float(c.row), 0.01f);
        const auto sent = m_parent.Take(WM_CURSOR_MOVED);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].lParam, MakeCursorParam(kViewId, true));
    }
    // The configuration's switch turns the wheel off.
    g_cfg.m_bUseMouseWheel = false;
    EXPECT_EQ(m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 0);
}

TEST_F(DataSideViewTest, WheelWaitsWhileAnotherViewCreatesAnObjectUnlessThePainterIsOff)
{
    Bind(CDataSideView::DIRECTION_X, m_view);
    SetDepthRow(20, kHeight);
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_CREATION, 1));
    ASSERT_EQ(m_view.GetPainter().GetState(), CDataViewPainter::STATE_FOREIGN);
    EXPECT_EQ(m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 0);
    EXPECT_EQ(m_view.GetCrossHair().GetPosition().y, 20);

    m_view.SetPainterEnabled(false);
    EXPECT_EQ(m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 1);
    EXPECT_EQ(m_view.GetCrossHair().GetPosition().y, 19);
}

TEST_F(DataSideViewTest, DraggingSetsDepthAndPositionAlongTheSection)
{
    Bind(CDataSideView::DIRECTION_Y, m_view);
    m_project.m_settings.m_iZeroLevel = 10;
    m_view.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_ZERO_LEVEL, 0));
    m_project.m_fCursorX = 7;
    // A press on nothing grabs both lines; y never goes above the zero-level row.
    m_view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 3));
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(30, 10));
    EXPECT_NEAR(m_project.m_fCursorY, 30.0f, 0.01f);
    EXPECT_FLOAT_EQ(m_project.m_fCursorX, 7.0f);
    EXPECT_NEAR(m_project.m_fCursorDepth, 10.0f, 0.01f);
    m_view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 3));

    // With the position line fixed the vertical line is no target and x stays.
    m_view.SetPositionLineMovable(false);
    m_view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(32, 40));
    EXPECT_EQ(m_view.GetCrossHair().GetHitMode(), CCrossHair::HIT_NONE);
    m_view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 40));
    m_view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 45));
    EXPECT_EQ(m_view.GetCrossHair().GetPosition(), CPoint(30, 45));
    EXPECT_NEAR(m_project.m_fCursorY, 30.0f, 0.01f);
    EXPECT_NEAR(m_project.m_fCursorDepth, 45.0f, 0.01f);
    m_view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 45));
}

// The broadcast that follows a drop puts the position line back where it was dropped, for
// every column of views as wide as the grid, narrower, wider and of odd widths.
TEST_F(DataSideViewTest, ADroppedPositionLineStaysOnItsColumn)
{
    for (const int direction : {CDataSideView::DIRECTION_X, CDataSideView::DIRECTION_Y}) {
        CDataSideView view;
        Bind(direction, view);
        for (const int width : {m_width, 2 * m_width + 1, m_width / 2 + 1, 333}) {
            SCOPED_TRACE(testing::Message() << "direction " << direction << " width " << width);
            view.Resize(CRect(0, 0, width, kHeight));
            for (int x = 0; x < width; ++x) {
                view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 30));
                view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 30));
                view.UpdateFromSettings(false);
                ASSERT_EQ(view.GetCrossHair().GetPosition(), CPoint(x, 30)) << x;
            }
        }
    }
}

// Keys, the wheel and dragging the depth line alone change the depth and nothing else, also
// for a cursor between two columns (typed, or set in another view).
TEST_F(DataSideViewTest, MovingTheDepthAloneKeepsThePosition)
{
    for (const int direction : {CDataSideView::DIRECTION_X, CDataSideView::DIRECTION_Y}) {
        SCOPED_TRACE(direction);
        CDataSideView view;
        Bind(direction, view);
        view.Resize(CRect(0, 0, m_width * 3 / 2 + 1, kHeight));
        const CProjectSettings& s = m_project.m_settings;
        m_project.m_fCursorX = float(s.m_iSizeX - 1) * 0.6137f;
        m_project.m_fCursorY = float(s.m_iSizeY - 1) * 0.3791f;
        view.UpdateFromSettings(false);
        const float x = m_project.m_fCursorX, y = m_project.m_fCursorY;
        const int column = view.GetCrossHair().GetPosition().x;
        const auto expectKept = [&](const char* what) {
            view.UpdateFromSettings(false);
            EXPECT_EQ(m_project.m_fCursorX, x) << what;
            EXPECT_EQ(m_project.m_fCursorY, y) << what;
            EXPECT_EQ(view.GetCrossHair().GetPosition().x, column) << what;
        };
        for (int i = 0; i < 5; ++i) {
            view.OnKeyDown(VK_DOWN, 1, 0);
            expectKept("down");
            view.OnKeyDown(VK_UP, 1, 0);
            expectKept("up");
            view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
            expectKept("wheel");
        }
        // Grab the depth line away from the position line and drag it down and up.
        const CPoint at = view.GetCrossHair().GetPosition();
        const int beside = at.x >= 20 ? at.x - 20 : at.x + 20;
        view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(beside, at.y));
        ASSERT_EQ(view.GetCrossHair().GetHitMode(), CCrossHair::HIT_HORIZONTAL);
        view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(beside, at.y));
        expectKept("press");
        for (const int dy : {3, 9, -4}) {
            view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(beside + dy, at.y + dy));
            expectKept("drag");
        }
        view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(beside, at.y - 4));
        EXPECT_EQ(view.GetCrossHair().GetPosition().y, at.y - 4);
    }
}

// Over a section the hover lies in the section's plane, whatever the slice last hovered:
// along X at the cross-hair's y, along Y at its x; a rectangle drawn there lies in it too.
TEST_F(DataSideViewTest, HoverAndDrawingUseTheSectionsPlane)
{
    for (const int direction : {CDataSideView::DIRECTION_X, CDataSideView::DIRECTION_Y}) {
        SCOPED_TRACE(direction);
        g_drawingManager.RemoveAll();
        CDataSideView view;
        Bind(direction, view);
        const bool bAlongX = direction == CDataSideView::DIRECTION_X;
        m_project.m_fCursorX = 5.0f;
        m_project.m_fCursorY = 10.0f;
        view.UpdateFromSettings(false);
        // The slice's last hover.
        m_project.m_fHoverX = 33.0f;
        m_project.m_fHoverY = 48.0f;
        view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, 30));
        const float along = MapTargetToSource(view.GetColumnMap(), 20);
        EXPECT_EQ(m_project.m_fHoverX, bAlongX ? along : 5.0f);
        EXPECT_EQ(m_project.m_fHoverY, bAlongX ? 10.0f : along);
        float x = 0, y = 0;
        view.PixelToPosition(CPoint(40, 30), x, y);
        EXPECT_EQ(bAlongX ? y : x, bAlongX ? 10.0f : 5.0f);

        m_project.m_fHoverX = 33.0f;
        m_project.m_fHoverY = 48.0f;
        g_drawingManager.SetTool(Tovrik::CDrawingManager::TOOL_RECT);
        view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_MODE_ON, 0));
        view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
        view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
        view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 40));
        view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
        ASSERT_EQ(g_drawingManager.GetCount(), 1);
        const Tovrik::CDrawDataObject& o = *g_drawingManager.GetObject(0);
        EXPECT_EQ(bAlongX ? o.m_fY1 : o.m_fX1, bAlongX ? 10.0f : 5.0f);
        EXPECT_EQ(bAlongX ? o.m_fY2 : o.m_fX2, bAlongX ? 10.0f : 5.0f);
        EXPECT_EQ(bAlongX ? o.m_fX2 : o.m_fY2, MapTargetToSource(view.GetColumnMap(), 30));
        view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_MODE_OFF, 0));
    }
    g_drawingManager.RemoveAll();
}

// Bound while it had no size (a section hidden in the simple layout), the view puts its lines
// on the cursor once it is given one, not at the middle.
TEST_F(DataSideViewTest, ShownAfterBindingWithoutASizeTheLinesMarkTheCursor)
{
    for (const int direction : {CDataSideView::DIRECTION_X, CDataSideView::DIRECTION_Y}) {
        SCOPED_TRACE(direction);
        CDataSideView view;
        Bind(direction, view);
        const int width = m_width;
        view.Resize(CRect(0, 0, 0, 0));
        m_project.m_fCursorX = 3.0f;
        m_project.m_fCursorY = 4.0f;
        m_project.m_fCursorDepth = 50.0f;
        view.SetData(&m_project, &m_matrix);
        view.UpdateFromSettings(false);
        view.Resize(CRect(0, 0, width, kHeight));
        const float along = direction == CDataSideView::DIRECTION_X ? 3.0f : 4.0f;
        EXPECT_EQ(view.GetCrossHair().GetPosition(), CPoint(MapSourceToTarget(view.GetColumnMap(), along), 50));
        const CPoint shown = view.GetCrossHair().GetPosition();
        view.UpdateFromSettings(true);
        EXPECT_EQ(view.GetCrossHair().GetPosition(), shown);
    }
}

TEST_F(DataSideViewTest, HiddenCrossHairShowsTheClassCursor)
{
    Bind(CDataSideView::DIRECTION_X, m_view);
    const CPoint at = m_view.GetCrossHair().GetPosition();
    m_view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 1, at.y + 1));
    EXPECT_EQ(m_view.GetWidget()->cursor().shape(), Qt::SizeAllCursor);
    m_view.SetCrossHairShown(false);
    m_view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 2, at.y + 1));
    EXPECT_EQ(m_view.GetWidget()->cursor().shape(), Qt::ArrowCursor);
    m_view.SetCrossHairShown(true);

    // A cursor the configuration has not loaded is the arrow too.
    g_cfg.m_cursors.at(CURSOR_MOVE).m_bLoaded = false;
    m_view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 1, at.y + 1));
    EXPECT_EQ(m_view.GetWidget()->cursor().shape(), Qt::ArrowCursor);
    g_cfg.m_cursors.at(CURSOR_MOVE).m_bLoaded = true;
}

TEST_F(DataSideViewTest, DrawingEventsAreRelayedWhileThePainterIsEnabled)
{
    CWinApp app(L"test");
    CRecordingWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateShown());
    app.m_pMainWnd = &mainWnd;
    Bind(CDataSideView::DIRECTION_X, m_view);

    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_PAINTER, MakeCodeParam(DRAW_ADDED, 4));
    auto relayed = mainWnd.Take(WM_DRAWING_EVENT);
    ASSERT_EQ(relayed.size(), 1u);
    EXPECT_EQ(relayed[0].wParam, WPARAM(kViewId - 1));
    EXPECT_EQ(relayed[0].lParam, MakeCodeParam(DRAW_ADDED, 4));

    // Another sender's drawing mode applies; the parent's own is ignored.
    m_view.SendMessage(WM_DRAWING_EVENT, kViewId - 1, MakeCodeParam(DRAW_MODE_ON, 0));
    EXPECT_FALSE(m_view.IsDrawingMode());
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_MODE_ON, 0));
    EXPECT_TRUE(m_view.IsDrawingMode());
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_MODE_OFF, 0));
    EXPECT_FALSE(m_view.IsDrawingMode());

    // Without a painter nothing is relayed nor applied.
    m_view.SetPainterEnabled(false);
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_PAINTER, MakeCodeParam(DRAW_ADDED, 4));
    m_view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL, MakeCodeParam(DRAW_MODE_ON, 0));
    EXPECT_TRUE(mainWnd.Take(WM_DRAWING_EVENT).empty());
    EXPECT_FALSE(m_view.IsDrawingMode());
    app.m_pMainWnd = nullptr;
}

TEST_F(DataSideViewTest, BindingTheNextProjectTakesOverItsObjects)
{
    Tovrik::CDrawDataObject object;
    object.m_nType = Tovrik::CDrawDataObject::TYPE_RECT;
    object.m_fX1 = 2, object.m_fX2 = 8, object.m_fZ1 = 5, object.m_fZ2 = 15;
    g_drawingManager.AddObject(object);
    Bind(CDataSideView::DIRECTION_X, m_view);
    ASSERT_EQ(m_view.GetPainter().GetObjectCount(), 1);

    // The objects of the next project replace these, as opening it does: binding it measures
    // and composes only the objects that are there.
    g_drawingManager.RemoveAll();
    object.m_fX1 = 10;
    g_drawingManager.AddObject(object);
    g_drawingManager.AddObject(object);
    m_view.SetData(&m_project, &m_matrix);
    m_view.UpdateWindow();
    ASSERT_EQ(m_view.GetPainter().GetObjectCount(), 2);
    EXPECT_EQ(m_view.GetPainter().GetObjectAt(0).m_pObject, g_drawingManager.GetObject(0));
    g_drawingManager.RemoveAll();
}

// The objects are freed once all are removed: a painter that is unbound or switched off lets go
// of them too, and the next relayout measures none of them.
TEST_F(DataSideViewTest, RemovalOfAllObjectsEmptiesThePainterWhateverTheViewsState)
{
    const std::vector<std::pair<const char*, std::function<void(CDataSideView&)>>> states = {
        {"bound", [](CDataSideView&) {}},
        {"unbound", [](CDataSideView& view) { view.SetData(nullptr, nullptr); }},
        {"painter off", [](CDataSideView& view) { view.SetPainterEnabled(false); }},
    };
    for (const auto& [name, enterState] : states) {
        SCOPED_TRACE(name);
        Tovrik::CDrawDataObject object;
        object.m_nType = Tovrik::CDrawDataObject::TYPE_RECT;
        object.m_fX2 = 8, object.m_fZ2 = 15;
        g_drawingManager.AddObject(object);
        CDataSideView view;
        Bind(CDataSideView::DIRECTION_X, view);
        ASSERT_EQ(view.GetPainter().GetObjectCount(), 1);
        enterState(view);
        g_drawingManager.RemoveAll();
        view.SendMessage(WM_DRAWING_EVENT, ID_SENDER_APPLICATION, MakeCodeParam(DRAW_REMOVED, DRAW_NO_OBJECT));
        EXPECT_EQ(view.GetPainter().GetObjectCount(), 0);
        view.Resize(CRect(0, 0, m_width / 2, kHeight / 2));
        view.UpdateWindow();
    }
}

TEST_F(DataSideViewTest, CopyImageToPrintsAtTheViewsPlaceAndTheViewportOrigin)
{
    Bind(CDataSideView::DIRECTION_X, m_view);
    Trace(CDataSideView::DIRECTION_X, 0, 5)[10] = 1.0f;
    m_view.Resize(CRect(4, 6, 4 + m_width, 6 + kHeight));
    m_view.m_bForPrinting = true;
    m_view.SetCrossHairShown(false);
    Tovrik::CMemDC page;
    page.Create(200, 200);
    const CRect all(0, 0, 200, 200);
    CBrush white(RGB(255, 255, 255));
    page.FillRect(&all, &white);
    page.SetViewportOrg(20, 30);
    m_view.CopyImageTo(&page);
    const uint8_t* p = page.GetRowBits(30 + 6 + 10) + 4 * (20 + 4 + 5);
    EXPECT_EQ(p[2], IndexOf(1.0f));
    EXPECT_EQ(page.GetRowBits(30 + 6 - 1)[4 * (20 + 4 + 5) + 2], 255); // above it: the page
}

TEST_F(DataSideViewTest, DegenerateGridsAndEmptyWindowsRenderWithoutFault)
{
    Bind(CDataSideView::DIRECTION_X, m_view);
    CProjectSettings& s = m_project.m_settings;
    const struct { const char* what; int sizeX, samples, lines, width, height; } cases[] = {
        {"one trace", 1, 64, -1, 40, 30},
        {"one sample", -1, 1, -1, 40, 30},
        {"one line", -1, 64, 1, 40, 30},
        {"one pixel", -1, 64, -1, 1, 1},
        {"no pixel", -1, 64, -1, 0, 0},
        {"no sample", -1, 0, -1, 40, 30},
    };
    const int sizeX = s.m_iSizeX;
    const uint32_t lines = m_matrix.m_nHorzLines;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        s.m_iSizeX = c.sizeX < 0 ? sizeX : c.sizeX;
        s.m_iSamples = c.samples;
        m_matrix.m_nHorzLines = c.lines < 0 ? lines : uint32_t(c.lines);
        m_view.Resize(CRect(0, 0, c.width + 1, c.height + 1));
        m_view.Resize(CRect(0, 0, c.width, c.height));
        m_project.m_fCursorY = 1000;
        m_view.UpdateFromSettings(true);
        EXPECT_LE(m_view.GetSectionLine(), std::max(int(m_matrix.m_nHorzLines) - 1, 0));
        m_view.Render(CRect(0, 0, c.width, c.height));
        m_view.OnKeyDown(VK_DOWN, 1, 0);
        m_view.OnKeyDown(VK_UP, 1, 0);
        m_view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
        m_view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        m_view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 500));
        m_view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
        Paint(m_view);
        EXPECT_TRUE(std::isfinite(m_project.m_fCursorDepth));
    }
    s.m_iSizeX = sizeX;
    m_matrix.m_nHorzLines = lines;
}

TEST(DataSideView, UnboundViewDrawsItsEmptyPicture)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateShown(40, 40));
    CDataSideView view;
    ASSERT_TRUE(view.Create(&parent, 5, CDataSideView::DIRECTION_Y));
    EXPECT_FALSE(view.IsWindowVisible());
    EXPECT_EQ(view.GetSize(), CSize(40, 40));
    EXPECT_EQ(view.GetMinSize(), CSize(50, 50));
    view.Show(true);
    view.Render(CRect(0, 0, 40, 40));
    EXPECT_TRUE(view.IsImageValid());
    // One diagonal from the top-left corner, none from the top-right one.
    const uint8_t* p = view.GetImage().GetRowBits(15);
    EXPECT_EQ(p[4 * 15], 0);
    EXPECT_EQ(view.GetImage().GetRowBits(2)[4 * 37], 0xF0);
    EXPECT_EQ(view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 0);
    view.OnKeyDown(VK_DOWN, 1, 0);
    EXPECT_TRUE(parent.Take(WM_CURSOR_MOVED).empty());
}
