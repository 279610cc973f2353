// The main frame: its toolbar and status bar, the tool states with and without a project,
// the pane texts, the slider pop-ups and the notifications that pass through it.

#include "AppFixture.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "ResourceIds.h"
#include "SliderCtrl.h"

#include "Cfg.h"
#include "DrawingManager.h"

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>

namespace {
// A child of the frame that records what reaches the frame's descendants.
class CListener : public CWnd
{
public:
    struct CNote
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const CNote& o) const { return message == o.message && wParam == o.wParam && lParam == o.lParam; }
    };
    std::vector<CNote> m_notes;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_APP)
            m_notes.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

const UINT kTools[] = {ID_TOOLBAR_CONTRAST, ID_TOOLBAR_TIMEGAIN, ID_TOOLBAR_TRACEVIEW, ID_TOOLBAR_DRAWTOOL,
                       ID_TOOLBAR_OBJECTS,  ID_TOOLBAR_VELOCITY, ID_TOOLBAR_BKGR,      ID_TOOLBAR_EMDATA};

class MainFrameTest : public AppFixture
{
protected:
    // The program started, with the generated project open and the listener under the frame.
    void OpenProject()
    {
        m_project = CreateGeneratedProject(m_dir);
        ASSERT_TRUE(Start({}));
        ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
        ASSERT_TRUE(m_listener.Create(L"", WS_CHILD, CRect(0, 0, 4, 4), Frame(), 999));
        m_pApp->OnIdle(0);
    }
    CProject& Project() { return Doc()->m_project; }
    CToolBar& ToolBar() { return Frame()->GetToolBar(); }
    CStatusBar& StatusBar() { return Frame()->GetStatusBar(); }
    QImage Icon(UINT nID) { return QImage(QString::fromUtf8(AfxFindIcon(nID)->path)); }
    std::vector<bool> ToolStates(bool bChecked)
    {
        std::vector<bool> states;
        for (UINT nID : kTools)
            states.push_back(bChecked ? ToolBar().IsButtonChecked(nID) : ToolBar().IsButtonEnabled(nID));
        return states;
    }

    CGeneratedProject m_project;
    CListener m_listener;
};
} // namespace

TEST_F(MainFrameTest, ToolbarHasItsButtonsInOrderWithTipsAndPrompts)
{
    ASSERT_TRUE(Start({}));
    const std::vector<UINT> expected = {ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_TOOLBAR_CONTRAST, ID_TOOLBAR_TIMEGAIN, 0,
                                        ID_TOOLBAR_TRACEVIEW, 0, ID_TOOLBAR_DRAWTOOL, ID_TOOLBAR_OBJECTS, 0,
                                        ID_TOOLBAR_VELOCITY, ID_TOOLBAR_BKGR, ID_TOOLBAR_EMDATA};
    std::vector<UINT> ids;
    for (int i = 0; i < ToolBar().GetCount(); ++i)
        ids.push_back(ToolBar().GetItemID(i));
    EXPECT_EQ(ids, expected);
    for (int i = 0; i < ToolBar().GetCount(); ++i) {
        if (ids[size_t(i)] != 0) {
            EXPECT_EQ(ToolBar().GetButtonImage(i).size(), QSize(16, 15)) << ids[size_t(i)];
        }
    }
    const struct
    {
        UINT nID;
        const wchar_t* tip;
        const wchar_t* prompt;
    } texts[] = {{ID_TOOLBAR_CONTRAST, L"Contrast", L"Contrast settings"},
                 {ID_TOOLBAR_TIMEGAIN, L"Time gain", L"time gain setting"},
                 {ID_TOOLBAR_TRACEVIEW, L"Trace view", L"trace view"},
                 {ID_TOOLBAR_DRAWTOOL, L"Drawing tool", L"Open drawing tool"},
                 {ID_TOOLBAR_VELOCITY, L"Velocity settings", L"velocity settings window"},
                 {ID_TOOLBAR_BKGR, L"Background removal filter", L"background removal"},
                 {ID_TOOLBAR_EMDATA, L"Toggle EM data view", L"Toogle EM data"},
                 {ID_TOOLBAR_OBJECTS, L"", L""},
                 {ID_FILE_OPEN, L"Open", L"Open an existing document"}};
    for (const auto& text : texts) {
        EXPECT_EQ(ToolBar().GetButtonToolTip(text.nID), text.tip) << text.nID;
        EXPECT_EQ(ToolBar().GetButtonStatusPrompt(text.nID), text.prompt) << text.nID;
    }
    EXPECT_EQ(ToolBar().GetButtonStyle(ToolBar().CommandToIndex(ID_TOOLBAR_EMDATA)), UINT(TBBS_CHECKBOX));
    EXPECT_EQ(ToolBar().GetButtonImage(ToolBar().CommandToIndex(ID_TOOLBAR_OBJECTS)), Icon(IDI_OBJECTS_ALL));
    EXPECT_EQ(Frame()->GetWidget()->minimumSize(), QSize(640, 250));
}

TEST_F(MainFrameTest, ToolStatesFollowTheProjectAndItsEmData)
{
    ASSERT_TRUE(Start({}));
    m_pApp->OnIdle(0);
    EXPECT_EQ(ToolStates(false), std::vector<bool>(8, false));
    EXPECT_TRUE(ToolBar().IsButtonEnabled(ID_FILE_OPEN));
    EXPECT_FALSE(ToolBar().IsButtonEnabled(ID_FILE_SAVE));
    // Without a project the tools do nothing.
    for (UINT nID : {ID_TOOLBAR_CONTRAST, ID_TOOLBAR_TIMEGAIN, ID_TOOLBAR_EMDATA})
        ToolBar().PressButton(nID);
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_CONTRAST, 0);
    EXPECT_EQ(Frame()->GetContrastDlg(), nullptr);

    m_project = CreateGeneratedProject(m_dir);
    ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
    // The view's binding notice enables the tools at once; the idle pass keeps them so.
    Frame()->SendMessage(WM_DATA_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(DATA_PROJECT_BOUND, 0));
    const std::vector<bool> withoutEm = {true, true, true, true, true, true, true, false};
    EXPECT_EQ(ToolStates(false), withoutEm);
    m_pApp->OnIdle(0);
    EXPECT_EQ(ToolStates(false), withoutEm);
    EXPECT_TRUE(ToolBar().IsButtonEnabled(ID_FILE_SAVE));

    // The EM command changes nothing on a project without EM data.
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_EMDATA, 0);
    EXPECT_FALSE(Project().m_bEmOverlay);

    Project().m_settings.m_bHasEmData = true;
    m_pApp->OnIdle(0);
    EXPECT_TRUE(ToolBar().IsButtonEnabled(ID_TOOLBAR_EMDATA));
    EXPECT_FALSE(ToolBar().IsButtonChecked(ID_TOOLBAR_EMDATA));
    ToolBar().PressButton(ID_TOOLBAR_EMDATA);
    EXPECT_TRUE(Project().m_bEmOverlay);
    m_pApp->OnIdle(0);
    EXPECT_TRUE(ToolBar().IsButtonChecked(ID_TOOLBAR_EMDATA));

    Doc()->OnCloseDocument();
    m_pApp->OnIdle(0);
    EXPECT_EQ(ToolStates(false), std::vector<bool>(8, false));
}

TEST_F(MainFrameTest, EmToggleBroadcastsItsCode)
{
    OpenProject();
    Project().m_settings.m_bHasEmData = true;
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_EMDATA, 0);
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_EMDATA, 0);
    EXPECT_FALSE(Project().m_bEmOverlay);
    const CListener::CNote em{WM_DATA_CHANGED, 0, MakeCodeParam(DATA_EM_OVERLAY, 0)};
    EXPECT_EQ(m_listener.m_notes, (std::vector<CListener::CNote>{em, em}));
}

TEST_F(MainFrameTest, VisibilityButtonCyclesThroughThreeIcons)
{
    OpenProject();
    const UINT icons[] = {IDI_OBJECTS_RANGE, IDI_OBJECTS_HIDDEN, IDI_OBJECTS_ALL};
    const int index = ToolBar().CommandToIndex(ID_TOOLBAR_OBJECTS);
    for (UINT icon : icons) {
        ToolBar().PressButton(ID_TOOLBAR_OBJECTS);
        EXPECT_EQ(ToolBar().GetButtonImage(index), Icon(icon)) << icon;
    }
    EXPECT_EQ(g_drawingManager.GetVisibility(), Tovrik::CDrawingManager::VISIBLE_ALL);
    const CListener::CNote visibility{WM_DRAWING_EVENT, CMainFrame::FRAME_ID, MakeCodeParam(DRAW_VISIBILITY, 0)};
    EXPECT_EQ(m_listener.m_notes, std::vector<CListener::CNote>(3, visibility));
    // The idle pass shows the mode that the manager has, whoever changed it.
    g_drawingManager.SetVisibility(Tovrik::CDrawingManager::VISIBLE_HIDE);
    m_pApp->OnIdle(0);
    EXPECT_EQ(ToolBar().GetButtonImage(index), Icon(IDI_OBJECTS_HIDDEN));
}

TEST_F(MainFrameTest, StatusPanesShowThePositionAndMaterialInTheProjectsUnits)
{
    OpenProject();
    CProjectSettings& settings = Project().m_settings;
    settings.m_dResolution = 0.05;
    settings.m_dVelocity = 100.7;
    settings.m_pMaterial = g_cfg.FindMaterial(L"User-defined");
    ASSERT_NE(settings.m_pMaterial, nullptr);
    Project().m_fCursorX = 10;
    Project().m_fCursorY = 20;
    Project().m_fHoverX = 30;
    Project().m_fHoverY = 41;
    // Depths at the zero level are 0 in every unit.
    Project().m_fCursorDepth = Project().m_fHoverDepth = float(settings.m_iZeroLevel);
    const struct
    {
        TUnits units;
        bool bSet;
        const wchar_t* coordinates;
        const wchar_t* material;
    } cases[] = {
        {UNITS_SI, true, L"x= 0.50 m  y= 1.00 m  z= 0.00 m", L"Material: User-defined (100 m/\u00b5s)"},
        {UNITS_SI, false, L"x= 1.50 m  y= 2.05 m  z= 0.00 m", L"Material: User-defined (100 m/\u00b5s)"},
        {UNITS_IMP, true, L"x= 1.64 ft  y= 3.28 ft  z= 0.00 ft", L"Material: User-defined (330 ft/\u00b5s)"},
        {UNITS_IMP, false, L"x= 4.92 ft  y= 6.73 ft  z= 0.00 ft", L"Material: User-defined (330 ft/\u00b5s)"},
    };
    for (const auto& c : cases) {
        settings.m_units = c.units;
        Frame()->SendMessage(WM_DATA_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(DATA_UNITS, 0));
        Frame()->SendMessage(WM_CURSOR_MOVED, 0, MakeCursorParam(ID_SENDER_DEPTH_SLICE, c.bSet));
        EXPECT_EQ(StatusBar().GetPaneText(0), c.coordinates);
        EXPECT_EQ(StatusBar().GetPaneText(2), c.material);
    }
    // A depth below the zero level reads in the project's unit.
    settings.m_units = UNITS_SI;
    Project().m_fCursorDepth = float(settings.m_iZeroLevel + 40);
    Frame()->SendMessage(WM_CURSOR_MOVED, 0, MakeCursorParam(ID_SENDER_DEPTH_SLICE, true));
    EXPECT_EQ(StatusBar().GetPaneText(0).find(L"z= 0.00"), std::wstring::npos) << StatusBar().GetPaneText(0);

    // Without a project nothing is rewritten.
    const std::wstring before = StatusBar().GetPaneText(0);
    Doc()->OnCloseDocument();
    Frame()->SendMessage(WM_CURSOR_MOVED, 0, MakeCursorParam(ID_SENDER_DEPTH_SLICE, true));
    Frame()->SendMessage(WM_DATA_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(DATA_UNITS, 0));
    EXPECT_EQ(StatusBar().GetPaneText(0), before);
}

TEST_F(MainFrameTest, PanesAreSizedByTheirStringsAndTheMiddleOneStretches)
{
    ASSERT_TRUE(Start({}));
    ASSERT_EQ(StatusBar().GetCount(), 3);
    EXPECT_EQ(StatusBar().GetPaneText(0), L"x= 00.000 m  y= 00.000 m   z= 00.000 m");
    EXPECT_EQ(StatusBar().GetItemID(1), UINT(ID_INDICATOR_BLANK));
    EXPECT_EQ(StatusBar().GetPaneStyle(1) & SBPS_STRETCH, UINT(SBPS_STRETCH));
    EXPECT_EQ(StatusBar().GetPaneStyle(0) & SBPS_STRETCH, 0u);
    Frame()->MoveWindow(0, 0, 1000, 500);
    ProcessEvents();
    const int left = StatusBar().GetPaneWidth(0), middle = StatusBar().GetPaneWidth(1),
              right = StatusBar().GetPaneWidth(2);
    Frame()->MoveWindow(0, 0, 1100, 500);
    ProcessEvents();
    EXPECT_EQ(StatusBar().GetPaneWidth(0), left);
    EXPECT_EQ(StatusBar().GetPaneWidth(2), right);
    EXPECT_EQ(StatusBar().GetPaneWidth(1), middle + 100);
}

TEST_F(MainFrameTest, SliderPopUpsOpenOnceAndReopenWhereTheyWereClosed)
{
    OpenProject();
    Project().m_settings.m_iContrast = 17;
    Project().m_settings.m_params.m_iTimeGain = 200;
    const struct
    {
        UINT nID;
        CSliderDialog* (CMainFrame::*get)() const;
        const wchar_t* title;
        int nMax;
        int nPos;
        UINT nKey;
    } kinds[] = {{ID_TOOLBAR_CONTRAST, &CMainFrame::GetContrastDlg, L"Contrast:", 100, 17, IDW_CONTRAST_POS},
                 {ID_TOOLBAR_TIMEGAIN, &CMainFrame::GetTimeGainDlg, L"Time gain:", 255, 200, IDW_TIMEGAIN_POS}};
    for (const auto& kind : kinds) {
        Frame()->SendMessage(WM_COMMAND, kind.nID, 0);
        CSliderDialog* pFirst = (Frame()->*kind.get)();
        ASSERT_NE(pFirst, nullptr) << kind.nID;
        Frame()->SendMessage(WM_COMMAND, kind.nID, 0);
        EXPECT_EQ((Frame()->*kind.get)(), pFirst);
        EXPECT_TRUE(pFirst->IsWindowVisible());
        EXPECT_EQ(pFirst->GetWindowText(), kind.title);
        EXPECT_EQ(pFirst->GetSlider()->GetRangeMin(), 1);
        EXPECT_EQ(pFirst->GetSlider()->GetRangeMax(), kind.nMax);
        EXPECT_EQ(pFirst->m_nPos, kind.nPos);
        EXPECT_FALSE(g_cfg.HasWinPos(kind.nKey));

        pFirst->MoveWindow(123, 145, 300, 60);
        CRect placed;
        pFirst->GetWindowRect(&placed);
        pFirst->SendMessage(WM_CLOSE);
        ProcessEvents();
        EXPECT_EQ((Frame()->*kind.get)(), nullptr);
        ASSERT_TRUE(g_cfg.HasWinPos(kind.nKey));
        EXPECT_EQ(g_cfg.GetWinPos(kind.nKey).m_x, placed.left);
        EXPECT_EQ(g_cfg.GetWinPos(kind.nKey).m_y, placed.top);

        Frame()->SendMessage(WM_COMMAND, kind.nID, 0);
        CSliderDialog* pSecond = (Frame()->*kind.get)();
        ASSERT_NE(pSecond, nullptr);
        CRect reopened;
        pSecond->GetWindowRect(&reopened);
        EXPECT_EQ(reopened.TopLeft(), placed.TopLeft());
    }
    // Both exist at once, and go with the frame.
    EXPECT_NE(Frame()->GetContrastDlg(), nullptr);
    EXPECT_NE(Frame()->GetTimeGainDlg(), nullptr);
}

TEST_F(MainFrameTest, SliderMovesChangeTheProjectAndAreBroadcast)
{
    OpenProject();
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_CONTRAST, 0);
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_TIMEGAIN, 0);
    CSliderDialog* pContrast = Frame()->GetContrastDlg();
    CSliderDialog* pTimeGain = Frame()->GetTimeGainDlg();
    ASSERT_TRUE(pContrast && pTimeGain);
    pContrast->SendMessage(WM_HSCROLL, MakeScrollParam(TB_THUMBTRACK, 42), 0);
    pTimeGain->SendMessage(WM_HSCROLL, MakeScrollParam(TB_THUMBTRACK, 99), 0);
    EXPECT_EQ(Project().m_settings.m_iContrast, 42);
    EXPECT_EQ(Project().m_settings.m_params.m_iTimeGain, 99);
    EXPECT_EQ(m_listener.m_notes,
              (std::vector<CListener::CNote>{
                  {WM_DATA_CHANGED, CMainFrame::FRAME_ID, MakeCodeParam(DATA_CONTRAST, 42)},
                  {WM_DATA_CHANGED, CMainFrame::FRAME_ID, MakeCodeParam(DATA_TIME_GAIN, 99)}}));

    // A pop-up left open after the project closed changes nothing and tells nobody.
    Doc()->OnCloseDocument();
    m_listener.m_notes.clear();
    pContrast->SendMessage(WM_HSCROLL, MakeScrollParam(TB_THUMBTRACK, 7), 0);
    EXPECT_TRUE(m_listener.m_notes.empty());
    EXPECT_EQ(Frame()->GetContrastDlg(), pContrast);
}

// Pop-ups left open while another project opens show that project's contrast and time gain,
// so that the next move starts from them.
TEST_F(MainFrameTest, OpenPopupsShowTheNextProjectsValues)
{
    OpenProject();
    const int contrast = Project().m_settings.m_iContrast;
    const int timeGain = Project().m_settings.m_params.m_iTimeGain;
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_CONTRAST, 0);
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_TIMEGAIN, 0);
    CSliderDialog* pContrast = Frame()->GetContrastDlg();
    CSliderDialog* pTimeGain = Frame()->GetTimeGainDlg();
    ASSERT_TRUE(pContrast && pTimeGain);
    pContrast->SendMessage(WM_HSCROLL, MakeScrollParam(TB_THUMBTRACK, contrast + 5), 0);
    pTimeGain->SendMessage(WM_HSCROLL, MakeScrollParam(TB_THUMBTRACK, timeGain + 7), 0);

    // The same survey beside it, not yet opened.
    const std::filesystem::path other = m_dir.File("other");
    std::filesystem::copy(m_project.projectFolder, other, std::filesystem::copy_options::recursive);
    m_boxes.m_answers = {IDNO, IDNO}; // whether to save the project before
    const std::filesystem::path rhd = other / std::filesystem::path(m_project.rhdPath).filename();
    ASSERT_NE(m_pApp->OpenDocumentFile(rhd.wstring()), nullptr);
    ProcessEvents();
    ASSERT_EQ(Project().m_settings.m_iContrast, contrast);
    ASSERT_EQ(Project().m_settings.m_params.m_iTimeGain, timeGain);
    EXPECT_EQ(pContrast->m_nPos, contrast);
    EXPECT_EQ(pContrast->GetSlider()->GetPos(), contrast);
    EXPECT_EQ(pTimeGain->m_nPos, timeGain);
    EXPECT_EQ(pTimeGain->GetSlider()->GetPos(), timeGain);
}

TEST_F(MainFrameTest, DrawingEventsAreRelayedToTheDescendantsUnlessTheFrameSentThem)
{
    OpenProject();
    const LPARAM selected = MakeCodeParam(DRAW_SELECTION, 3);
    Frame()->SendMessage(WM_DRAWING_EVENT, ID_SENDER_X_SECTION, selected);
    Frame()->SendMessage(WM_DRAWING_EVENT, CMainFrame::FRAME_ID, MakeCodeParam(DRAW_REDRAW_STYLE, 0));
    EXPECT_EQ(m_listener.m_notes, (std::vector<CListener::CNote>{{WM_DRAWING_EVENT, ID_SENDER_X_SECTION, selected}}));

    // Other notices pass no further than the frame.
    m_listener.m_notes.clear();
    Frame()->SendMessage(WM_CURSOR_MOVED, ID_SENDER_X_SECTION, MakeCursorParam(ID_SENDER_X_SECTION, true));
    Frame()->SendMessage(WM_DATA_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(DATA_THICKNESS, 5));
    Frame()->SendMessage(WM_VALUE_CHANGED, ID_SENDER_CONTRAST, 0);
    Frame()->SendMessage(WM_TOOL_CLOSED, ID_SENDER_CONTRAST, 0);
    Frame()->SendMessage(WM_LAYOUT_CHANGED, 0, LAYOUT_APPLY);
    EXPECT_TRUE(m_listener.m_notes.empty());
}

TEST_F(MainFrameTest, ViewMenuHidesAndShowsToolbarAndStatusBar)
{
    ASSERT_TRUE(Start({}));
    for (UINT nID : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        CControlBar* pBar = Frame()->GetControlBar(nID);
        ASSERT_NE(pBar, nullptr);
        EXPECT_TRUE(Frame()->IsCommandEnabled(nID));
        Frame()->SendMessage(WM_COMMAND, nID, 0);
        EXPECT_FALSE(pBar->IsVisible()) << nID;
        Frame()->SendMessage(WM_COMMAND, nID, 0);
        EXPECT_TRUE(pBar->IsVisible()) << nID;
    }
}
