// The trace view: the wiggle line, centre line, marker lines and aperture band at their rows,
// dragging the markers with the mouse and the values reported to the parent, placing and
// resizing by the layout, and a view without samples or without a window.

#include "TraceView.h"

#include "GuiTestSupport.h"
#include "RecordingWnd.h"

#include <QImage>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(170, 170, 170);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class TraceViewTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_parent.CreateShown(400, 400)); }

    // A created view of width x height at the top left with count samples of one value.
    void Make(int width, int height, int count, float value = 0.0f)
    {
        ASSERT_TRUE(m_view.Create(&m_parent));
        m_view.SetRect(CRect(0, 0, width, height));
        float* samples = m_view.SetSampleCount(count);
        for (int i = 0; i < count; ++i)
            samples[i] = value;
        m_parent.m_messages.clear();
    }
    COLORREF Pixel(int x, int y) const { return m_view.GetSurface().GetPixel(x, y); }
    void Move(int y, bool bButton = true)
    {
        m_view.SendMessage(WM_MOUSEMOVE, bButton ? UINT(MK_LBUTTON) : 0u, MAKELPARAM(10, y));
    }
    void Press(int y)
    {
        Move(y, false);
        m_view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, y));
    }
    std::vector<CRecordedMessage> Reports()
    {
        ProcessEvents();
        return m_parent.Take(WM_VALUE_CHANGED);
    }

    CRecordingWnd m_parent;
    CTraceView m_view;
};
} // namespace

TEST_F(TraceViewTest, DrawsTraceCentreLineMarkersAndBandAtTheirRows)
{
    // 101 samples over 101 rows: one row a sample; amplitude 100 pixels, centre column 50.
    Make(101, 101, 101, 0.125f);
    m_view.GetSamples()[70] = -0.25f;
    m_view.m_lines[CTraceView::LineZeroLevel].m_fValue = 30.0f;
    m_view.m_lines[CTraceView::LineDepth] = {60.4f, true, m_view.m_lines[CTraceView::LineDepth].m_pPen};
    m_view.m_lines[CTraceView::LineAperture].m_bVisible = true;
    m_view.m_iAperture = 5;
    m_view.Render();

    EXPECT_EQ(Pixel(30, 0), kBlack);  // frame, top
    EXPECT_EQ(Pixel(30, 100), kBlack); // frame, bottom
    EXPECT_EQ(Pixel(30, 10), kWhite);
    EXPECT_EQ(Pixel(50, 5), kGrey);   // dashed centre line: on for 18 pixels
    EXPECT_EQ(Pixel(50, 20), kWhite); // then off for 6
    // The trace at 0.125 x 100 + 50, swinging to -0.25 x 100 + 50 at sample 70.
    EXPECT_EQ(Pixel(62, 10), kBlack);
    EXPECT_EQ(Pixel(62, 90), kBlack);
    EXPECT_EQ(Pixel(25, 70), kBlack);
    EXPECT_EQ(Pixel(63, 10), kWhite);
    EXPECT_EQ(Pixel(25, 50), kWhite);
    // First marker red at row 30, depth line green at trunc(60.4 + 0.5), and the band of
    // 5 samples at trunc(60.4 - 2) and trunc(60.4 + 2) in the depth line's pen.
    EXPECT_EQ(Pixel(5, 30), kRed);
    EXPECT_EQ(Pixel(20, 30), kWhite); // a gap of the dashes
    EXPECT_EQ(Pixel(5, 60), kGreen);
    EXPECT_EQ(Pixel(5, 58), kGreen);
    EXPECT_EQ(Pixel(5, 62), kGreen);
    EXPECT_EQ(Pixel(5, 59), kWhite);
    EXPECT_EQ(Pixel(5, 61), kWhite);

    // The paint shows the rendered image; the frame keeps its black pen on later images.
    m_view.Invalidate();
    m_view.UpdateWindow();
    const QImage shown = m_view.GetWidget()->grab().toImage();
    EXPECT_EQ(shown.pixel(5, 30), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(62, 10), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(30, 100), qRgb(0, 0, 0));
}

TEST_F(TraceViewTest, GainWidensTheSwingAndFarSwingsAreCutAtTheEdge)
{
    Make(101, 101, 101, 0.125f);
    m_view.m_fGain = 2.0f;
    m_view.Render();
    EXPECT_EQ(Pixel(75, 40), kBlack); // 0.125 x 200 + 50
    EXPECT_EQ(Pixel(62, 40), kWhite);

    // Huge gain, infinite and NaN samples: drawn quickly, nothing outside the surface.
    float* samples = m_view.GetSamples();
    samples[10] = std::numeric_limits<float>::infinity();
    samples[11] = std::numeric_limits<float>::quiet_NaN();
    samples[12] = -1.0f;
    m_view.m_fGain = 1.0e7f;
    const auto start = std::chrono::steady_clock::now();
    m_view.Render();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    // Only the swings through the view show: from infinity to NaN's column 0 on row 11, from
    // -1 back to the far right on row 13.
    EXPECT_EQ(Pixel(30, 9), kWhite);
    EXPECT_EQ(Pixel(30, 11), kBlack);
    EXPECT_EQ(Pixel(30, 13), kBlack);
    EXPECT_EQ(Pixel(30, 100), kBlack);
}

TEST_F(TraceViewTest, DraggingTheFirstMarkerReportsWholeSamples)
{
    const struct
    {
        int height, count;
        int row;       // dragged to
        float value;   // then line 0's value
        bool bReport;  // sent at that row
    } cases[] = {
        {256, 512, 100, 200.0f, true}, // trunc(100 x 511 / 255)
        {256, 512, 101, 202.0f, true},
        {201, 101, 100, 50.0f, true},  // half a sample a row
        {201, 101, 101, 50.0f, false}, // still sample 50: nothing sent
        {256, 512, 1000, 511.0f, true}, // past the bottom: the last sample
        {256, 512, -50, 0.0f, false},   // above the top: the first, where it was
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " rows, row " << c.row);
        Make(50, c.height, c.count);
        m_view.m_lines[CTraceView::LineZeroLevel].m_fValue = 0.0f;
        Press(2);
        ASSERT_TRUE(m_view.IsDragging());
        ASSERT_EQ(m_view.GetDraggedLine(), CTraceView::LineZeroLevel);
        if (!c.bReport) {
            Move(c.row - 1);
            Reports();
        }
        Move(c.row);
        EXPECT_EQ(m_view.m_lines[CTraceView::LineZeroLevel].m_fValue, c.value);
        const auto reports = Reports();
        if (c.bReport) {
            ASSERT_EQ(reports.size(), 1u);
            EXPECT_EQ(reports[0].wParam, WPARAM(CTraceView::ID_TRACE_VIEW));
            EXPECT_EQ(reports[0].lParam, LPARAM((int(c.value) << 16) | 1));
        } else {
            EXPECT_TRUE(reports.empty());
        }
        Move(c.row); // the same row again: nothing
        EXPECT_TRUE(Reports().empty());
        m_view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, c.row));
        EXPECT_FALSE(m_view.IsDragging());
        Move(c.row + 7); // no longer dragging: the line stays
        EXPECT_EQ(m_view.m_lines[CTraceView::LineZeroLevel].m_fValue, c.value);
        EXPECT_TRUE(Reports().empty());
        m_view.Release();
    }
}

TEST_F(TraceViewTest, PressPicksTheNearerLineAndDragsTheDepthLine)
{
    const struct
    {
        float zero, depth;
        bool bZeroVisible, bDepthVisible;
        int row;
        int dragged; // -1: not over a line
    } cases[] = {
        {40, 44, true, true, 42, CTraceView::LineDepth}, // a tie: the depth line
        {40, 44, true, true, 41, CTraceView::LineZeroLevel},
        {50, 50, false, true, 52, CTraceView::LineDepth},  // a hidden line counts 100 away
        {50, 50, true, false, 52, CTraceView::LineZeroLevel},
        {40, 44, true, true, 49, -1}, // 5 rows from the depth line: not over it
        {40, 44, true, true, 70, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row);
        Make(50, 101, 101);
        m_view.m_lines[CTraceView::LineZeroLevel].m_fValue = c.zero;
        m_view.m_lines[CTraceView::LineZeroLevel].m_bVisible = c.bZeroVisible;
        m_view.m_lines[CTraceView::LineDepth].m_fValue = c.depth;
        m_view.m_lines[CTraceView::LineDepth].m_bVisible = c.bDepthVisible;
        Press(c.row);
        EXPECT_EQ(m_view.IsOverLine(), c.dragged >= 0);
        if (c.dragged < 0) {
            EXPECT_FALSE(m_view.IsDragging());
            EXPECT_EQ(m_view.GetDraggedLine(), CTraceView::LineZeroLevel);
        } else {
            EXPECT_TRUE(m_view.IsDragging());
            EXPECT_EQ(m_view.GetDraggedLine(), c.dragged);
        }
        m_view.Release();
    }

    // The depth line follows the pointer in fractions of a sample and reports code 2.
    Make(50, 201, 101);
    m_view.m_lines[CTraceView::LineZeroLevel].m_fValue = 0.0f;
    m_view.m_lines[CTraceView::LineZeroLevel].m_bVisible = true;
    m_view.m_lines[CTraceView::LineDepth] = {90.0f, true, m_view.m_lines[CTraceView::LineDepth].m_pPen};
    Press(181);
    ASSERT_EQ(m_view.GetDraggedLine(), CTraceView::LineDepth);
    Move(121);
    EXPECT_FLOAT_EQ(m_view.m_lines[CTraceView::LineDepth].m_fValue, 60.5f);
    EXPECT_EQ(m_view.m_lines[CTraceView::LineZeroLevel].m_fValue, 0.0f);
    const auto reports = Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].lParam, LPARAM(2));
    // Moving on without the button ends the drag.
    Move(140, false);
    EXPECT_FALSE(m_view.IsDragging());
    EXPECT_FLOAT_EQ(m_view.m_lines[CTraceView::LineDepth].m_fValue, 60.5f);
}

TEST_F(TraceViewTest, LayoutPlacesAndResizesTheView)
{
    Make(101, 101, 101, 0.125f);
    EXPECT_EQ(m_view.GetID(), 211);
    EXPECT_EQ(m_view.GetMinSize(), CSize(10, 10));
    const auto placeInParent = [this] {
        CRect rect;
        m_view.GetWindowRect(&rect);
        CPoint origin = rect.TopLeft();
        m_parent.ScreenToClient(&origin);
        return CRect(origin, rect.Size());
    };

    m_view.SetRect(CRect(10, 20, 71, 61));
    EXPECT_EQ(m_view.GetDrawRect(), CRect(0, 0, 61, 41));
    EXPECT_EQ(m_view.GetSize(), CSize(61, 41));
    EXPECT_EQ(m_view.GetSurface().GetWidth(), 61);
    EXPECT_EQ(m_view.GetSurface().GetHeight(), 41);
    EXPECT_EQ(placeInParent(), CRect(10, 20, 71, 61));
    m_view.Render();
    EXPECT_EQ(Pixel(20, 40), kBlack); // the frame's bottom on the new last row
    EXPECT_EQ(Pixel(37, 20), kBlack); // the trace at 0.125 x 60 + 30

    // Back to the top left at the same size: moved although it matches the client rectangle.
    m_view.SetRect(CRect(0, 0, 61, 41));
    EXPECT_EQ(placeInParent(), CRect(0, 0, 61, 41));

    m_view.Show(false);
    EXPECT_FALSE(m_view.IsWindowVisible());
    m_view.Show(true);
    EXPECT_TRUE(m_view.IsWindowVisible());
}

TEST_F(TraceViewTest, WithoutSamplesOrWindowItDrawsOnlyWhatItHas)
{
    // Created over the parent's client area, no samples: background, frame and centre line.
    ASSERT_TRUE(m_view.Create(&m_parent));
    EXPECT_EQ(m_view.GetDrawRect(), CRect(0, 0, 400, 400));
    m_view.Render();
    EXPECT_EQ(Pixel(200, 3), kGrey);
    EXPECT_EQ(Pixel(150, 150), kWhite);
    EXPECT_EQ(Pixel(0, 150), kBlack);
    EXPECT_EQ(Pixel(5, 0), kRed); // the first marker at row 0 without a scale

    // One sample: no scale either, the trace is one point that is not drawn.
    float* sample = m_view.SetSampleCount(1);
    sample[0] = 0.5f;
    m_view.m_lines[CTraceView::LineZeroLevel].m_fValue = 0.0f;
    Press(0);
    Move(300);
    EXPECT_EQ(m_view.m_lines[CTraceView::LineZeroLevel].m_fValue, 0.0f);
    EXPECT_TRUE(Reports().empty());
    m_view.Render();
    EXPECT_EQ(Pixel(299, 150), kWhite);

    // Released, or never created: nothing reacts, nothing breaks.
    m_view.Release();
    m_view.Release();
    EXPECT_FALSE(m_view.IsCreated());
    CTraceView bare;
    bare.SetRect(CRect(0, 0, 50, 50));
    EXPECT_EQ(bare.GetDrawRect(), CRect());
    bare.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 3));
    bare.Render();
    EXPECT_EQ(bare.GetSampleCount(), 0);
}
