// The drawing tool window: its tool buttons, the opacity strip and the colour preview, what it
// tells the frame (sent or posted), the object list it opens, closing and the remembered
// places.

#include "AppFixture.h"
#include "DrawObjectListDlg.h"
#include "DrawToolDlg.h"
#include "DrawingToolSupport.h"
#include "LevelStrip.h"
#include "Messages.h"

#include "Cfg.h"
#include "DrawingManager.h"

#include <QImage>
#include <gtest/gtest.h>

using Tovrik::CDrawingManager;

TEST(LevelStripTest, MarkerAndValueFollowEachOtherReversed)
{
    CLevelStrip strip;
    strip.Create(nullptr, CRect(10, 20, 24, 120), 0, 255, true); // track 21..119
    ASSERT_EQ(strip.GetTrackTop(), 21);
    ASSERT_EQ(strip.GetTrackBottom(), 119);
    const struct
    {
        int value;
        int marker;
    } values[] = {{0, 119}, {255, 21}, {100, 119 - int(100.0f / 255.0f * 98.0f)}};
    for (const auto& v : values) {
        strip.SetValue(v.value);
        EXPECT_EQ(strip.GetMarker(), v.marker) << v.value;
    }
    const struct
    {
        int y;
        int marker;
        int value;
        bool changed;
    } drags[] = {
        {0, 21, 255, true},   // above the track: its top
        {21, 21, 255, false}, // the marker's own place: nothing
        {500, 119, 0, true},  // below: its bottom
        {70, 70, 127, true},  // (119 - 70) / 98 of the range
    };
    for (const auto& d : drags) {
        EXPECT_EQ(strip.DragTo(d.y), d.changed) << d.y;
        EXPECT_EQ(strip.GetMarker(), d.marker) << d.y;
        EXPECT_EQ(strip.GetValue(), d.value) << d.y;
    }
}

namespace {
class DrawToolDlgTest : public DocumentFixture
{
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        Open();
    }
    void TearDown() override
    {
        m_pTool.reset();
        DocumentFixture::TearDown();
    }
    void Open()
    {
        m_pTool = std::make_unique<CDrawToolDlg>(&m_frame);
        ASSERT_TRUE(m_pTool->Create(CDrawToolDlg::IDD, &m_frame));
        m_pTool->ShowWindow(SW_SHOW);
        m_frame.m_pRelay = m_pTool.get();
    }
    CButton& Button(int nID) { return *dynamic_cast<CButton*>(m_pTool->GetDlgItem(nID)); }
    CRect ItemRect(int nID)
    {
        CRect rect;
        m_pTool->GetDlgItem(nID)->GetWindowRect(&rect);
        CPoint topLeft = rect.TopLeft(), bottomRight = rect.BottomRight();
        m_pTool->ScreenToClient(&topLeft);
        m_pTool->ScreenToClient(&bottomRight);
        return CRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
    void Mouse(UINT message, UINT flags, int x, int y) { m_pTool->SendMessage(message, flags, MAKELPARAM(x, y)); }
    std::vector<int> Checked()
    {
        std::vector<int> checked;
        for (int nID : {IDC_DRAW_SELECT, IDC_DRAW_LINE, IDC_DRAW_RECT, IDC_DRAW_CIRCLE})
            if (Button(nID).GetCheck() == BST_CHECKED)
                checked.push_back(nID);
        return checked;
    }
    QImage Picture()
    {
        m_pTool->UpdateWindow();
        return *m_pTool->GetBackingImage();
    }

    CMessageRecorder m_frame;
    std::unique_ptr<CDrawToolDlg> m_pTool;
};

COLORREF PixelAt(const QImage& image, const CPoint& p)
{
    const QRgb rgb = image.pixel(p.x, p.y);
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
} // namespace

TEST_F(DrawToolDlgTest, OpensWithTheToolCheckedAndTheStripBesideTheButtons)
{
    const struct
    {
        int32_t tool;
        int button;
    } tools[] = {{CDrawingManager::TOOL_LINE, IDC_DRAW_LINE},
                 {CDrawingManager::TOOL_RECT, IDC_DRAW_RECT},
                 {CDrawingManager::TOOL_CIRCLE, IDC_DRAW_CIRCLE},
                 {CDrawingManager::TOOL_SELECT, IDC_DRAW_SELECT}};
    for (const auto& t : tools) {
        m_pTool.reset();
        g_drawingManager.SetTool(t.tool);
        Open();
        EXPECT_EQ(Checked(), std::vector<int>{t.button}) << t.tool;
        EXPECT_NE(Button(t.button).GetIcon(), nullptr);
    }
    EXPECT_EQ(m_pTool->GetWindowText(), L"");
    CRect client;
    m_pTool->GetClientRect(&client);
    const CRect circle = ItemRect(IDC_DRAW_CIRCLE);
    const CRect strip = m_pTool->GetStrip().GetRect();
    EXPECT_EQ(strip, CRect(circle.right + 6, ItemRect(IDC_DRAW_SELECT).top + 1, client.right - 4, circle.bottom));
    // The preview: the circle button less 3 pixels a side, between it and "Objects".
    const CRect preview = m_pTool->GetPreviewRect();
    EXPECT_EQ(preview.Size(), CSize(circle.Width() - 6, circle.Height() - 6));
    EXPECT_LE(std::abs(preview.left - (client.right - preview.right)), 1);
    EXPECT_LE(std::abs((preview.top - circle.bottom) - (ItemRect(IDC_DRAW_OBJECTS).top - preview.bottom)), 1);

    // The strip starts at the blend alpha, its maximum at the top; painted light above the
    // marker and blue below it, in a dark grey frame; the preview in the current colour.
    EXPECT_EQ(m_pTool->GetOpacity(), 100);
    const CLevelStrip& s = m_pTool->GetStrip();
    EXPECT_EQ(s.GetMarker(), s.GetTrackBottom() - int(100.0f / 255.0f * float(s.GetTrackBottom() - s.GetTrackTop())));
    const QImage picture = Picture();
    EXPECT_EQ(PixelAt(picture, {strip.left + 2, s.GetMarker() - 1}), COLORREF(0xFAFAFA));
    EXPECT_EQ(PixelAt(picture, {strip.left + 2, s.GetMarker() + 1}), COLORREF(0xAA5A50));
    EXPECT_EQ(PixelAt(picture, {strip.left, s.GetMarker()}), RGB(64, 64, 64));
    EXPECT_EQ(PixelAt(picture, preview.CenterPoint()), g_drawingManager.GetColor());
    EXPECT_TRUE(m_frame.Take().empty());
}

TEST_F(DrawToolDlgTest, ToolButtonsSetToolAndStyleAndSendTheChange)
{
    const struct
    {
        int button;
        int32_t tool;
        int32_t penWidth;
    } steps[] = {{IDC_DRAW_LINE, CDrawingManager::TOOL_LINE, 2},
                 {IDC_DRAW_SELECT, CDrawingManager::TOOL_SELECT, 1},
                 {IDC_DRAW_CIRCLE, CDrawingManager::TOOL_CIRCLE, 1},
                 {IDC_DRAW_RECT, CDrawingManager::TOOL_RECT, 1}};
    int32_t previous = g_drawingManager.GetTool();
    for (const auto& step : steps) {
        Button(step.button).Click();
        EXPECT_EQ(g_drawingManager.GetTool(), step.tool);
        EXPECT_EQ(g_drawingManager.GetPenWidth(), step.penWidth);
        EXPECT_EQ(Checked(), std::vector<int>{step.button});
        const auto changed =
            Sent(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL_DLG, MakeCodeParam(DRAW_TOOL_CHANGED, previous));
        EXPECT_EQ(m_frame.Take(), std::vector<CMessageRecorder::CNote>{changed}) << step.button;
        previous = step.tool;
    }
}

TEST_F(DrawToolDlgTest, DraggingTheStripPostsItsValueToTheFrame)
{
    const CLevelStrip& strip = m_pTool->GetStrip();
    const int x = strip.GetRect().CenterPoint().x;
    const auto changed = Posted(WM_VALUE_CHANGED, ID_SENDER_DRAW_TOOL, 0);

    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, x, strip.GetRect().top);
    EXPECT_EQ(m_pTool->GetOpacity(), 255);
    EXPECT_EQ(m_frame.Take(), std::vector<CMessageRecorder::CNote>{changed});
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, strip.GetRect().bottom + 40);
    EXPECT_EQ(m_pTool->GetOpacity(), 0);
    EXPECT_EQ(m_frame.Take(), std::vector<CMessageRecorder::CNote>{changed});
    // Further down changes nothing.
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, strip.GetRect().bottom + 60);
    EXPECT_TRUE(m_frame.Take().empty());
    // A move without the button ends the drag.
    Mouse(WM_MOUSEMOVE, 0, x, strip.GetRect().top);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, strip.GetRect().top);
    EXPECT_EQ(m_pTool->GetOpacity(), 0);
    EXPECT_FALSE(strip.IsDragging());

    // A press beside the strip never drags it, even when the mouse then crosses it.
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 1, 1);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, strip.GetRect().top + 5);
    Mouse(WM_LBUTTONUP, 0, x, strip.GetRect().top + 5);
    EXPECT_EQ(m_pTool->GetOpacity(), 0);
    EXPECT_TRUE(m_frame.Take().empty());
    // The manager's alpha is the frame's business.
    EXPECT_EQ(g_drawingManager.GetBlendAlpha(), 100);
}

TEST_F(DrawToolDlgTest, ThePreviewOpensTheColourDialog)
{
    CScriptedColorDialog colors;
    const CPoint centre = m_pTool->GetPreviewRect().CenterPoint();
    colors.m_answers = {RGB(10, 20, 30)};
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, centre.x, centre.y);
    Mouse(WM_LBUTTONUP, 0, centre.x, centre.y);
    EXPECT_EQ(colors.m_initials, std::vector<COLORREF>{0});
    EXPECT_EQ(g_drawingManager.GetColor(), RGB(10, 20, 30));
    EXPECT_EQ(PixelAt(Picture(), centre), RGB(10, 20, 30));
    // Cancelled: the colour stays.
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, centre.x, centre.y);
    EXPECT_EQ(colors.m_initials.size(), 2u);
    EXPECT_EQ(g_drawingManager.GetColor(), RGB(10, 20, 30));
    EXPECT_TRUE(m_frame.Take().empty());
}

TEST_F(DrawToolDlgTest, DrawingEventsGoOnToTheObjectList)
{
    Button(IDC_DRAW_OBJECTS).Click();
    CDrawObjectListDlg* pList = m_pTool->GetObjectList();
    ASSERT_NE(pList, nullptr);
    EXPECT_TRUE(pList->IsWindowVisible());
    // A second press keeps the one list, as does Return on "Objects".
    Button(IDC_DRAW_OBJECTS).Click();
    Button(IDC_DRAW_OBJECTS).SetFocus();
    m_pTool->SendMessage(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(m_pTool->GetObjectList(), pList);
    EXPECT_NE(m_pTool->GetSafeHwnd(), nullptr);

    g_drawingManager.AddObject(Tovrik::CDrawDataObject());
    m_pTool->SendMessage(WM_DRAWING_EVENT, ID_SENDER_PAINTER, MakeCodeParam(DRAW_ADDED, 0));
    EXPECT_EQ(pList->GetList().GetItemCount(), 1);
}

TEST_F(DrawToolDlgTest, ClosingClosesTheListAndBothReopenWhereTheyWere)
{
    enum TClose { CLOSE_BOX, ESCAPE, RETURN };
    for (TClose how : {CLOSE_BOX, ESCAPE, RETURN}) {
        Button(IDC_DRAW_OBJECTS).Click();
        ASSERT_NE(m_pTool->GetObjectList(), nullptr);
        m_pTool->MoveWindow(200 + how, 150, 80, 200);
        m_pTool->GetObjectList()->MoveWindow(300 + how, 160, 500, 300);
        const HWND hList = m_pTool->GetObjectList()->GetSafeHwnd();
        m_frame.Take();
        switch (how) {
        case CLOSE_BOX: m_pTool->SendMessage(WM_CLOSE); break;
        case ESCAPE: m_pTool->SendMessage(WM_KEYDOWN, VK_ESCAPE); break;
        case RETURN:
            // From a tool button too, which a push button would press instead.
            Button(IDC_DRAW_LINE).SetFocus();
            m_pTool->SendMessage(WM_KEYDOWN, VK_RETURN);
            break;
        }
        EXPECT_EQ(m_pTool->GetSafeHwnd(), nullptr) << how;
        EXPECT_EQ(CWnd::FromHandle(hList), nullptr);
        EXPECT_EQ(m_pTool->GetObjectList(), nullptr);
        EXPECT_EQ(m_frame.Take(),
                  std::vector<CMessageRecorder::CNote>{Posted(WM_TOOL_CLOSED, ID_SENDER_DRAW_TOOL, 0)});
        EXPECT_EQ(g_cfg.GetWinPos(IDD_DRAWTOOL).m_x, 200 + how);
        EXPECT_EQ(g_cfg.GetWinPos(IDD_OBJECTLIST).m_x, 300 + how);

        m_pTool.reset();
        Open();
        Button(IDC_DRAW_OBJECTS).Click();
        CRect tool, list;
        m_pTool->GetWindowRect(&tool);
        m_pTool->GetObjectList()->GetWindowRect(&list);
        EXPECT_EQ(tool.TopLeft(), CPoint(200 + how, 150));
        EXPECT_EQ(list.TopLeft(), CPoint(300 + how, 160));
        m_pTool->GetObjectList()->SendMessage(WM_CLOSE);
        m_frame.Take();
        EXPECT_EQ(m_pTool->GetObjectList(), nullptr);
    }
}
