// The object list: its rows from the drawing-object manager, what the user's clicks change and
// send to the frame, refusals while a view draws or moves an object, removal, the frame's
// drawing events and closing.

#include "AppFixture.h"
#include "DrawObjectListDlg.h"
#include "DrawToolDlg.h"
#include "DrawingToolSupport.h"
#include "ImageList.h"
#include "Messages.h"

#include "Cfg.h"
#include "DrawingManager.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <gtest/gtest.h>

using Tovrik::CDrawingManager;
using CNotes = std::vector<CMessageRecorder::CNote>;

namespace {
const COLORREF kColors[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};

// Three objects of three colours, the middle one hidden, the last one selected; the tool window
// with its list open.
class DrawObjectListDlgTest : public DocumentFixture
{
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        for (COLORREF color : kColors) {
            g_drawingManager.SetColor(color);
            Tovrik::CDrawDataObject object;
            object.m_nType = Tovrik::CDrawDataObject::TYPE_RECT;
            object.m_bVisible = color != kColors[1];
            g_drawingManager.AddObject(object);
        }
        g_drawingManager.SelectObject(2);
        g_drawingManager.SetOverlay(false);
        m_pTool = std::make_unique<CDrawToolDlg>(&m_frame);
        ASSERT_TRUE(m_pTool->Create(CDrawToolDlg::IDD, &m_frame));
        m_frame.m_pRelay = m_pTool.get();
        OpenList();
    }

public:
    void TearDown() override
    {
        m_pTool.reset();
        DocumentFixture::TearDown();
    }
    void OpenList()
    {
        dynamic_cast<CButton*>(m_pTool->GetDlgItem(IDC_DRAW_OBJECTS))->Click();
        ASSERT_NE(m_pTool->GetObjectList(), nullptr);
        m_frame.Take();
    }
    CDrawObjectListDlg& Dlg() { return *m_pTool->GetObjectList(); }
    CListCtrl& List() { return Dlg().GetList(); }
    CButton& Button(int nID) { return *dynamic_cast<CButton*>(Dlg().GetDlgItem(nID)); }
    QTreeWidget* Tree() { return static_cast<QTreeWidget*>(List().GetWidget()); }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPoint point = Tree()->visualRect(Tree()->model()->index(row, 2)).center();
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, modifiers, point);
    }
    void ClickCheckBox(int row)
    {
        QStyleOptionViewItem option;
        option.initFrom(Tree());
        option.rect = Tree()->visualRect(Tree()->model()->index(row, 0));
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box = Tree()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, Tree());
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
    }
    std::vector<bool> Checks()
    {
        std::vector<bool> checks;
        for (int i = 0; i < List().GetItemCount(); ++i)
            checks.push_back(List().GetCheck(i));
        return checks;
    }
    std::vector<bool> Visible()
    {
        std::vector<bool> visible;
        for (int i = 0; i < g_drawingManager.GetCount(); ++i)
            visible.push_back(g_drawingManager.GetObject(i)->m_bVisible);
        return visible;
    }
    std::vector<int> SelectedRows()
    {
        std::vector<int> rows;
        for (int i = List().GetNextItem(-1, LVNI_SELECTED); i >= 0; i = List().GetNextItem(i, LVNI_SELECTED))
            rows.push_back(i);
        return rows;
    }
    static CMessageRecorder::CNote Event(WORD code, int argument)
    {
        return Sent(WM_DRAWING_EVENT, ID_SENDER_OBJECT_LIST, MakeCodeParam(code, argument));
    }

    CMessageRecorder m_frame;
    std::unique_ptr<CDrawToolDlg> m_pTool;
};
} // namespace

TEST_F(DrawObjectListDlgTest, RowsShowVisibilityColourAndSelection)
{
    EXPECT_EQ(Dlg().GetWindowText(), L"Object list");
    ASSERT_EQ(List().GetItemCount(), 3);
    EXPECT_EQ(List().GetExtendedStyle() & (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES),
              DWORD(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES));
    EXPECT_EQ(List().GetColumnWidth(0), 43);
    EXPECT_EQ(List().GetColumnWidth(2), 200);
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(List().GetItemText(i, 0), L"");
        EXPECT_EQ(List().GetItemImage(i, 0), -1);
        ASSERT_EQ(List().GetItemImage(i, 1), i);
        const QImage* swatch = Dlg().GetImageList().GetImage(i);
        ASSERT_NE(swatch, nullptr);
        EXPECT_EQ(swatch->size(), QSize(16, 16));
        const QRgb inside = swatch->pixel(8, 8), edge = swatch->pixel(0, 15);
        EXPECT_EQ(RGB(qRed(inside), qGreen(inside), qBlue(inside)), kColors[i]);
        EXPECT_EQ(RGB(qRed(edge), qGreen(edge), qBlue(edge)), COLORREF(0x646464));
    }
    EXPECT_EQ(Button(IDC_OBJECT_FRAME).GetCheck(), BST_CHECKED);
    EXPECT_EQ(Button(IDC_OBJECT_BLENDING).GetCheck(), BST_UNCHECKED);
    EXPECT_TRUE(m_frame.Take().empty());
}

TEST_F(DrawObjectListDlgTest, UsersChangesGoToTheManagerAndTheFrameInOrder)
{
    using T = DrawObjectListDlgTest;
    const struct
    {
        const char* what;
        std::function<void(DrawObjectListDlgTest&)> act;
        CNotes notes;
    } steps[] = {
        {"hide row 0", [](T& t) { t.ClickCheckBox(0); }, {Event(DRAW_REDRAW, DRAW_NO_OBJECT)}},
        {"select row 1", [](T& t) { t.ClickRow(1); },
         {Event(DRAW_SELECTION, DRAW_NO_OBJECT), Event(DRAW_SELECTION, 1)}},
        {"frame off", [](T& t) { t.Button(IDC_OBJECT_FRAME).Click(); },
         {Event(DRAW_REDRAW_STYLE, DRAW_NO_OBJECT)}},
        {"blending on", [](T& t) { t.Button(IDC_OBJECT_BLENDING).Click(); },
         {Event(DRAW_REDRAW_STYLE, DRAW_NO_OBJECT)}},
        {"show all", [](T& t) { t.Button(IDC_SHOW_ALL).Click(); }, {Event(DRAW_REDRAW, DRAW_NO_OBJECT)}},
        {"hide all", [](T& t) { t.Button(IDC_HIDE_ALL).Click(); }, {Event(DRAW_REDRAW, DRAW_NO_OBJECT)}},
    };
    Dlg().ShowWindow(SW_SHOW);
    const struct
    {
        std::vector<bool> visible;
        int selected;
        bool frame, overlay;
    } after[] = {
        {{false, false, true}, 2, true, false}, {{false, false, true}, 1, true, false},
        {{false, false, true}, 1, false, false}, {{false, false, true}, 1, false, true},
        {{true, true, true}, 1, false, true},    {{false, false, false}, 1, false, true},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act(*this);
        EXPECT_EQ(m_frame.Take(), steps[i].notes) << steps[i].what;
        EXPECT_EQ(Visible(), after[i].visible) << steps[i].what;
        EXPECT_EQ(Checks(), after[i].visible) << steps[i].what;
        EXPECT_EQ(g_drawingManager.GetSelected(), after[i].selected) << steps[i].what;
        EXPECT_EQ(g_drawingManager.GetDrawFrame(), after[i].frame) << steps[i].what;
        EXPECT_EQ(g_drawingManager.GetOverlay(), after[i].overlay) << steps[i].what;
        if (i == 1) {
            // The selected row's label opens for editing.
            const QLineEdit* editor = Tree()->findChild<QLineEdit*>();
            EXPECT_TRUE(editor && editor->isVisible());
        }
    }
}

TEST_F(DrawObjectListDlgTest, EditsWaitWhileAViewDrawsOrMovesAnObject)
{
    using T = DrawObjectListDlgTest;
    Dlg().ShowWindow(SW_SHOW);
    g_drawingManager.SetBusy(true);
    const std::wstring drawing =
        L"You are currently drawing a new object.\nEnd this operation before removeing any objects.";
    const std::wstring moving =
        L"You are currently moving an object.\nEnd this operation before removeing any objects.";
    const struct
    {
        const char* what;
        int32_t tool;
        std::function<void(DrawObjectListDlgTest&)> act;
    } steps[] = {
        {"check box", CDrawingManager::TOOL_RECT, [](T& t) { t.ClickCheckBox(0); }},
        {"row", CDrawingManager::TOOL_SELECT, [](T& t) { t.ClickRow(0); }},
        {"frame", CDrawingManager::TOOL_LINE, [](T& t) { t.Button(IDC_OBJECT_FRAME).Click(); }},
        {"blending", CDrawingManager::TOOL_SELECT, [](T& t) { t.Button(IDC_OBJECT_BLENDING).Click(); }},
        {"remove selected", CDrawingManager::TOOL_CIRCLE, [](T& t) { t.Button(IDC_REMOVE_SELECTED).Click(); }},
        {"remove all", CDrawingManager::TOOL_RECT, [](T& t) { t.Button(IDC_REMOVE_ALL).Click(); }},
        {"show all", CDrawingManager::TOOL_RECT, [](T& t) { t.Button(IDC_SHOW_ALL).Click(); }},
        {"hide all", CDrawingManager::TOOL_RECT, [](T& t) { t.Button(IDC_HIDE_ALL).Click(); }},
    };
    for (const auto& step : steps) {
        g_drawingManager.SetTool(step.tool);
        m_boxes.m_texts.clear();
        step.act(*this);
        const std::wstring& expected = step.tool == CDrawingManager::TOOL_SELECT ? moving : drawing;
        EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{expected}) << step.what;
        EXPECT_EQ(m_boxes.m_types.back(), UINT(MB_OK));
        EXPECT_TRUE(m_frame.Take().empty()) << step.what;
        EXPECT_EQ(g_drawingManager.GetCount(), 3) << step.what;
        EXPECT_EQ(Visible(), (std::vector<bool>{true, false, true})) << step.what;
        EXPECT_EQ(Checks(), (std::vector<bool>{true, false, true})) << step.what;
        EXPECT_EQ(SelectedRows(), std::vector<int>{2}) << step.what;
        EXPECT_EQ(g_drawingManager.GetSelected(), 2) << step.what;
        EXPECT_EQ(Button(IDC_OBJECT_FRAME).GetCheck(), BST_CHECKED) << step.what;
        EXPECT_EQ(Button(IDC_OBJECT_BLENDING).GetCheck(), BST_UNCHECKED) << step.what;
        EXPECT_TRUE(g_drawingManager.GetDrawFrame());
        EXPECT_FALSE(g_drawingManager.GetOverlay());
    }
}

TEST_F(DrawObjectListDlgTest, RemovalTakesTheFirstSelectedRowAndKeepsTheSelection)
{
    // Rows 0 to 2 selected, the manager's selection the last: only the first row goes, and
    // the selection moves down with the objects.
    List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    Button(IDC_REMOVE_SELECTED).Click();
    EXPECT_EQ(m_frame.Take(), CNotes{Event(DRAW_REMOVED, 0)});
    ASSERT_EQ(g_drawingManager.GetCount(), 2);
    EXPECT_EQ(g_drawingManager.GetObject(0)->GetBrushColor(), kColors[1]);
    EXPECT_EQ(g_drawingManager.GetSelected(), 1);
    EXPECT_EQ(List().GetItemCount(), 2);
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
    EXPECT_EQ(List().GetItemImage(1, 1), 1);
    EXPECT_EQ(Dlg().GetImageList().GetImageCount(), 2);

    // The selected object itself: nothing is selected afterwards.
    Button(IDC_REMOVE_SELECTED).Click();
    EXPECT_EQ(m_frame.Take(), CNotes{Event(DRAW_REMOVED, 1)});
    EXPECT_EQ(g_drawingManager.GetSelected(), -1);
    EXPECT_TRUE(SelectedRows().empty());
    // No row selected: nothing happens.
    Button(IDC_REMOVE_SELECTED).Click();
    EXPECT_TRUE(m_frame.Take().empty());
    EXPECT_EQ(g_drawingManager.GetCount(), 1);

    Button(IDC_REMOVE_ALL).Click();
    EXPECT_EQ(m_frame.Take(), CNotes{Event(DRAW_REMOVED, DRAW_NO_OBJECT)});
    EXPECT_EQ(g_drawingManager.GetCount(), 0);
    EXPECT_EQ(List().GetItemCount(), 0);
}

TEST_F(DrawObjectListDlgTest, TheFramesDrawingEventsKeepTheListInStep)
{
    // A selection in a view: every row's selection cleared, then the manager's row selected.
    List().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    g_drawingManager.SelectObject(1);
    m_frame.SendMessage(WM_DRAWING_EVENT, ID_SENDER_Y_SECTION, MakeCodeParam(DRAW_SELECTION, 1));
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    g_drawingManager.ClearSelection();
    m_frame.SendMessage(WM_DRAWING_EVENT, ID_SENDER_EDIT_COMMANDS, MakeCodeParam(DRAW_SELECTION, DRAW_NO_OBJECT));
    EXPECT_TRUE(SelectedRows().empty());

    // Added and removed objects rebuild the list; the list's own events and other codes do not.
    g_drawingManager.AddObject(Tovrik::CDrawDataObject());
    for (WORD code : {DRAW_REDRAW, DRAW_CHANGED, DRAW_REDRAW_STYLE, DRAW_TOOL_CHANGED})
        m_frame.SendMessage(WM_DRAWING_EVENT, ID_SENDER_X_SECTION, MakeCodeParam(code, 3));
    m_frame.SendMessage(WM_DRAWING_EVENT, ID_SENDER_OBJECT_LIST, MakeCodeParam(DRAW_ADDED, 3));
    EXPECT_EQ(List().GetItemCount(), 3);
    m_frame.SendMessage(WM_DRAWING_EVENT, ID_SENDER_X_SECTION, MakeCodeParam(DRAW_ADDED, 3));
    EXPECT_EQ(List().GetItemCount(), 4);
    g_drawingManager.RemoveObject(0);
    m_frame.SendMessage(WM_DRAWING_EVENT, ID_SENDER_EDIT_COMMANDS, MakeCodeParam(DRAW_REMOVED, 0));
    EXPECT_EQ(List().GetItemCount(), 3);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, true}));
    // The list itself told the frame nothing: the one event from 170 is the test's.
    const CNotes notes = m_frame.Take();
    EXPECT_EQ(std::count_if(notes.begin(), notes.end(),
                            [](const CMessageRecorder::CNote& note) { return note.wParam == ID_SENDER_OBJECT_LIST; }),
              1);
}

TEST_F(DrawObjectListDlgTest, ClosingRemembersThePlaceAndTellsTheToolWindow)
{
    for (int how : {0, 1, 2}) {
        Dlg().MoveWindow(320 + how, 210, 500, 300);
        switch (how) {
        case 0: Dlg().SendMessage(WM_CLOSE); break;
        case 1: Button(IDOK).Click(); break;
        case 2: Dlg().SendMessage(WM_KEYDOWN, VK_ESCAPE); break;
        }
        EXPECT_EQ(Dlg().GetSafeHwnd(), nullptr) << how;
        EXPECT_EQ(g_cfg.GetWinPos(IDD_OBJECTLIST).m_x, 320 + how);
        m_frame.Take();
        EXPECT_EQ(m_pTool->GetObjectList(), nullptr) << how;
        OpenList();
        CRect rect;
        Dlg().GetWindowRect(&rect);
        EXPECT_EQ(rect.TopLeft(), CPoint(320 + how, 210));
    }
}
