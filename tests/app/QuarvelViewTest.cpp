// The main view in the running program: logo and binding, where its panes and panel controls
// lie, typed coordinates and slice parameters turned into settings and notifications, the
// profile direction, the layout switch, arrow keys and the relay of cursor moves.

#include "AppFixture.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "QuarvelView.h"

#include "Cfg.h"
#include "ResampMap.h"
#include "Values.h"
#include "SignalRoutines.h"

#include <QCoreApplication>
#include <QCursor>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// A child of the view that records the private messages reaching the view's descendants.
class CListener : public CWnd
{
public:
    std::vector<std::pair<UINT, LPARAM>> m_notes;

    bool Received(UINT message, LPARAM lParam) const
    {
        return std::find(m_notes.begin(), m_notes.end(), std::make_pair(message, lParam)) != m_notes.end();
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_APP && wParam == WPARAM(m_nViewID))
            m_notes.push_back({message, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }

public:
    int m_nViewID = 0; // only what the view sends under its own id
};

// A window's place in its parent's client area.
CRect Place(const CWnd& wnd)
{
    const QRect r = wnd.GetWidget()->geometry();
    return CRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}

class QuarvelViewTest : public AppFixture
{
protected:
    // The program with the generated project open in the given layout, its window 1200 x 800.
    void OpenProject(int nLayout = 0)
    {
        g_cfg.m_nLayout = nLayout;
        m_project = CreateGeneratedProject(m_dir);
        ASSERT_TRUE(Start({}));
        Frame()->MoveWindow(0, 0, 1200, 800);
        ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
        ProcessEvents();
        m_listener.m_nViewID = View()->GetDlgCtrlID();
        ASSERT_TRUE(m_listener.Create(L"", WS_CHILD, CRect(0, 0, 4, 4), View(), 999));
    }
    CProject& Project() { return Doc()->m_project; }
    CProjectSettings& Settings() { return Doc()->m_project.m_settings; }
    // Text typed into a coordinate box and ended with Enter.
    void TypeCoordinate(UINT nID, const std::wstring& text)
    {
        CEncapEdit& edit = View()->GetCoordinateEdit(nID);
        edit.SetWindowText(text);
        edit.SendMessage(WM_CHAR, VK_RETURN, 0);
    }
    // Text typed into a parameter box and ended with Enter; its report is posted.
    void TypeParameter(UINT nID, const std::wstring& text)
    {
        CNumericEdit& edit = View()->GetParameterEdit(nID);
        edit.GetEdit().SetWindowText(text);
        edit.GetEdit().SendMessage(WM_CHAR, VK_RETURN, 0);
        ProcessEvents();
    }
    std::wstring Text(UINT nID) { return View()->GetCoordinateEdit(nID).GetWindowText(); }
    LPARAM SetCursorParam() { return MakeCursorParam(View()->GetDlgCtrlID(), true); }

    CGeneratedProject m_project;
    CListener m_listener;
};

TEST_F(QuarvelViewTest, LogoUntilAProjectIsBoundAndAgainWhenItCloses)
{
    ASSERT_TRUE(Start({}));
    CQuarvelView* pView = View();
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->IsLogoMode());
    EXPECT_FALSE(pView->GetXSection().IsWindowVisible());
    EXPECT_FALSE(pView->GetTopView().IsWindowVisible());
    EXPECT_FALSE(pView->GetCoordinateEdit(CQuarvelView::IDC_EDIT_X).IsWindowVisible());

    m_project = CreateGeneratedProject(m_dir);
    ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
    EXPECT_FALSE(pView->IsLogoMode());
    EXPECT_TRUE(pView->GetTopView().IsBound());
    EXPECT_TRUE(pView->GetTopView().IsWindowVisible());
    EXPECT_TRUE(pView->GetCoordinateEdit(CQuarvelView::IDC_EDIT_X).IsWindowVisible());

    Doc()->OnCloseDocument();
    EXPECT_TRUE(pView->IsLogoMode());
    EXPECT_FALSE(pView->GetTopView().IsBound());
    EXPECT_FALSE(pView->GetXSection().GetDataView().IsBound());
    EXPECT_FALSE(pView->GetTopView().IsWindowVisible());
}

// Bound after they were laid out, the sections put their cross-hairs on the project's cursor.
TEST_F(QuarvelViewTest, BoundSectionsShowTheProjectsCursor)
{
    for (int nLayout = 0; nLayout < 2; ++nLayout) {
        OpenProject(nLayout);
        for (CSideViewCtrl* pSection : {&View()->GetXSection(), &View()->GetYSection()}) {
            CDataSideView& section = pSection->GetDataView();
            const CPoint shown = section.GetCrossHair().GetPosition();
            section.UpdateFromSettings(true);
            EXPECT_EQ(shown, section.GetCrossHair().GetPosition()) << "layout " << nLayout;
        }
        TearDown();
        SetUp();
    }
}

// In the simple layout the Y section waits hidden and without a size; shown by "Y-Profiles",
// its lines mark the cursor, and the mouse over it, after the slice, reads the section's x.
TEST_F(QuarvelViewTest, YSectionShownInTheSimpleLayoutMarksTheCursorAndReadsItsPlane)
{
    OpenProject(0);
    CQuarvelView* pView = View();
    const CProjectSettings& s = Settings();
    const auto metres = [](double value) {
        const std::string text = FormatReal(value, 2);
        return std::wstring(text.begin(), text.end());
    };
    TypeCoordinate(CQuarvelView::IDC_EDIT_X, metres((s.m_iSizeX - 1) * s.m_dResolution * 0.3));
    TypeCoordinate(CQuarvelView::IDC_EDIT_Y, metres((s.m_iSizeY - 1) * s.m_dResolution * 0.2));
    const float sample = float(s.m_iZeroLevel) + 0.6f * float(s.m_iSamples - 1 - s.m_iZeroLevel);
    TypeCoordinate(CQuarvelView::IDC_EDIT_DEPTH, metres(s.SampleToDepth(sample)));
    ProcessEvents();
    ASSERT_FALSE(pView->GetYSection().IsWindowVisible());

    pView->GetProfileRadio(CQuarvelView::IDC_Y_PROFILES).Click();
    ProcessEvents();
    CDataSideView& section = pView->GetYSection().GetDataView();
    ASSERT_TRUE(section.IsWindowVisible());
    const CPoint shown = section.GetCrossHair().GetPosition();
    const int width = section.GetSize().cx;
    EXPECT_EQ(shown.x, std::clamp(MapSourceToTarget(section.GetColumnMap(), Project().m_fCursorY), 0, width - 1));
    section.UpdateFromSettings(true);
    EXPECT_EQ(section.GetCrossHair().GetPosition(), shown);

    // The slice's hover first, then the section's: x is the section's, the cross-hair's x.
    CDataTopView& slice = pView->GetTopView().GetDataView();
    slice.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(slice.GetImage().GetWidth() - 3, 2));
    section.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(width / 3, shown.y + 15));
    ProcessEvents();
    EXPECT_EQ(Project().m_fHoverX, Project().m_fCursorX);
    const std::wstring pane = Frame()->GetStatusBar().GetPaneText(0);
    EXPECT_EQ(pane.rfind(L"x= " + Text(CQuarvelView::IDC_EDIT_X) + L" m ", 0), 0u) << ToAnsi(pane);
}

// Where every panel control lies inside its pane: offset from the pane's corner and size.
TEST_F(QuarvelViewTest, PanelControlsKeepTheirPlacesInTheirPanes)
{
    struct CPlace
    {
        UINT nID;
        int nPane;
        CRect place; // relative to the pane's cell
    };
    const CPlace places[] = {
        {CQuarvelView::IDC_EDIT_X, CViewLayout::PANE_COORDINATES, {66, 20, 116, 38}},
        {CQuarvelView::IDC_EDIT_Y, CViewLayout::PANE_COORDINATES, {66, 50, 116, 68}},
        {CQuarvelView::IDC_EDIT_DEPTH, CViewLayout::PANE_COORDINATES, {195, 20, 245, 38}},
        {CQuarvelView::IDC_X_PROFILES, CViewLayout::PANE_PROFILE_DIRECTION, {6, 20, 86, 40}},
        {CQuarvelView::IDC_Y_PROFILES, CViewLayout::PANE_PROFILE_DIRECTION, {6, 50, 86, 70}},
        {CQuarvelView::IDC_ANGLE, CViewLayout::PANE_TOP_VIEW, {10, 20, 100, 38}},
        {CQuarvelView::IDC_APERTURE, CViewLayout::PANE_TOP_VIEW, {108, 20, 198, 38}},
        {CQuarvelView::IDC_THRESHOLD, CViewLayout::PANE_TOP_VIEW, {206, 20, 316, 38}},
    };
    const std::pair<UINT, CRect> units[] = {
        {CQuarvelView::IDC_EDIT_X, {126, 22, 146, 40}},
        {CQuarvelView::IDC_EDIT_Y, {126, 52, 146, 70}},
        {CQuarvelView::IDC_EDIT_DEPTH, {255, 22, 275, 40}},
    };
    // Pane cells: grid A row 1 columns 0, 1, 3; grid B row 1 columns -, 0, 2.
    const int columns[2][3] = {{0, 1, 3}, {-1, 0, 2}};
    for (int nLayout = 0; nLayout < 2; ++nLayout) {
        OpenProject(nLayout);
        CQuarvelView* pView = View();
        CLayoutTable* pGrid = pView->GetLayout().GetCurrentGrid();
        ASSERT_EQ(pGrid, nLayout == 0 ? &pView->GetLayout().GetGridA() : &pView->GetLayout().GetGridB());
        auto paneCorner = [&](int nPane) { return pGrid->GetCell(columns[nLayout][nPane], 1)->m_rect.TopLeft(); };
        for (const CPlace& p : places) {
            if (columns[nLayout][p.nPane] < 0) {
                EXPECT_FALSE(pView->GetDlgItem(int(p.nID))->IsWindowVisible()) << p.nID;
                continue;
            }
            CRect expected = p.place;
            expected.OffsetRect(paneCorner(p.nPane).x, paneCorner(p.nPane).y);
            EXPECT_EQ(Place(*pView->GetDlgItem(int(p.nID))), expected) << "layout " << nLayout << " id " << p.nID;
            EXPECT_TRUE(pView->GetDlgItem(int(p.nID))->IsWindowVisible()) << p.nID;
        }
        for (const auto& [nID, place] : units) {
            CRect expected = place;
            expected.OffsetRect(paneCorner(CViewLayout::PANE_COORDINATES).x,
                                paneCorner(CViewLayout::PANE_COORDINATES).y);
            EXPECT_EQ(Place(pView->GetUnitLabel(nID)), expected) << "layout " << nLayout << " unit of " << nID;
        }
        // The views fill their cells; the sections' outer rectangles are the cells.
        EXPECT_EQ(pView->GetXSection().GetOuterRect(), pGrid->GetCell(nLayout == 0 ? 1 : 0, 0)->m_rect);
        EXPECT_EQ(pView->GetTopView().GetOuterRect(), pGrid->GetCell(nLayout == 0 ? 0 : 1, 0)->m_rect);
        CRect client;
        pView->GetClientRect(&client);
        EXPECT_EQ(pView->GetLayout().GetRememberedRect(), client);
        TearDown();
        SetUp();
    }
}

TEST_F(QuarvelViewTest, TypedCoordinatesMoveTheCrossHair)
{
    OpenProject();
    const CProjectSettings& s = Settings();
    ASSERT_DOUBLE_EQ(s.m_dResolution, 0.04);
    ASSERT_NE(s.m_iGridMode, 2);
    const float lastX = float(s.m_iSizeX - 1), lastY = float(s.m_iSizeY - 1);
    struct CCase
    {
        UINT nID;
        std::wstring text;
        float expected;   // traces
        std::wstring shown; // the box afterwards
    };
    const CCase cases[] = {
        {CQuarvelView::IDC_EDIT_X, L"0.4", 10.0f, L"0.40"},
        {CQuarvelView::IDC_EDIT_X, L" 0.8", 20.0f, L"0.80"},
        {CQuarvelView::IDC_EDIT_X, L"99", lastX, L""},
        {CQuarvelView::IDC_EDIT_X, L"-3", 0.0f, L"0.00"},
        {CQuarvelView::IDC_EDIT_X, L"0.6x", 15.0f, L"0.60"},
        {CQuarvelView::IDC_EDIT_X, L"abc", 15.0f, L"0.60"},   // no number: stays
        {CQuarvelView::IDC_EDIT_X, L"", 15.0f, L"0.60"},
        {CQuarvelView::IDC_EDIT_X, L"0,4", 0.0f, L"0.00"},    // read without the desktop's locale
        {CQuarvelView::IDC_EDIT_Y, L"0.2", 5.0f, L"0.20"},
        {CQuarvelView::IDC_EDIT_Y, L"1e9", lastY, L""},
        {CQuarvelView::IDC_EDIT_Y, L".", lastY, L""},
    };
    for (const CCase& c : cases) {
        m_listener.m_notes.clear();
        TypeCoordinate(c.nID, c.text);
        const float value = c.nID == CQuarvelView::IDC_EDIT_X ? Project().m_fCursorX : Project().m_fCursorY;
        EXPECT_EQ(CompareFloat(value, c.expected), 0) << "typed '" << std::string(c.text.begin(), c.text.end())
                                                       << "' gives " << value;
        if (!c.shown.empty()) {
            EXPECT_EQ(Text(c.nID), c.shown);
        }
    }
    // A taken value is a set cursor of the view's own, broadcast at once.
    TypeCoordinate(CQuarvelView::IDC_EDIT_X, L"0.12");
    EXPECT_TRUE(m_listener.Received(WM_CURSOR_MOVED, SetCursorParam()));
    EXPECT_EQ(CompareFloat(Project().m_fCursorX, 3.0f), 0);
}

TEST_F(QuarvelViewTest, TypedDepthBecomesASampleBelowTheZeroLevel)
{
    OpenProject();
    CProjectSettings& s = Settings();
    const float zl = float(s.m_iZeroLevel), last = float(s.m_iSamples - 1);
    const double mid = s.SampleToDepth(zl + 10.0f);
    struct CCase
    {
        std::wstring text;
        float expected;
    };
    const CCase cases[] = {
        {L"0", zl},
        {L"1000", last},
        {L"-0", zl},
        {L"abc", zl},
    };
    for (const CCase& c : cases) {
        TypeCoordinate(CQuarvelView::IDC_EDIT_DEPTH, c.text);
        EXPECT_EQ(CompareFloat(Project().m_fCursorDepth, c.expected), 0)
            << std::string(c.text.begin(), c.text.end()) << " gives " << Project().m_fCursorDepth;
        EXPECT_EQ(s.m_iDepthIndex, int(Project().m_fCursorDepth));
    }
    char typed[32];
    std::snprintf(typed, sizeof typed, "%.6f", mid);
    TypeCoordinate(CQuarvelView::IDC_EDIT_DEPTH, std::wstring(typed, typed + std::strlen(typed)));
    EXPECT_NEAR(Project().m_fCursorDepth, zl + 10.0f, 0.01);
    EXPECT_EQ(s.m_iDepthIndex, int(zl) + 9 + (Project().m_fCursorDepth >= zl + 10.0f ? 1 : 0));

    // A depth too large to convert to a sample leaves the depth as it was.
    const float before = Project().m_fCursorDepth;
    TypeCoordinate(CQuarvelView::IDC_EDIT_DEPTH, L"1e200");
    EXPECT_EQ(Project().m_fCursorDepth, before);
}

TEST_F(QuarvelViewTest, TypingWithoutAProjectChangesNothing)
{
    ASSERT_TRUE(Start({}));
    for (UINT nID : {CQuarvelView::IDC_EDIT_X, CQuarvelView::IDC_EDIT_Y, CQuarvelView::IDC_EDIT_DEPTH}) {
        TypeCoordinate(nID, L"0.4");
        EXPECT_EQ(Text(nID), L"0.4");
    }
    View()->SendMessage(WM_VALUE_CHANGED, CQuarvelView::IDC_APERTURE, 5);
    EXPECT_TRUE(View()->IsLogoMode());
}

TEST_F(QuarvelViewTest, SliceParametersChangeTheSettingsAndTellTheViews)
{
    OpenProject();
    CProjectSettings& s = Settings();
    struct CCase
    {
        UINT nID;
        std::wstring text;
        int expected;
        WORD code;    // broadcast to the descendants, 0 when not
    };
    const CCase cases[] = {
        {CQuarvelView::IDC_ANGLE, L"30", 30, DATA_ANGLE},
        {CQuarvelView::IDC_ANGLE, L"99", 45, DATA_ANGLE},
        {CQuarvelView::IDC_ANGLE, L"-", 0, DATA_ANGLE},
        {CQuarvelView::IDC_ANGLE, L"-120", -45, DATA_ANGLE},
        {CQuarvelView::IDC_APERTURE, L"5", 5, DATA_THICKNESS},
        {CQuarvelView::IDC_APERTURE, L"77", 40, DATA_THICKNESS},
        {CQuarvelView::IDC_APERTURE, L"0", 1, DATA_THICKNESS},
        {CQuarvelView::IDC_THRESHOLD, L"-20", -20, 0}, // to the depth slice alone
        {CQuarvelView::IDC_THRESHOLD, L"300", 255, 0},
    };
    for (const CCase& c : cases) {
        m_listener.m_notes.clear();
        TypeParameter(c.nID, c.text);
        const int value = c.nID == CQuarvelView::IDC_ANGLE      ? s.m_iAngle
                          : c.nID == CQuarvelView::IDC_APERTURE ? s.m_params.m_iAperture
                                                                : s.m_params.m_iThreshold;
        EXPECT_EQ(value, c.expected) << std::string(c.text.begin(), c.text.end());
        if (c.code != 0) {
            EXPECT_TRUE(m_listener.Received(WM_DATA_CHANGED, MakeCodeParam(c.code, c.expected)))
                << std::string(c.text.begin(), c.text.end());
        } else {
            EXPECT_TRUE(m_listener.m_notes.empty());
        }
    }
}

TEST_F(QuarvelViewTest, ApertureAboveOneNarrowsTheThresholdToPositiveValues)
{
    OpenProject();
    CProjectSettings& s = Settings();
    CNumericEdit& threshold = View()->GetParameterEdit(CQuarvelView::IDC_THRESHOLD);
    TypeParameter(CQuarvelView::IDC_THRESHOLD, L"-20");
    ASSERT_EQ(s.m_params.m_iThreshold, -20);

    TypeParameter(CQuarvelView::IDC_APERTURE, L"2");
    EXPECT_EQ(s.m_params.m_iThreshold, 0);
    EXPECT_EQ(threshold.GetPos(), 0);
    TypeParameter(CQuarvelView::IDC_THRESHOLD, L"-50");
    EXPECT_EQ(threshold.GetPos(), 0);

    TypeParameter(CQuarvelView::IDC_APERTURE, L"1");
    TypeParameter(CQuarvelView::IDC_THRESHOLD, L"-50");
    EXPECT_EQ(s.m_params.m_iThreshold, -50);

    // Bound again with a negative threshold: the range comes before the position.
    TypeParameter(CQuarvelView::IDC_APERTURE, L"3");
    s.m_params.m_iAperture = 1;
    s.m_params.m_iThreshold = -200;
    View()->OnInitialUpdate();
    EXPECT_EQ(threshold.GetPos(), -200);
    EXPECT_EQ(s.m_params.m_iThreshold, -200);
}

TEST_F(QuarvelViewTest, ProfileDirectionPutsTheChosenSectionBesideTheSlice)
{
    OpenProject(0);
    CQuarvelView* pView = View();
    const CProjectSettings& s = Settings();
    EXPECT_EQ(pView->GetProfileDirection(), 0);
    EXPECT_EQ(pView->GetProfileRadio(CQuarvelView::IDC_X_PROFILES).GetCheck(), BST_CHECKED);
    EXPECT_TRUE(pView->GetXSection().IsWindowVisible());
    EXPECT_FALSE(pView->GetYSection().IsWindowVisible());

    pView->GetProfileRadio(CQuarvelView::IDC_Y_PROFILES).Click();
    EXPECT_EQ(pView->GetProfileDirection(), 2);
    EXPECT_TRUE(pView->GetYSection().IsWindowVisible());
    EXPECT_FALSE(pView->GetXSection().IsWindowVisible());
    const int slice = int(float(s.m_iSizeX) / float(s.m_iSizeX + s.m_iSizeY) * 100.0f);
    EXPECT_EQ(pView->GetLayout().GetGridA().GetCell(0, 0)->m_nWidth, slice);
    EXPECT_EQ(pView->GetYSection().GetOuterRect(), pView->GetLayout().GetGridA().GetCell(1, 0)->m_rect);

    // Binding again resets the choice but keeps the section shown.
    pView->OnInitialUpdate();
    EXPECT_EQ(pView->GetProfileDirection(), 0);
    EXPECT_EQ(pView->GetProfileRadio(CQuarvelView::IDC_X_PROFILES).GetCheck(), BST_CHECKED);
    EXPECT_EQ(pView->GetProfileRadio(CQuarvelView::IDC_Y_PROFILES).GetCheck(), BST_UNCHECKED);
    EXPECT_TRUE(pView->GetYSection().IsWindowVisible());

    pView->GetProfileRadio(CQuarvelView::IDC_X_PROFILES).Click();
    EXPECT_EQ(pView->GetProfileDirection(), 1);
    EXPECT_TRUE(pView->GetXSection().IsWindowVisible());
    EXPECT_FALSE(pView->GetYSection().IsWindowVisible());
    EXPECT_EQ(pView->GetLayout().GetGridA().GetCell(0, 0)->m_nWidth, 50);
}

TEST_F(QuarvelViewTest, LayoutChangeSelectsTheConfiguredGroup)
{
    OpenProject(0);
    CQuarvelView* pView = View();
    const CProjectSettings& s = Settings();
    g_cfg.m_nLayout = 1;
    pView->SendMessage(WM_LAYOUT_CHANGED, 0, LAYOUT_APPLY);
    EXPECT_EQ(pView->GetLayout().GetGroup(), CViewLayout::GROUP_WIDE);
    EXPECT_TRUE(pView->GetYSection().IsWindowVisible());
    EXPECT_FALSE(pView->GetProfileRadio(CQuarvelView::IDC_X_PROFILES).IsWindowVisible());
    // The sections share 66 % by the grid sizes.
    const int a = s.m_iSizeX, b = s.m_iSizeY;
    const int larger = int(float(std::max(a, b)) / float(a + b) * 66.0f);
    CLayoutTable& grid = pView->GetLayout().GetGridB();
    EXPECT_EQ(grid.GetCell(a > b ? 0 : 2, 0)->m_nWidth, larger);
    EXPECT_EQ(grid.GetCell(0, 0)->m_nWidth + grid.GetCell(2, 0)->m_nWidth, 66);

    g_cfg.m_nLayout = 0;
    pView->SendMessage(WM_LAYOUT_CHANGED, 0, 2); // no such code
    EXPECT_EQ(pView->GetLayout().GetGroup(), CViewLayout::GROUP_WIDE);
    pView->SendMessage(WM_LAYOUT_CHANGED, 0, LAYOUT_APPLY);
    EXPECT_EQ(pView->GetLayout().GetGroup(), CViewLayout::GROUP_SIMPLE);
    EXPECT_FALSE(pView->GetYSection().IsWindowVisible());
}

TEST_F(QuarvelViewTest, UnitChangeRewritesTextsAndLabels)
{
    OpenProject();
    TypeCoordinate(CQuarvelView::IDC_EDIT_X, L"1.2");
    EXPECT_EQ(View()->GetUnitLabel(CQuarvelView::IDC_EDIT_X).GetWindowText(), L"m");
    Settings().m_units = UNITS_IMP;
    View()->SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_UNITS, 0));
    for (UINT nID : {CQuarvelView::IDC_EDIT_X, CQuarvelView::IDC_EDIT_Y, CQuarvelView::IDC_EDIT_DEPTH})
        EXPECT_EQ(View()->GetUnitLabel(nID).GetWindowText(), L"ft");
    EXPECT_EQ(Text(CQuarvelView::IDC_EDIT_X), L"3.94"); // 1.2 m
    TypeCoordinate(CQuarvelView::IDC_EDIT_X, L"3.28084");
    EXPECT_EQ(CompareFloat(Project().m_fCursorX, 25.0f), 0);
}

// Arrow keys go to the section under the mouse; elsewhere they do nothing.
TEST_F(QuarvelViewTest, ArrowKeysGoToTheSectionUnderTheMouse)
{
    struct CCase
    {
        int nLayout;
        int nTarget; // 0 X section, 1 Y section, 2 depth slice, 3 coordinate pane
        bool bMoves;
    };
    const CCase cases[] = {{0, 0, true}, {0, 2, false}, {0, 3, false}, {1, 1, true}, {1, 0, true}, {1, 2, false}};
    for (const CCase& c : cases) {
        OpenProject(c.nLayout);
        CQuarvelView* pView = View();
        CRect target;
        switch (c.nTarget) {
        case 0: target = pView->GetXSection().GetOuterRect(); break;
        case 1: target = pView->GetYSection().GetOuterRect(); break;
        case 2: target = pView->GetTopView().GetOuterRect(); break;
        default: target = Place(pView->GetCoordinateEdit(CQuarvelView::IDC_EDIT_X)); break;
        }
        CPoint point((target.left + target.right) / 2, (target.top + target.bottom) / 2);
        pView->ClientToScreen(&point);
        QCursor::setPos(point.x, point.y);
        const float before = Project().m_fCursorDepth;
        pView->SendMessage(WM_KEYDOWN, VK_DOWN, 1);
        EXPECT_EQ(Project().m_fCursorDepth != before, c.bMoves) << "layout " << c.nLayout << " target " << c.nTarget;
        TearDown();
        SetUp();
    }
}

// A cross-hair set in the depth slice reaches the sections and the panel in one turn.
TEST_F(QuarvelViewTest, CursorMoveInOneViewUpdatesTheOthersWithinOneTurn)
{
    OpenProject(1);
    CQuarvelView* pView = View();
    const CProjectSettings& s = Settings();
    CDataTopView& slice = pView->GetTopView().GetDataView();
    const int xLine = pView->GetXSection().GetDataView().GetSectionLine();
    const int yLine = pView->GetYSection().GetDataView().GetSectionLine();
    Project().m_fCursorX = float(s.m_iSizeX - 1);
    Project().m_fCursorY = float(s.m_iSizeY - 1);
    pView->GetTopView().SendMessage(WM_CURSOR_MOVED, WPARAM(slice.GetDlgCtrlID()),
                      MakeCursorParam(CQuarvelView::IDC_TOP_VIEW, true));
    EXPECT_EQ(pView->GetXSection().GetDataView().GetSectionLine(), xLine); // posted, not yet there
    QCoreApplication::processEvents();
    EXPECT_NE(pView->GetXSection().GetDataView().GetSectionLine(), xLine);
    EXPECT_NE(pView->GetYSection().GetDataView().GetSectionLine(), yLine);
    char x[32];
    std::snprintf(x, sizeof x, "%.2f", (s.m_iSizeX - 1) * s.m_dResolution);
    EXPECT_EQ(Text(CQuarvelView::IDC_EDIT_X), std::wstring(x, x + std::strlen(x)));
    EXPECT_TRUE(m_listener.Received(WM_CURSOR_MOVED, MakeCursorParam(CQuarvelView::IDC_TOP_VIEW, true)));

    // A hover goes to the frame only.
    m_listener.m_notes.clear();
    pView->SendMessage(WM_CURSOR_MOVED, CQuarvelView::IDC_X_SECTION, MakeCursorParam(CQuarvelView::IDC_X_SECTION, false));
    EXPECT_TRUE(m_listener.m_notes.empty());
    // The view's own notice is not taken again.
    pView->SendMessage(WM_CURSOR_MOVED, WPARAM(pView->GetDlgCtrlID()), SetCursorParam());
    EXPECT_TRUE(m_listener.m_notes.empty());
}
} // namespace
