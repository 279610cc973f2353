// The drawing-object painter: object rectangles and depth ranges, the composition with its
// blend and frame settings, selection marks, grips, picking and the mouse edits.

#include "DataViewPainter.h"

#include "GuiTestSupport.h"
#include "Messages.h"
#include "ReferenceComposition.h"
#include "TestSupport.h"

#include "Cfg.h"

#include <QCursor>
#include <QWidget>
#include <cmath>
#include <random>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using Tovrik::CDrawDataObject;
using Tovrik::CDrawingManager;

namespace {
constexpr COLORREF kGround = RGB(128, 128, 128);
constexpr COLORREF kColour = 0x0064FF64; // the manager's default colour
// kColour over kGround at the default alpha 100: 128 + ((c - 128) x 100 + 127) / 255.
constexpr COLORREF kBlended = RGB(118, 178, 118);
constexpr COLORREF kMark = 0xFF6464;

// A section along X whose pixels are the object coordinates: x across, depth down, y fixed.
class CTestView : public CWnd, public IDataViewPainterHelper
{
public:
    CTestView()
    {
        Create(L"", WS_VISIBLE, CRect(0, 0, 100, 80), nullptr, 1);
        MapMessage(WM_DRAWING_EVENT, [this](WPARAM wParam, LPARAM lParam) {
            EXPECT_EQ(wParam, WPARAM(ID_SENDER_PAINTER));
            m_events.emplace_back(GetCode(lParam), GetSignedCodeValue(lParam));
            return LRESULT(0);
        });
    }
    void PixelToPosition(CPoint point, float& x, float& y) const override
    {
        x = float(point.x);
        y = 7.0f;
    }
    float PixelToDepth(CPoint point) const override { return float(point.y); }

    std::vector<std::pair<int, int>> m_events;
};

class DataViewPainterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_cfg.LoadCursors();
        g_drawingManager.RemoveAll();
        g_drawingManager.ResetDefaults();
        g_drawingManager.SetVisibility(CDrawingManager::VISIBLE_ALL);
        g_drawingManager.SetBusy(false);
        m_source.Create(100, 80);
        m_source.FillSolidRect(0, 0, 100, 80, kGround);
        m_painter.Create(&m_view, &m_view, CDataViewPainter::MODE_SECTION_X, 100, 80);
        m_painter.SetGridSize(100, 50, 80);
        m_painter.SetSource(&m_source);
    }
    void TearDown() override
    {
        g_drawingManager.RemoveAll();
        g_drawingManager.SetBusy(false);
        CWnd::ReleaseCapture();
    }

    // An object from (x1, depth1) to (x2, depth2) in the current style of its tool.
    CDrawDataObject* Add(int32_t type, float x1, float z1, float x2, float z2)
    {
        g_drawingManager.SetTool(type);
        CDrawDataObject object;
        object.m_nType = type;
        object.m_fX1 = x1;
        object.m_fX2 = x2;
        object.m_fY1 = object.m_fY2 = 7.0f;
        object.m_fZ1 = z1;
        object.m_fZ2 = z2;
        object.m_crFill = object.m_crLine = g_drawingManager.GetColor();
        CDrawDataObject* pAdded = g_drawingManager.AddObject(object);
        m_painter.OnObjectEvent(1, g_drawingManager.GetCount() - 1);
        return pAdded;
    }
    COLORREF At(int x, int y) { return m_painter.GetComposite().GetPixel(x, y); }
    std::vector<std::pair<int, int>> Events()
    {
        ProcessEvents();
        return std::exchange(m_view.m_events, {});
    }
    bool Down(int x, int y) { return m_painter.OnLButtonDown(CPoint(x, y), float(x), 7.0f, float(y)); }
    bool Move(int x, int y, UINT flags = MK_LBUTTON)
    {
        return m_painter.OnMouseMove(flags, CPoint(x, y), float(x), 7.0f, float(y));
    }
    bool Up(int x, int y) { return m_painter.OnLButtonUp(CPoint(x, y), float(x), 7.0f, float(y)); }

    CTestView m_view;
    Tovrik::CMemDC m_source;
    CDataViewPainter m_painter;
};

using TEvents = std::vector<std::pair<int, int>>;
} // namespace

TEST_F(DataViewPainterTest, ObjectRectanglesFollowTheModeAndAreAtLeastTwoPixels)
{
    const struct
    {
        int mode;
        int32_t type;
        float x1, y1, z1, x2, y2, z2;
        CRect expected;
    } cases[] = {
        // Top view, 101 x 51 grid over 201 x 101 pixels: rows count upwards.
        {CDataViewPainter::MODE_TOP, CDrawDataObject::TYPE_RECT, 50, 10, 0, 10, 40, 0, CRect(20, 20, 100, 80)},
        {CDataViewPainter::MODE_TOP, CDrawDataObject::TYPE_LINE, 50, 10, 0, 10, 40, 0, CRect(100, 80, 20, 20)},
        {CDataViewPainter::MODE_TOP, CDrawDataObject::TYPE_RECT, 50, 10, 0, 50, 10, 0, CRect(100, 80, 102, 82)},
        // Section along X: x over the columns, depth over the samples (61).
        {CDataViewPainter::MODE_SECTION_X, CDrawDataObject::TYPE_CIRCLE, 25, 3, 30, 75, 40, 15, CRect(50, 25, 150, 50)},
        // Section along Y: y over the rows.
        {CDataViewPainter::MODE_SECTION_Y, CDrawDataObject::TYPE_LINE, 25, 5, 30, 75, 45, 15, CRect(20, 50, 180, 25)},
    };
    for (const auto& c : cases) {
        CDataViewPainter painter;
        painter.Create(&m_view, &m_view, c.mode, 201, 101);
        painter.SetGridSize(101, 51, 61);
        CDrawDataObject object;
        object.m_nType = c.type;
        object.m_fX1 = c.x1;
        object.m_fY1 = c.y1;
        object.m_fZ1 = c.z1;
        object.m_fX2 = c.x2;
        object.m_fY2 = c.y2;
        object.m_fZ2 = c.z2;
        CDataViewPainter::CPaintObject paint;
        paint.m_pObject = &object;
        painter.CalcObjectRect(paint);
        EXPECT_EQ(CRect(paint.m_nLeft, paint.m_nTop, paint.m_nRight, paint.m_nBottom), c.expected)
            << "mode " << c.mode << " type " << c.type;
    }
    // A grid of one position or one sample puts everything on the first pixel.
    CDataViewPainter single;
    single.Create(&m_view, &m_view, CDataViewPainter::MODE_SECTION_X, 50, 50);
    single.SetGridSize(1, 1, 1);
    CDrawDataObject line;
    line.m_fX2 = 1e30f;
    line.m_fZ2 = 5.0f;
    CDataViewPainter::CPaintObject paint;
    paint.m_pObject = &line;
    single.CalcObjectRect(paint);
    EXPECT_EQ(CRect(paint.m_nLeft, paint.m_nTop, paint.m_nRight, paint.m_nBottom), CRect(0, 0, 0, 0));
}

// The listed objects move with every change of the grid or the size, also one back to values
// they had, as on a painter made with the values; a repeated value changes nothing.
TEST_F(DataViewPainterTest, ListedObjectsFollowEachChangeOfGridAndSize)
{
    Add(CDrawDataObject::TYPE_RECT, 20, 10, 60, 40);
    const struct
    {
        int sizeX, sizeY, samples, width, height;
    } steps[] = {{100, 50, 80, 100, 80}, {200, 50, 80, 100, 80}, {200, 50, 40, 100, 80}, {200, 50, 40, 150, 60},
                 {200, 50, 40, 150, 60}, {100, 50, 80, 150, 60}, {100, 50, 80, 100, 80}};
    for (const auto& step : steps) {
        m_painter.SetGridSize(step.sizeX, step.sizeY, step.samples);
        m_painter.SetSize(step.width, step.height);
        CDataViewPainter fresh;
        fresh.Create(&m_view, &m_view, CDataViewPainter::MODE_SECTION_X, step.width, step.height);
        fresh.SetGridSize(step.sizeX, step.sizeY, step.samples);
        CDataViewPainter::CPaintObject expected;
        expected.m_pObject = g_drawingManager.GetObject(0);
        fresh.CalcObjectRect(expected);
        const CDataViewPainter::CPaintObject& listed = m_painter.GetObjectAt(0);
        EXPECT_EQ(CRect(listed.m_nLeft, listed.m_nTop, listed.m_nRight, listed.m_nBottom),
                  CRect(expected.m_nLeft, expected.m_nTop, expected.m_nRight, expected.m_nBottom))
            << step.sizeX << " " << step.samples << " " << step.width << "x" << step.height;
    }
}

TEST_F(DataViewPainterTest, TheTopViewShowsObjectsNearTheSliceDepth)
{
    CDataViewPainter top;
    top.Create(&m_view, &m_view, CDataViewPainter::MODE_TOP, 100, 80);
    top.SetGridSize(100, 80, 50);
    top.SetDepthRange(20.0f, false);
    const struct
    {
        int visibility;
        float z1, z2;
        bool shown;
    } cases[] = {
        {CDrawingManager::VISIBLE_RANGE, 22.9f, 25.0f, true},  // 2.9 below
        {CDrawingManager::VISIBLE_RANGE, 23.0f, 25.0f, false}, // 3.0 below
        {CDrawingManager::VISIBLE_RANGE, 10.0f, 13.0f, true},  // 7.0 above
        {CDrawingManager::VISIBLE_RANGE, 10.0f, 12.9f, false}, // 7.1 above
        {CDrawingManager::VISIBLE_RANGE, 40.0f, 1.0f, true},   // spans the slice
        {CDrawingManager::VISIBLE_ALL, 40.0f, 45.0f, true},
        {CDrawingManager::VISIBLE_HIDE, 20.0f, 20.0f, false},
    };
    CDrawDataObject object;
    CDataViewPainter::CPaintObject paint;
    paint.m_pObject = &object;
    for (const auto& c : cases) {
        g_drawingManager.SetVisibility(c.visibility);
        object.m_fZ1 = c.z1;
        object.m_fZ2 = c.z2;
        top.UpdateVisibility(paint);
        EXPECT_EQ(paint.m_bInRange, c.shown) << c.visibility << " " << c.z1 << " " << c.z2;
        m_painter.UpdateVisibility(paint);
        EXPECT_TRUE(paint.m_bInRange); // a section shows every object
    }
}

TEST_F(DataViewPainterTest, CompositionBlendsObjectsAndDrawsOpaqueFrames)
{
    Add(CDrawDataObject::TYPE_RECT, 10, 10, 30, 25);
    Add(CDrawDataObject::TYPE_CIRCLE, 50, 10, 80, 40);
    Add(CDrawDataObject::TYPE_LINE, 10, 60, 90, 60);
    const struct
    {
        bool overlay, frame;
        COLORREF edge, inside, circleEdge, line;
    } cases[] = {
        {true, true, kColour, kBlended, kColour, kColour},
        {true, false, kBlended, kBlended, kBlended, kBlended},
        {false, true, kColour, kBlended, kColour, kColour},
        {false, false, kBlended, kBlended, kBlended, kBlended},
    };
    for (const auto& c : cases) {
        g_drawingManager.SetOverlay(c.overlay);
        g_drawingManager.SetDrawFrame(c.frame);
        m_painter.Paint();
        const char* name = c.overlay ? (c.frame ? "overlay, frames" : "overlay") : (c.frame ? "frames" : "plain");
        EXPECT_EQ(At(10, 15), c.edge) << name;
        EXPECT_EQ(At(29, 24), c.edge) << name;
        EXPECT_EQ(At(20, 17), c.inside) << name;
        EXPECT_EQ(At(30, 17), kGround) << name; // the right edge lies outside
        EXPECT_EQ(At(65, 25), c.inside) << name;
        EXPECT_EQ(At(50, 25), c.circleEdge) << name;
        EXPECT_EQ(At(51, 11), kGround) << name; // in the circle's box, outside the circle
        EXPECT_EQ(At(40, 60), c.line) << name;
        EXPECT_EQ(At(5, 5), kGround) << name;
    }

    // With overlay, a later object's area hides the frames of earlier ones under it.
    g_drawingManager.SetOverlay(true);
    g_drawingManager.SetDrawFrame(true);
    g_drawingManager.SetColor(RGB(255, 0, 0));
    Add(CDrawDataObject::TYPE_RECT, 20, 5, 40, 20);
    m_painter.Paint();
    const COLORREF both = RGB(172, 109, 73); // red blended over kBlended
    EXPECT_EQ(At(25, 10), both);             // the first rectangle's top edge is covered
    EXPECT_EQ(At(25, 12), both);
    EXPECT_EQ(At(20, 12), RGB(255, 0, 0));   // the red frame
    EXPECT_EQ(At(10, 12), kColour);          // the uncovered left edge keeps its frame
    EXPECT_EQ(m_source.GetPixel(20, 17), kGround); // the view's image stays as it was
}

TEST_F(DataViewPainterTest, TheSelectedObjectGetsAFrameAndGripSquares)
{
    CDrawDataObject* pRect = Add(CDrawDataObject::TYPE_RECT, 10, 10, 30, 26);
    g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
    g_drawingManager.SelectObject(pRect);
    EXPECT_TRUE(m_painter.SetTool());
    EXPECT_EQ(m_painter.GetState(), CDataViewPainter::STATE_SELECTING);
    EXPECT_EQ(m_painter.GetSelected(), 0);
    EXPECT_EQ(At(15, 10), kMark);           // frame
    EXPECT_EQ(At(10, 10), kMark);           // grip square at the top-left corner
    EXPECT_EQ(At(8, 8), RGB(0, 0, 0));      // its outline, 2 pixels before the corner
    EXPECT_EQ(At(12, 12), RGB(0, 0, 0));    // and 2 after
    EXPECT_EQ(At(20, 8), RGB(0, 0, 0));     // top middle
    EXPECT_EQ(At(32, 28), RGB(0, 0, 0));    // bottom right, at the right and bottom edge
    EXPECT_EQ(At(20, 18), kBlended);        // no square in the middle
    EXPECT_EQ(At(7, 7), kGround);

    // Another tool clears the selection: the picture changes.
    g_drawingManager.SetTool(CDrawingManager::TOOL_LINE);
    EXPECT_TRUE(m_painter.SetTool());
    EXPECT_EQ(m_painter.GetSelected(), -1);
    EXPECT_EQ(At(15, 10), kColour);
    EXPECT_FALSE(m_painter.SetTool());
}

TEST_F(DataViewPainterTest, GripsAndCursorsAroundTheSelectedObject)
{
    CDrawDataObject* pRect = Add(CDrawDataObject::TYPE_RECT, 20, 20, 40, 40);
    g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
    g_drawingManager.SelectObject(pRect);
    m_painter.SetTool();
    const struct
    {
        int x, y, grip;
        Qt::CursorShape cursor;
    } cases[] = {
        {18, 30, 17, Qt::SizeHorCursor},   // 2 outside the left edge
        {17, 30, -1, Qt::ArrowCursor},     // 3 outside: no hit
        {20, 20, 9, Qt::SizeFDiagCursor},  // cursor 3, "\"
        {42, 42, 36, Qt::SizeFDiagCursor},
        {40, 19, 12, Qt::SizeBDiagCursor}, // cursor 4, "/"
        {21, 40, 33, Qt::SizeBDiagCursor},
        {30, 20, 10, Qt::SizeVerCursor},   // cursor 1
        {31, 41, 34, Qt::SizeVerCursor},
        {40, 29, 20, Qt::SizeHorCursor},
        {30, 30, 0, Qt::SizeAllCursor},    // both middles: the body
        {25, 33, 0, Qt::SizeAllCursor},
    };
    for (const auto& c : cases) {
        m_view.GetWidget()->unsetCursor();
        Move(c.x, c.y, 0);
        EXPECT_EQ(m_painter.HitTest(), c.grip >= 0) << c.x << "," << c.y;
        EXPECT_EQ(m_painter.GetGrip(), c.grip) << c.x << "," << c.y;
        EXPECT_EQ(m_view.GetWidget()->cursor().shape(), c.cursor) << c.x << "," << c.y;
    }

    // A line's grips are its two ends; its other corners are the body.
    CDrawDataObject* pLine = Add(CDrawDataObject::TYPE_LINE, 60, 50, 80, 30);
    g_drawingManager.SelectObject(pLine);
    m_painter.OnSelectionChanged();
    const struct
    {
        int x, y, grip;
    } line[] = {{60, 50, 33}, {81, 29, 12}, {60, 30, 0}, {80, 50, 0}, {70, 40, 0}};
    for (const auto& c : line) {
        Move(c.x, c.y, 0);
        m_painter.HitTest();
        EXPECT_EQ(m_painter.GetGrip(), c.grip) << c.x << "," << c.y;
        EXPECT_EQ(m_view.GetWidget()->cursor().shape(), c.grip > 0 ? Qt::CrossCursor : Qt::SizeAllCursor);
    }
}

TEST_F(DataViewPainterTest, PickingPrefersLinesThenTheMostPixels)
{
    g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
    Add(CDrawDataObject::TYPE_RECT, 10, 10, 60, 60);
    Add(CDrawDataObject::TYPE_LINE, 20, 29, 40, 29); // one row of the 3 x 3 around (30, 30)
    Add(CDrawDataObject::TYPE_LINE, 29, 20, 29, 40); // a column, pen width 2: two columns
    g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
    m_painter.SetTool();
    Move(30, 30, 0);
    const int picked = m_painter.PickObject();
    ASSERT_GE(picked, 0);
    EXPECT_EQ(m_painter.GetObjectAt(picked).m_pObject, g_drawingManager.GetObject(2));
    Move(50, 50, 0);
    EXPECT_EQ(m_painter.GetObjectAt(m_painter.PickObject()).m_pObject, g_drawingManager.GetObject(0));
    Move(80, 70, 0);
    EXPECT_EQ(m_painter.PickObject(), -1);
    Move(0, 0, 0); // the neighbourhood is clipped at the corner
    EXPECT_EQ(m_painter.PickObject(), -1);
}

TEST_F(DataViewPainterTest, CreatingAnObjectWithTheMouse)
{
    g_drawingManager.SetTool(CDrawingManager::TOOL_RECT);
    m_painter.Paint();
    // A click without a move creates nothing but tells of the start and the end.
    EXPECT_TRUE(Down(10, 10));
    EXPECT_TRUE(Up(10, 10));
    EXPECT_EQ(g_drawingManager.GetCount(), 0);
    EXPECT_EQ(Events(), (TEvents{{DRAW_CREATION, 1}, {DRAW_CREATION, 0}}));

    EXPECT_TRUE(Down(30, 25));
    EXPECT_TRUE(g_drawingManager.IsBusy());
    EXPECT_EQ(CWnd::GetCapture(), &m_view);
    EXPECT_EQ(m_painter.GetState(), CDataViewPainter::STATE_CREATING);
    // Another painter cannot start meanwhile.
    CDataViewPainter other;
    other.Create(&m_view, &m_view, CDataViewPainter::MODE_SECTION_X, 100, 80);
    EXPECT_FALSE(other.OnLButtonDown(CPoint(5, 5), 5, 7, 5));

    EXPECT_TRUE(Move(20, 15));
    EXPECT_EQ(At(25, 20), kBlended);
    EXPECT_TRUE(Move(10, 5)); // dragged up-left past the press point: normalised
    EXPECT_EQ(At(25, 20), kBlended);
    EXPECT_EQ(At(29, 24), kColour);
    EXPECT_EQ(At(35, 20), kGround);
    EXPECT_TRUE(Move(15, 10));
    EXPECT_EQ(At(12, 7), kGround); // the earlier, larger copy is gone
    EXPECT_TRUE(Up(15, 10));
    EXPECT_FALSE(g_drawingManager.IsBusy());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(m_painter.GetState(), CDataViewPainter::STATE_IDLE);
    ASSERT_EQ(g_drawingManager.GetCount(), 1);
    const CDrawDataObject* pObject = g_drawingManager.GetObject(0);
    EXPECT_EQ(pObject->m_nType, CDrawDataObject::TYPE_RECT);
    EXPECT_EQ(pObject->m_fX1, 30.0f); // the hover position and depth at the press
    EXPECT_EQ(pObject->m_fZ1, 25.0f);
    EXPECT_EQ(pObject->m_fX2, 15.0f); // and at the release
    EXPECT_EQ(pObject->m_fZ2, 10.0f);
    EXPECT_EQ(pObject->m_crFill, kColour);
    EXPECT_EQ(pObject->m_crLine, kColour);
    EXPECT_EQ(g_drawingManager.GetSelected(), 0);
    EXPECT_EQ(Events(), (TEvents{{DRAW_CREATION, 1}, {DRAW_CREATION, 0}, {DRAW_ADDED, 0}}));
    ASSERT_EQ(m_painter.GetObjectCount(), 1);
    EXPECT_EQ(At(15, 20), kColour); // drawn as an object now

    // A move without the button ends a creation as the button-up would.
    EXPECT_TRUE(Down(50, 50));
    EXPECT_TRUE(Move(60, 60, 0));
    EXPECT_EQ(g_drawingManager.GetCount(), 2);
    EXPECT_FALSE(g_drawingManager.IsBusy());
}

TEST_F(DataViewPainterTest, MovingAndResizingTheSelectedObject)
{
    Add(CDrawDataObject::TYPE_RECT, 20, 20, 40, 40);
    CDrawDataObject* pLine = Add(CDrawDataObject::TYPE_LINE, 60, 50, 80, 30);
    g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
    m_painter.SetTool();
    Events();

    // A press on the body of an unselected object picks it and moves it at once.
    EXPECT_TRUE(Down(30, 30));
    EXPECT_EQ(m_painter.GetState(), CDataViewPainter::STATE_MOVING);
    EXPECT_EQ(g_drawingManager.GetSelected(), 0);
    EXPECT_EQ(At(30, 30), kBlended); // the edit copy stands in for it
    EXPECT_TRUE(Move(35, 33));
    EXPECT_EQ(At(22, 30), kGround);
    EXPECT_EQ(At(42, 30), kBlended);
    EXPECT_TRUE(Up(35, 33));
    EXPECT_EQ(Events(), (TEvents{{DRAW_SELECTION, 0}, {DRAW_CHANGED, 0}}));
    const CDrawDataObject* pRect = g_drawingManager.GetObject(0);
    EXPECT_EQ(pRect->m_fX1, 25.0f);
    EXPECT_EQ(pRect->m_fX2, 45.0f);
    EXPECT_EQ(pRect->m_fZ1, 23.0f);
    EXPECT_EQ(pRect->m_fZ2, 43.0f);
    EXPECT_EQ(pRect->m_fY1, 7.0f);
    EXPECT_EQ(m_painter.GetState(), CDataViewPainter::STATE_SELECTING);
    EXPECT_EQ(At(25, 23), kMark);

    // The bottom-right grip, dragged past the top-left corner, stays under the mouse.
    EXPECT_TRUE(Down(45, 43));
    EXPECT_TRUE(Move(15, 13));
    EXPECT_TRUE(Move(10, 10));
    EXPECT_TRUE(Up(10, 10));
    EXPECT_EQ(pRect->m_fX1, 10.0f);
    EXPECT_EQ(pRect->m_fZ1, 10.0f);
    EXPECT_EQ(pRect->m_fX2, 25.0f);
    EXPECT_EQ(pRect->m_fZ2, 23.0f);
    EXPECT_FALSE(g_drawingManager.IsBusy());

    // A click on the selected object without a move changes nothing.
    Events();
    EXPECT_TRUE(Down(15, 15));
    EXPECT_TRUE(Up(15, 15));
    EXPECT_EQ(Events(), TEvents{});
    EXPECT_EQ(pRect->m_fX1, 10.0f);

    // A line's end grip moves that end only.
    g_drawingManager.SelectObject(pLine);
    m_painter.OnSelectionChanged();
    EXPECT_TRUE(Down(80, 30));
    EXPECT_TRUE(Move(85, 20));
    EXPECT_TRUE(Up(85, 20));
    EXPECT_EQ(pLine->m_fX1, 60.0f);
    EXPECT_EQ(pLine->m_fZ1, 50.0f);
    EXPECT_EQ(pLine->m_fX2, 85.0f);
    EXPECT_EQ(pLine->m_fZ2, 20.0f);
    // A press beside every object clears the selection.
    EXPECT_TRUE(Down(95, 75));
    EXPECT_EQ(g_drawingManager.GetSelected(), -1);
    EXPECT_EQ(m_painter.GetState(), CDataViewPainter::STATE_SELECTING);
    EXPECT_FALSE(Up(95, 75));
}

TEST_F(DataViewPainterTest, AnObjectTheListMissedIsSelectedAfterARebuild)
{
    Add(CDrawDataObject::TYPE_RECT, 10, 10, 20, 20);
    // Added to the manager without the painter hearing of it.
    CDrawDataObject object = *g_drawingManager.GetObject(0);
    object.m_fX1 = 50;
    object.m_fX2 = 60;
    CDrawDataObject* pMissed = g_drawingManager.AddObject(object);
    g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
    g_drawingManager.SelectObject(pMissed);
    m_painter.OnSelectionChanged();
    ASSERT_EQ(m_painter.GetObjectCount(), 2);
    ASSERT_GE(m_painter.GetSelected(), 0);
    EXPECT_EQ(m_painter.GetObjectAt(m_painter.GetSelected()).m_pObject, pMissed);
    // A press on the missed object's body moves it, not the first object.
    EXPECT_TRUE(Down(55, 15));
    EXPECT_TRUE(Move(57, 15));
    EXPECT_TRUE(Up(57, 15));
    EXPECT_EQ(g_drawingManager.GetObject(0)->m_fX1, 10.0f);
    EXPECT_EQ(pMissed->m_fX1, 52.0f);
}

TEST_F(DataViewPainterTest, SortingPutsTheLargerKeyFirstAndKeepsEqualKeysInTheirOrder)
{
    // The key is the smaller of the two coordinates across the view's plane. Equal keys (0 and
    // -0 among them) keep the manager's order; an object without a key (NaN) keeps its place
    // and nothing passes it.
    const float nan = std::nanf("");
    const std::pair<float, float> keys[] = {{3, 9}, {5, 5}, {9, 3},    {7, 8},      {5, 6},   {-0.0f, 1},
                                            {0, 0}, {3, 3}, {nan, nan}, {-2, -1}, {8, 8},   {5, 5}};
    const std::vector<int> expected = {3, 1, 4, 0, 2, 7, 5, 6, 8, 10, 11, 9};
    for (int mode : {CDataViewPainter::MODE_TOP, CDataViewPainter::MODE_SECTION_Y, CDataViewPainter::MODE_SECTION_X}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        // The two coordinates across the view's plane.
        const auto across = [mode](CDrawDataObject& o) -> std::pair<float*, float*> {
            switch (mode) {
            case CDataViewPainter::MODE_TOP: return {&o.m_fZ1, &o.m_fZ2};
            case CDataViewPainter::MODE_SECTION_Y: return {&o.m_fX1, &o.m_fX2};
            default: return {&o.m_fY1, &o.m_fY2};
            }
        };
        g_drawingManager.RemoveAll();
        for (const auto& key : keys) {
            CDrawDataObject object;
            object.m_nType = CDrawDataObject::TYPE_RECT;
            *across(object).first = key.first;
            *across(object).second = key.second;
            g_drawingManager.AddObject(object);
        }
        CDataViewPainter painter;
        painter.Create(&m_view, &m_view, mode, 100, 80);
        painter.SetGridSize(100, 50, 80);
        painter.RebuildObjects();
        std::vector<int> order;
        for (int i = 0; i < painter.GetObjectCount(); ++i)
            for (int k = 0; k < g_drawingManager.GetCount(); ++k)
                if (painter.GetObjectAt(i).m_pObject == g_drawingManager.GetObject(k))
                    order.push_back(k);
        EXPECT_EQ(order, expected);

        // The selection stays with its object when the object's key changes.
        g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
        g_drawingManager.SelectObject(g_drawingManager.GetObject(0));
        painter.OnSelectionChanged();
        EXPECT_EQ(painter.GetSelected(), 3);
        *across(*g_drawingManager.GetObject(0)).first = 20;
        painter.SortObjects();
        EXPECT_EQ(painter.GetObjectAt(0).m_pObject, g_drawingManager.GetObject(0));
        EXPECT_EQ(painter.GetSelected(), 0);
        EXPECT_EQ(painter.GetObjectAt(1).m_pObject, g_drawingManager.GetObject(3));
    }
}

TEST_F(DataViewPainterTest, TheListFollowsTheManager)
{
    Add(CDrawDataObject::TYPE_RECT, 10, 10, 20, 20);
    Add(CDrawDataObject::TYPE_RECT, 30, 10, 40, 20);
    Add(CDrawDataObject::TYPE_RECT, 50, 10, 60, 20);
    // Sorted by the coordinate across the plane (y here): larger first, equal ones in order.
    g_drawingManager.GetObject(1)->m_fY1 = g_drawingManager.GetObject(1)->m_fY2 = 9.0f;
    m_painter.SortObjects();
    EXPECT_EQ(m_painter.GetObjectAt(0).m_pObject, g_drawingManager.GetObject(1));
    EXPECT_EQ(m_painter.GetObjectAt(1).m_pObject, g_drawingManager.GetObject(0));

    g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
    g_drawingManager.SelectObject(g_drawingManager.GetObject(2));
    m_painter.OnSelectionChanged();
    EXPECT_EQ(m_painter.GetSelected(), 2);
    // Removing an object before the selected one moves the selection down.
    g_drawingManager.RemoveObject(0);
    m_painter.OnObjectEvent(2, 0);
    ASSERT_EQ(m_painter.GetObjectCount(), 2);
    EXPECT_EQ(m_painter.GetSelected(), 1);
    EXPECT_EQ(m_painter.GetObjectAt(1).m_pObject, g_drawingManager.GetSelectedObject());
    g_drawingManager.RemoveObject(g_drawingManager.GetSelected());
    m_painter.OnObjectEvent(2, 1);
    EXPECT_EQ(m_painter.GetSelected(), -1);
    g_drawingManager.RemoveAll();
    m_painter.OnObjectEvent(2, DRAW_NO_OBJECT);
    EXPECT_EQ(m_painter.GetObjectCount(), 0);

    ClearLog();
    CDrawDataObject stranger;
    EXPECT_EQ(m_painter.GetPaintObject(&stranger), -1);
    EXPECT_NE(ReadLog().find("GetPaintObject(): painter missing global object."), std::string::npos);

    // Another view's creation clears the selection here.
    Add(CDrawDataObject::TYPE_RECT, 10, 10, 20, 20);
    g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
    g_drawingManager.SelectObject(0);
    m_painter.SetTool();
    EXPECT_TRUE(m_painter.SetCreating(true));
    EXPECT_EQ(m_painter.GetState(), CDataViewPainter::STATE_FOREIGN);
    EXPECT_FALSE(m_painter.SetCreating(false));
    EXPECT_EQ(m_painter.GetState(), CDataViewPainter::STATE_IDLE);
}

namespace {
// FNV-1a over the composite's colours, row by row.
uint64_t CompositeHash(CDataViewPainter& painter)
{
    uint64_t hash = 14695981039346656037ull;
    Tovrik::CMemDC& composite = painter.GetComposite();
    for (int y = 0; y < composite.GetHeight(); ++y)
        for (int x = 0; x < composite.GetWidth(); ++x)
            hash = (hash ^ composite.GetPixel(x, y)) * 1099511628211ull;
    return hash;
}
} // namespace

// The compositions of a fixture of every kind of object, overlapping, in two colours and pen
// widths, against the compositions that drawing each shape with a painter of its own gave.
TEST_F(DataViewPainterTest, CompositionsStayPixelForPixelAsDrawnShapeByShape)
{
    for (int i = 0; i < 3; ++i) {
        g_drawingManager.SetColor(i == 1 ? RGB(255, 0, 0) : kColour);
        Add(CDrawDataObject::TYPE_RECT, 5.0f + 20 * i, 5, 30.0f + 20 * i, 30);
        Add(CDrawDataObject::TYPE_CIRCLE, 10.0f + 25 * i, 20, 40.0f + 25 * i, 60);
        Add(CDrawDataObject::TYPE_LINE, 2.0f + 30 * i, 70, 40.0f + 25 * i, 10);
    }
    CDrawDataObject* pSelected = Add(CDrawDataObject::TYPE_CIRCLE, 60, 40, 90, 75);
    const struct
    {
        bool overlay, frame;
        int alpha;
        uint64_t plain, selected, moving;
    } cases[] = {
        {true, true, 100, 0x7aded9a754368e6cull, 0xc0bc551dee76303cull, 0x5341384eb20a8d8full},
        {true, false, 100, 0x478aedf0b3d72fb1ull, 0xf46d5ed411e1f29dull, 0x28bdddbfb23926b8ull},
        {false, true, 100, 0xa88d9cddfc8468d3ull, 0x9d05fd9274df9007ull, 0xe46b0d60ca077e2cull},
        {false, false, 180, 0xc3b218fb0b0daad5ull, 0xe323c725b04a5afeull, 0x819ee9fdeffbd5e3ull},
    };
    for (const auto& c : cases) {
        g_drawingManager.SetOverlay(c.overlay);
        g_drawingManager.SetDrawFrame(c.frame);
        g_drawingManager.SetBlendAlpha(c.alpha);
        g_drawingManager.SetTool(CDrawingManager::TOOL_LINE);
        m_painter.SetTool();
        m_painter.Paint();
        const std::string name = std::string(c.overlay ? "overlay" : "plain") + (c.frame ? ", frames" : "");
        EXPECT_EQ(CompositeHash(m_painter), c.plain) << name;
        g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
        g_drawingManager.SelectObject(pSelected);
        m_painter.SetTool();
        EXPECT_EQ(CompositeHash(m_painter), c.selected) << name << ", selected";
        // Moving the selected object draws its edit copy over the composition without it.
        ASSERT_TRUE(Down(75, 40));
        ASSERT_EQ(m_painter.GetState(), CDataViewPainter::STATE_MOVING);
        Move(70, 30);
        EXPECT_EQ(CompositeHash(m_painter), c.moving) << name << ", moving";
        Up(70, 30); // the next case starts with the object moved
    }
}

// With no object to draw the composition is the picture itself in every mode; moving the only
// object shows its edit copy over the picture.
TEST_F(DataViewPainterTest, WithoutObjectsToDrawTheCompositionIsThePicture)
{
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            m_source.SetPixel(x, y, RGB(x * 2, y * 3, (x * y) & 0xFF));
    CDrawDataObject* pOnly = Add(CDrawDataObject::TYPE_CIRCLE, 60, 40, 90, 75);
    const struct
    {
        bool overlay, frame;
        uint64_t moving;
    } cases[] = {
        {true, true, 0xa6f3d0fd258ea872ull},
        {true, false, 0x9b0445f220a612b7ull},
        {false, true, 0xf51f302f62a7bd0eull},
        {false, false, 0xe1297a2ba06230b6ull},
    };
    for (const auto& c : cases) {
        const std::string name = std::string(c.overlay ? "overlay" : "plain") + (c.frame ? ", frames" : "");
        g_drawingManager.SetOverlay(c.overlay);
        g_drawingManager.SetDrawFrame(c.frame);
        g_drawingManager.SetBlendAlpha(120);
        pOnly->m_bVisible = false;
        m_painter.Paint();
        int differing = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x)
                differing += At(x, y) != m_source.GetPixel(x, y);
        EXPECT_EQ(differing, 0) << name;
        pOnly->m_bVisible = true;
        g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
        g_drawingManager.SelectObject(pOnly);
        m_painter.SetTool();
        ASSERT_TRUE(Down(75, 40)) << name;
        ASSERT_EQ(m_painter.GetState(), CDataViewPainter::STATE_MOVING);
        Move(70, 30);
        EXPECT_EQ(CompositeHash(m_painter), c.moving) << name << ", moving";
        Up(75, 40); // back where it was
    }
}

namespace {
// A source with a different colour in every pixel, so that every blend shows.
void FillGradient(Tovrik::CMemDC& source)
{
    for (int y = 0; y < source.GetHeight(); ++y) {
        uint32_t* row = source.GetRowPixels(y);
        for (int x = 0; x < source.GetWidth(); ++x)
            row[x] = Tovrik::CMemDC::PixelOf(RGB((x * 7) & 0xFF, (y * 5) & 0xFF, (x * y) & 0xFF));
    }
}

// The painter's composite and the composition drawn shape by shape differ nowhere.
testing::AssertionResult SameAsShapeByShape(CDataViewPainter& painter, Tovrik::CMemDC& source)
{
    std::vector<CDataViewPainter::CPaintObject> drawn;
    for (int i = 0; i < painter.GetObjectCount(); ++i)
        drawn.push_back(painter.GetObjectAt(i));
    const CDataViewPainter::CPaintObject* pSelected =
        painter.GetSelected() >= 0 ? &painter.GetObjectAt(painter.GetSelected()) : nullptr;
    Tovrik::CMemDC expected;
    ReferenceComposition::Compose(source, drawn, pSelected, g_drawingManager.GetOverlay(),
                                  g_drawingManager.GetDrawFrame(), g_drawingManager.GetBlendAlpha(), expected);
    Tovrik::CMemDC& composite = painter.GetComposite();
    for (int y = 0; y < source.GetHeight(); ++y)
        for (int x = 0; x < source.GetWidth(); ++x)
            if (composite.GetRowPixels(y)[x] != expected.GetRowPixels(y)[x])
                return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                   << composite.GetRowPixels(y)[x] << ", drawn shape by shape "
                                                   << expected.GetRowPixels(y)[x];
    return testing::AssertionSuccess();
}
} // namespace

// Random objects of every kind, colour and pen width, overlapping and reaching past the view's
// edges, on the fixture's view and on an odd-sized one, in every draw mode and with an object
// selected, against the composition drawn shape by shape. Pens of 12 pixels draw past the box
// that overlay mode blends; many objects of a few sizes are shapes shifted from one drawn.
TEST_F(DataViewPainterTest, CompositionsEqualTheCompositionDrawnShapeByShape)
{
    const struct
    {
        int width, height;
        std::vector<int> penWidths;
        int objects, span; // objects reach over up to span grid units
    } fixtures[] = {
        {100, 80, {1, 2, 3}, 80, 30},
        {97, 61, {1, 2, 3}, 80, 30},
        {97, 61, {1, 2, 12}, 80, 30},
        {203, 131, {1, 2}, 400, 3},
    };
    std::mt19937 random(25);
    const auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (const auto& fixture : fixtures) {
        SCOPED_TRACE(testing::Message() << fixture.width << " x " << fixture.height << ", widest pen "
                                        << fixture.penWidths.back());
        Tovrik::CMemDC source;
        source.Create(fixture.width, fixture.height);
        FillGradient(source);
        CDataViewPainter painter;
        painter.Create(&m_view, &m_view, CDataViewPainter::MODE_SECTION_X, fixture.width, fixture.height);
        painter.SetGridSize(100, 50, 80);
        painter.SetSource(&source);
        g_drawingManager.RemoveAll();
        for (int i = 0; i < fixture.objects; ++i) {
            g_drawingManager.SetStyle(RGB(uniform(0, 255), uniform(0, 255), uniform(0, 255)),
                                      fixture.penWidths[size_t(uniform(0, int(fixture.penWidths.size()) - 1))]);
            CDrawDataObject object;
            object.m_nType = uniform(0, 2);
            object.m_fX1 = float(uniform(-15, 114));
            object.m_fZ1 = float(uniform(-15, 94));
            object.m_fX2 = object.m_fX1 + float(uniform(-fixture.span, fixture.span));
            object.m_fZ2 = object.m_fZ1 + float(uniform(-fixture.span, fixture.span));
            object.m_fY1 = object.m_fY2 = 7.0f;
            object.m_nPenWidth = uniform(0, 4); // a line's mask width in overlay mode
            object.m_crFill = object.m_crLine = g_drawingManager.GetColor();
            g_drawingManager.AddObject(object);
        }
        painter.RebuildObjects();
        for (const bool bOverlay : {true, false})
            for (const bool bFrames : {true, false})
                for (const int alpha : {100, 77, 255}) {
                    SCOPED_TRACE(testing::Message() << (bOverlay ? "overlay" : "plain") << (bFrames ? ", frames" : "")
                                                    << ", alpha " << alpha);
                    g_drawingManager.SetOverlay(bOverlay);
                    g_drawingManager.SetDrawFrame(bFrames);
                    g_drawingManager.SetBlendAlpha(alpha);
                    g_drawingManager.SetTool(CDrawingManager::TOOL_LINE);
                    painter.SetTool();
                    painter.Paint();
                    EXPECT_TRUE(SameAsShapeByShape(painter, source));
                    g_drawingManager.SetTool(CDrawingManager::TOOL_SELECT);
                    g_drawingManager.SelectObject(uniform(0, g_drawingManager.GetCount() - 1));
                    painter.SetTool();
                    EXPECT_TRUE(SameAsShapeByShape(painter, source)) << "selected";
                }
    }
}
