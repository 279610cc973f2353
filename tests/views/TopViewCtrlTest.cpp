// The depth-slice control: the image area in the grid's proportions with the rulers and the
// view around it, the erased margins, the relay of cursor notices, printing at the control's
// place, the rulers' answer to a unit change, and degenerate sizes.

#include "TopViewCtrl.h"

#include "GuiTestSupport.h"
#include "ProjectFixture.h"
#include "RecordingWnd.h"
#include "ViewCtrlChecks.h"

#include "DC.h"
#include "Messages.h"
#include "WindowClasses.h"

#include "Matrix.h"
#include "Project.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr UINT kCtrlId = 135;
constexpr QRgb kButtonFace = 0xFFF0F0F0;
constexpr QRgb kWhite = 0xFFFFFFFF;

// A project with settings only: the control and its view need no data to lay out.
void SetGrid(CProject& project, int sizeX, int sizeY)
{
    CProjectSettings& s = project.m_settings;
    s.m_iSizeX = s.m_iGridSizeX = sizeX;
    s.m_iSizeY = s.m_iGridSizeY = sizeY;
    s.m_dResolution = 0.05;
    s.m_iProfileSpacing = 10;
    s.m_iSamples = 64;
    s.m_units = UNITS_SI;
}

class TopViewCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateShown(800, 700));
        ASSERT_TRUE(m_ctrl.Create(&m_parent, kCtrlId));
        m_ctrl.Show(true);
    }

    CRecordingWnd m_parent;
    CProject m_project;
    CTopViewCtrl m_ctrl;
};

} // namespace

TEST_F(TopViewCtrlTest, CreatesItsViewAndRegistersItsClass)
{
    EXPECT_TRUE(m_ctrl.IsCreated());
    EXPECT_FALSE(m_ctrl.IsBound());
    EXPECT_EQ(m_ctrl.GetID(), int(kCtrlId));
    EXPECT_EQ(m_ctrl.GetSize(), CSize(0, 0));
    EXPECT_EQ(m_ctrl.GetMinSize(), CSize(0, 0));
    EXPECT_EQ(m_ctrl.GetDataView().GetParent(), &m_ctrl);
    EXPECT_TRUE(IsWindowClassRegistered(L"MY_MFCTopViewCtrl"));
    EXPECT_TRUE(IsWindowClassRegistered(L"MY_MFCDataTopView"));
    EXPECT_FALSE(RegisterWindowClass(L"MY_MFCTopViewCtrl"));
    // The thickness is the major tick and the label font's height.
    EXPECT_GT(m_ctrl.GetRulerThickness(), m_ctrl.GetXRuler().GetSettings().m_nMajorTickLength);
    EXPECT_EQ(m_ctrl.GetXRuler().GetSettings().m_strTitle, L" X ");
    EXPECT_EQ(m_ctrl.GetYRuler().GetSettings().m_strTitle, L" Y ");
}

TEST_F(TopViewCtrlTest, SetRectKeepsTheGridsProportionsAndPlacesRulersAndView)
{
    const struct
    {
        int width, height, sizeX, sizeY;
        CRect area;
    } cases[] = {
        {600, 300, 101, 51, CRect(3, 0, 597, 300)},   // wider than the grid: centred
        {600, 300, 51, 101, CRect(224, 0, 375, 300)},
        {300, 600, 101, 51, CRect(0, 0, 300, 151)},   // narrower: at the top-left corner
        {600, 300, 0, 0, CRect(0, 0, 600, 300)},       // no grid: the whole rectangle
    };
    for (const auto& c : cases) {
        SetGrid(m_project, c.sizeX, c.sizeY);
        m_ctrl.SetProject(&m_project, nullptr);
        const CRect outer(20, 10, 20 + c.width, 10 + c.height);
        m_ctrl.SetRect(outer);
        const int t = m_ctrl.GetRulerThickness();
        const CRect& area = m_ctrl.GetImageRect();
        EXPECT_EQ(area, c.area) << c.width << 'x' << c.height << ' ' << c.sizeX << 'x' << c.sizeY;
        EXPECT_EQ(m_ctrl.GetOuterRect(), outer);
        EXPECT_EQ(WindowRectIn(m_ctrl, m_parent), outer);

        const CRulerSettings x = m_ctrl.GetXRuler().GetSettings();
        EXPECT_EQ(CRect(x.m_nX, x.m_nY, x.m_nX + x.m_nLength, x.m_nY + x.m_nThickness),
                  CRect(area.left, area.top, area.right, area.top + t));
        EXPECT_EQ(x.m_nLeftInset, t);
        const CRulerSettings y = m_ctrl.GetYRuler().GetSettings();
        EXPECT_EQ(CPoint(y.m_nX, y.m_nY), CPoint(area.left, area.top + t - 1));
        EXPECT_EQ(y.m_nLength, area.Height() - t + 1);
        // Turned by 90 degrees the Y ruler is t wide and reaches the area's bottom.
        EXPECT_EQ(m_ctrl.GetYRuler().GetDisplaySize(), CSize(t, area.Height() - t + 1));

        EXPECT_EQ(WindowRectIn(m_ctrl.GetDataView(), m_ctrl), CRect(area.left + t, area.top + t, area.right, area.bottom));
        EXPECT_EQ(m_ctrl.GetDataView().GetImage().GetWidth(), area.Width() - t);
    }
}

TEST_F(TopViewCtrlTest, PaintsRulersOnWhiteAndErasesOnlyOutsideTheArea)
{
    SetGrid(m_project, 51, 101);
    m_ctrl.SetProject(&m_project, nullptr);
    m_ctrl.SetRect(CRect(0, 0, 600, 300));
    ProcessEvents();
    m_ctrl.UpdateWindow();
    const QImage& shown = *m_ctrl.GetBackingImage();
    const CRect area = m_ctrl.GetImageRect();
    const int t = m_ctrl.GetRulerThickness();
    EXPECT_EQ(shown.pixel(area.left - 1, 150), kButtonFace);
    EXPECT_EQ(shown.pixel(area.right, 150), kButtonFace);
    EXPECT_EQ(shown.pixel(10, 5), kButtonFace);
    // The X ruler's inset and the Y ruler's far edge are white.
    EXPECT_EQ(shown.pixel(area.left + 1, 1), kWhite);
    EXPECT_EQ(shown.pixel(area.left + 1, area.bottom - 1), kWhite);
    // The X ruler's baseline runs along its bottom row from the end of its inset.
    EXPECT_EQ(shown.pixel(area.left + t + 5, t - 1), 0xFF000000u);
}

TEST_F(TopViewCtrlTest, RelaysItsViewsNoticesByPostAndTakesOthersWhenSet)
{
    SetGrid(m_project, 61, 51);
    m_project.m_fCursorX = 30;
    m_project.m_fCursorY = 25;
    m_ctrl.SetProject(&m_project, nullptr);
    m_ctrl.SetRect(CRect(0, 0, 400, 300));
    m_parent.m_messages.clear();

    // A click in the view moves the cross-hair; the notice reaches the parent only later.
    CDataTopView& view = m_ctrl.GetDataView();
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
    EXPECT_TRUE(m_parent.m_messages.empty());
    ProcessEvents();
    const auto relayed = m_parent.Take(WM_CURSOR_MOVED);
    ASSERT_EQ(relayed.size(), 1u);
    EXPECT_EQ(relayed[0].wParam, WPARAM(kCtrlId));
    EXPECT_EQ(relayed[0].lParam, MakeCursorParam(CDataTopView::ID_VIEW, true));
    EXPECT_EQ(view.GetCrossHair().GetPosition(), CPoint(10, 20));

    // Another view's notice: a hover changes nothing, a set takes the project's cross-hair.
    const struct
    {
        bool set;
        bool moved;
    } cases[] = {{false, false}, {true, true}};
    for (const auto& c : cases) {
        m_project.m_fCursorX = 0;
        m_project.m_fCursorY = 0;
        EXPECT_EQ(m_ctrl.SendMessage(WM_CURSOR_MOVED, 134, MakeCursorParam(134, c.set)), 0);
        const CPoint expected = c.moved ? CPoint(0, view.GetImage().GetHeight() - 1) : CPoint(10, 20);
        EXPECT_EQ(view.GetCrossHair().GetPosition(), expected) << c.set;
    }
    ProcessEvents();
    EXPECT_TRUE(m_parent.Take(WM_CURSOR_MOVED).empty());
}

TEST_F(TopViewCtrlTest, DataChangesReachTheViewOrTheRulersByCode)
{
    SetGrid(m_project, 101, 51);
    m_ctrl.SetProject(&m_project, nullptr);
    const CRulerSettings metric = m_ctrl.GetXRuler().GetSettings();
    EXPECT_EQ(metric.m_strTitle, L" X [m]");
    EXPECT_EQ(m_ctrl.GetYRuler().GetSettings().m_strTitle, L" Y [m]");
    EXPECT_FLOAT_EQ(metric.m_fRangeEnd, 5.0f);
    EXPECT_FLOAT_EQ(m_ctrl.GetYRuler().GetSettings().m_fRangeEnd, 2.5f);
    // The unit system changes under the control; only codes 10 and 11 set the rulers again,
    // only 5 and 6 go on to the view.
    const struct
    {
        WORD code;
        bool viewRendersAgain, rulersInFeet;
    } cases[] = {
        {DATA_VELOCITY, false, false}, {DATA_CONTRAST, false, false}, {DATA_THRESHOLD, true, false},
        {DATA_RECOMPUTED, true, false}, {DATA_ZERO_LEVEL, false, true}, {DATA_UNITS, false, true},
    };
    for (const auto& c : cases) {
        m_project.m_settings.m_units = UNITS_SI;
        m_ctrl.UpdateRulers();
        m_project.m_settings.m_units = UNITS_IMP;
        CDataTopView& view = m_ctrl.GetDataView();
        view.Render();
        ASSERT_TRUE(view.IsImageValid());
        m_ctrl.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(c.code, 0));
        EXPECT_EQ(view.IsImageValid(), !c.viewRendersAgain) << c.code;
        const CRulerSettings x = m_ctrl.GetXRuler().GetSettings(), y = m_ctrl.GetYRuler().GetSettings();
        if (!c.rulersInFeet) {
            EXPECT_EQ(x, metric) << c.code;
            continue;
        }
        EXPECT_EQ(x.m_strTitle, L" X [ft]");
        EXPECT_EQ(y.m_strTitle, L" Y [ft]");
        EXPECT_NEAR(x.m_fRangeEnd, 5.0 * 3.2808399, 1e-4);
        EXPECT_NEAR(y.m_fRangeEnd, 2.5 * 3.2808399, 1e-4);
        EXPECT_EQ(x.m_nScaleKind, CRulerSettings::SCALE_FEET);
        EXPECT_EQ(y.m_nScaleKind, CRulerSettings::SCALE_FEET);
    }
}

TEST_F(TopViewCtrlTest, RulerRangesFollowTheSizesTheViewShowsNotTheRaisedGrid)
{
    // Grid mode 1 raises the grid to whole line steps; the view maps the traces as read.
    SetGrid(m_project, 95, 51);
    m_project.m_settings.m_iGridSizeX = 101;
    m_ctrl.SetProject(&m_project, nullptr);
    EXPECT_FLOAT_EQ(m_ctrl.GetXRuler().GetSettings().m_fRangeEnd, 94 * 0.05f);
    m_ctrl.RecalcLayout(55);
    EXPECT_FLOAT_EQ(m_ctrl.GetXRuler().GetSettings().m_fRangeEnd, 94 * 0.05f);
    EXPECT_EQ(m_ctrl.GetYRuler().GetSettings().m_nFontHeight, 55);
}

TEST_F(TopViewCtrlTest, PrintsViewAndRulersAtItsPlaceOnlyOnItsKindOfContext)
{
    CTempDir dir;
    ASSERT_TRUE(m_project.Open(CreateGeneratedProject(dir).rhdPath));
    C3DMatrix matrix;
    ASSERT_TRUE(matrix.Init(&m_project));
    ASSERT_TRUE(matrix.Calculate());
    m_ctrl.SetProject(&m_project, &matrix);
    const CRect outer(40, 30, 440, 330);
    m_ctrl.SetRect(outer);
    m_ctrl.GetDataView().Render();
    const Tovrik::CMemDC& image = m_ctrl.GetDataView().GetImage();
    const CRect viewRect = WindowRectIn(m_ctrl.GetDataView(), m_ctrl);
    const CRect area = m_ctrl.GetImageRect();

    const struct
    {
        bool contextPrinting, viewForPrinting, drawn;
    } cases[] = {{false, false, true}, {true, true, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        m_ctrl.GetDataView().m_bForPrinting = c.viewForPrinting;
        QImage page(500, 400, QImage::Format_RGB32);
        page.fill(Qt::magenta);
        CDC dc;
        ASSERT_TRUE(dc.AttachImage(&page));
        dc.m_bPrinting = c.contextPrinting;
        dc.SetViewportOrg(5, 7);
        m_ctrl.Print(&dc);
        EXPECT_EQ(dc.GetViewportOrg(), CPoint(5, 7));
        // A corner of the view away from the cross-hair, and the X ruler's white inset.
        for (const CPoint p : {CPoint(2, 2), CPoint(image.GetWidth() - 3, image.GetHeight() - 3)}) {
            const uint8_t* bgr = image.GetRowBits(p.y) + 4 * p.x;
            const QRgb expected = c.drawn ? qRgb(bgr[2], bgr[1], bgr[0]) : QRgb(0xFFFF00FF);
            EXPECT_EQ(page.pixel(outer.left + viewRect.left + p.x, outer.top + viewRect.top + p.y), expected)
                << c.contextPrinting << c.viewForPrinting;
        }
        EXPECT_EQ(page.pixel(outer.left + area.left + 1, outer.top + 1), c.drawn ? kWhite : 0xFFFF00FFu);
        EXPECT_EQ(page.pixel(outer.left - 1, outer.top - 1), 0xFFFF00FFu);
    }
}

TEST_F(TopViewCtrlTest, PrintFormNeverShowsAndItsViewPrintsOnlyToPrinters)
{
    m_ctrl.SetPrintForm();
    EXPECT_TRUE(m_ctrl.GetDataView().m_bForPrinting);
    EXPECT_TRUE(m_ctrl.GetWidget()->testAttribute(Qt::WA_DontShowOnScreen));
    EXPECT_TRUE(m_ctrl.GetDataView().GetWidget()->testAttribute(Qt::WA_DontShowOnScreen));
}

TEST_F(TopViewCtrlTest, DegenerateSizesLayOutWithoutNegativeLengths)
{
    const struct
    {
        int sizeX, sizeY;
        CRect rect;
    } cases[] = {
        {1, 1, CRect(0, 0, 0, 0)},     {1, 1, CRect(0, 0, 300, 200)}, {61, 1, CRect(0, 0, 300, 200)},
        {1, 51, CRect(0, 0, 300, 200)}, {61, 51, CRect(0, 0, 5, 5)},  {61, 51, CRect(50, 50, 10, 10)},
    };
    for (const auto& c : cases) {
        SetGrid(m_project, c.sizeX, c.sizeY);
        m_ctrl.SetProject(&m_project, nullptr);
        m_ctrl.SetRect(c.rect);
        ExpectPaintsAndPrintsWithoutNegativeRulers(m_ctrl, m_ctrl.GetXRuler(), m_ctrl.GetYRuler(), 100);
        const CRect& area = m_ctrl.GetImageRect();
        EXPECT_GE(area.Width(), 0);
        EXPECT_GE(area.Height(), 0);
    }
}

TEST(TopViewCtrlZeroTest, AControlInAWindowWithoutClientArea)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateShown(0, 0));
    CTopViewCtrl ctrl;
    ASSERT_TRUE(ctrl.Create(&parent, kCtrlId));
    ctrl.Show(true);
    CProject project;
    SetGrid(project, 61, 51);
    ctrl.SetProject(&project, nullptr);
    ctrl.SetRect(CRect(0, 0, 0, 0));
    ProcessEvents();
    ctrl.UpdateWindow();
    EXPECT_EQ(ctrl.GetImageRect(), CRect(0, 0, 0, 0));
    EXPECT_GE(ctrl.GetRulerThickness(), 0);
}
