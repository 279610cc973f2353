// The section controls: rulers, direction bar and section inside the rectangle, the relay of
// cursor notices, the rulers' answer to velocity and unit changes, printing at the control's
// place, the profile control's line, and degenerate sizes.

#include "ProfileSideViewCtrl.h"
#include "SideViewCtrl.h"

#include "GeneratedSurveyTest.h"
#include "GuiTestSupport.h"
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

constexpr UINT kCtrlId = 134;
constexpr QRgb kMagenta = 0xFFFF00FF;

QRgb ImagePixel(const Tovrik::CMemDC& image, int x, int y)
{
    const uint8_t* bgr = image.GetRowBits(y) + 4 * x;
    return qRgb(bgr[2], bgr[1], bgr[0]);
}

class SideViewCtrlTest : public GeneratedSurveyTest
{
protected:
    void SetUp() override { ASSERT_TRUE(m_parent.CreateShown(800, 600)); }

    void Open()
    {
        ASSERT_TRUE(m_project.Open(s_rhdPath));
        ASSERT_TRUE(m_matrix.Init(&m_project));
        ASSERT_TRUE(m_matrix.Calculate());
    }

    // Created, shown and laid out in outer.
    void Place(CSideViewCtrl& ctrl, int direction, const CRect& outer)
    {
        ASSERT_TRUE(ctrl.Create(&m_parent, direction, kCtrlId));
        ctrl.SetRect(outer);
        ctrl.Show(true);
    }

    CRecordingWnd m_parent;
    CProject m_project;
    C3DMatrix m_matrix;
};

} // namespace

TEST_F(SideViewCtrlTest, SetRectPlacesRulersBarAndSectionAndColoursTheBarByDirection)
{
    Open();
    const struct
    {
        int direction;
        CRect outer;
        QRgb bar;
        const wchar_t* title;
    } cases[] = {
        {1, CRect(10, 20, 410, 320), qRgb(255, 0, 0), L" X [m]"},
        {2, CRect(0, 0, 300, 500), qRgb(0, 0, 255), L" Y [m]"},
    };
    for (const auto& c : cases) {
        CSideViewCtrl ctrl;
        Place(ctrl, c.direction, c.outer);
        ctrl.SetData(&m_project, &m_matrix);
        const int w = c.outer.Width(), h = c.outer.Height(), t = ctrl.GetRulerThickness();
        ASSERT_GT(t, 0);
        EXPECT_EQ(ctrl.GetOuterRect(), c.outer);
        EXPECT_EQ(WindowRectIn(ctrl, m_parent), c.outer);
        EXPECT_EQ(ctrl.GetDataView().GetDlgCtrlID(), int(kCtrlId) + 1);
        EXPECT_EQ(ctrl.GetDataView().GetDirection(), c.direction);

        const CRulerSettings position = ctrl.GetPositionRuler().GetSettings();
        EXPECT_EQ(CRect(position.m_nX, position.m_nY, position.m_nLength, position.m_nThickness), CRect(0, 0, w, t));
        EXPECT_EQ(position.m_nLeftInset, t);
        EXPECT_EQ(position.m_strTitle, c.title);
        const CRulerSettings depth = ctrl.GetDepthRuler().GetSettings();
        EXPECT_EQ(CPoint(depth.m_nX, depth.m_nY), CPoint(0, 0));
        EXPECT_EQ(ctrl.GetDepthRuler().GetDisplaySize(), CSize(t, h));
        EXPECT_EQ(depth.m_nLeftInset, t + 3);
        EXPECT_EQ(depth.m_strTitle, L"[m] ");

        EXPECT_EQ(ctrl.GetDirectionBarRect(), CRect(t, t, w, t + 3));
        EXPECT_EQ(WindowRectIn(ctrl.GetDataView(), ctrl), CRect(t, t + 3, w, h));

        ProcessEvents();
        ctrl.UpdateWindow();
        const QImage& shown = *ctrl.GetBackingImage();
        for (int row = t; row < t + 3; ++row)
            EXPECT_EQ(shown.pixel(w / 2, row), c.bar) << c.direction << " row " << row;
        EXPECT_NE(shown.pixel(w / 2, t + 3), c.bar) << c.direction;
    }
}

TEST_F(SideViewCtrlTest, AHiddenControlKeepsItsRectangleAndLaysOutWhenShown)
{
    CSideViewCtrl ctrl;
    ASSERT_TRUE(ctrl.Create(&m_parent, 1, kCtrlId));
    ctrl.Show(false);
    ctrl.SetRect(CRect(5, 5, 305, 205));
    EXPECT_EQ(ctrl.GetOuterRect(), CRect(5, 5, 305, 205));
    EXPECT_NE(ctrl.GetPositionRuler().GetSettings().m_nLength, 300);
    ctrl.Show(true);
    EXPECT_EQ(ctrl.GetPositionRuler().GetSettings().m_nLength, 300);
    EXPECT_EQ(WindowRectIn(ctrl, m_parent), CRect(5, 5, 305, 205));
    EXPECT_TRUE(ctrl.GetDataView().IsWindowVisible());
    EXPECT_TRUE(IsWindowClassRegistered(L"MY_MFCSideViewCtrl"));
}

TEST_F(SideViewCtrlTest, RelaysItsViewsNoticesByPostIgnoresItsOwnAndTakesOthersWhenSet)
{
    Open();
    CSideViewCtrl ctrl;
    Place(ctrl, 1, CRect(0, 0, 400, 300));
    ctrl.SetData(&m_project, &m_matrix);
    m_parent.m_messages.clear();
    CDataSideView& view = ctrl.GetDataView();
    const int viewId = int(kCtrlId) + 1;

    const CPoint click(30, view.GetZeroLevelRow() + 40);
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
    view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(click.x, click.y));
    EXPECT_TRUE(m_parent.m_messages.empty());
    ProcessEvents();
    const auto relayed = m_parent.Take(WM_CURSOR_MOVED);
    ASSERT_EQ(relayed.size(), 1u);
    EXPECT_EQ(relayed[0].wParam, WPARAM(kCtrlId));
    EXPECT_EQ(relayed[0].lParam, MakeCursorParam(viewId, true));
    EXPECT_EQ(view.GetCrossHair().GetPosition(), click);

    // The project's cross-hair moves elsewhere; who tells decides whether the view follows.
    const struct
    {
        WPARAM sender;
        bool set, follows;
    } cases[] = {{kCtrlId, true, false}, {133, false, false}, {133, true, true}};
    for (const auto& c : cases) {
        const CPoint before = view.GetCrossHair().GetPosition();
        m_project.m_fCursorX = 0.0f;
        EXPECT_EQ(ctrl.SendMessage(WM_CURSOR_MOVED, c.sender, MakeCursorParam(int(c.sender), c.set)), 0);
        EXPECT_EQ(view.GetCrossHair().GetPosition(), c.follows ? CPoint(0, before.y) : before)
            << c.sender << ' ' << c.set;
    }
    ProcessEvents();
    EXPECT_TRUE(m_parent.Take(WM_CURSOR_MOVED).empty());
}

TEST_F(SideViewCtrlTest, VelocityAndUnitChangesSetTheRulersAgain)
{
    Open();
    CSideViewCtrl ctrl;
    Place(ctrl, 2, CRect(0, 0, 400, 300));
    // Unbound, the control ignores data changes.
    const CRulerSettings unbound = ctrl.GetDepthRuler().GetSettings();
    m_parent.SendMessageToDescendants(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_VELOCITY, 0));
    EXPECT_EQ(ctrl.GetDepthRuler().GetSettings(), unbound);

    ctrl.SetData(&m_project, &m_matrix);
    CProjectSettings& s = m_project.m_settings;
    const float depthM = float(s.SampleToDepth(float(s.m_iSamples - 1)));
    EXPECT_FLOAT_EQ(ctrl.GetDepthRuler().GetSettings().m_fRangeEnd, depthM);
    EXPECT_FLOAT_EQ(ctrl.GetPositionRuler().GetSettings().m_fRangeEnd, float((s.m_iSizeY - 1) * s.m_dResolution));

    s.m_dVelocity *= 2;
    ctrl.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_VELOCITY, 0));
    EXPECT_GT(ctrl.GetDepthRuler().GetSettings().m_fRangeEnd, 1.3f * depthM);
    const float depth2 = ctrl.GetDepthRuler().GetSettings().m_fRangeEnd;

    s.m_units = UNITS_IMP;
    ctrl.SendMessage(WM_DATA_CHANGED, 0, MakeCodeParam(DATA_UNITS, 0));
    const CRulerSettings position = ctrl.GetPositionRuler().GetSettings(), depth = ctrl.GetDepthRuler().GetSettings();
    EXPECT_EQ(position.m_strTitle, L" Y [ft]");
    EXPECT_EQ(depth.m_strTitle, L"[ft] ");
    EXPECT_NEAR(depth.m_fRangeEnd, depth2 * 3.2808399, 1e-3);
    EXPECT_NEAR(position.m_fRangeEnd, (s.m_iSizeY - 1) * s.m_dResolution * 3.2808399, 1e-3);
    EXPECT_EQ(position.m_nScaleKind, CRulerSettings::SCALE_FEET);
    EXPECT_EQ(depth.m_nScaleKind, CRulerSettings::SCALE_FEET);
    EXPECT_TRUE(ctrl.GetDepthRuler().IsBound());
}

TEST_F(SideViewCtrlTest, SetDirectionTurnsThePositionRulerTheBarAndTheSection)
{
    Open();
    CSideViewCtrl ctrl;
    Place(ctrl, 1, CRect(0, 0, 400, 300));
    ctrl.SetData(&m_project, &m_matrix);
    ctrl.SetDirection(2);
    const CProjectSettings& s = m_project.m_settings;
    EXPECT_EQ(ctrl.GetDirection(), 2);
    EXPECT_EQ(ctrl.GetDataView().GetDirection(), 2);
    EXPECT_EQ(ctrl.GetPositionRuler().GetSettings().m_strTitle, L" Y [m]");
    EXPECT_FLOAT_EQ(ctrl.GetPositionRuler().GetSettings().m_fRangeEnd, float((s.m_iSizeY - 1) * s.m_dResolution));
    ProcessEvents();
    ctrl.UpdateWindow();
    const int t = ctrl.GetRulerThickness();
    EXPECT_EQ(ctrl.GetBackingImage()->pixel(200, t + 1), qRgb(0, 0, 255));
}

TEST_F(SideViewCtrlTest, PrintsSectionRulersAndBarAtItsPlaceOnlyOnItsKindOfContext)
{
    Open();
    CSideViewCtrl ctrl;
    const CRect outer(60, 40, 460, 340);
    Place(ctrl, 1, outer);
    ctrl.SetData(&m_project, &m_matrix);
    CDataSideView& view = ctrl.GetDataView();
    view.Render(CRect(0, 0, view.GetImage().GetWidth(), view.GetImage().GetHeight()));
    const Tovrik::CMemDC& image = view.GetImage();
    const int t = ctrl.GetRulerThickness();

    const struct
    {
        bool contextPrinting, viewForPrinting, drawn;
    } cases[] = {{false, false, true}, {true, true, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        view.m_bForPrinting = c.viewForPrinting;
        QImage page(600, 500, QImage::Format_RGB32);
        page.fill(Qt::magenta);
        CDC dc;
        ASSERT_TRUE(dc.AttachImage(&page));
        dc.m_bPrinting = c.contextPrinting;
        ctrl.Print(&dc);
        EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
        // Section corners away from the cross-hair, the bar, and the position ruler's inset.
        for (const CPoint p : {CPoint(2, image.GetHeight() - 3), CPoint(image.GetWidth() - 3, image.GetHeight() - 3)})
            EXPECT_EQ(page.pixel(outer.left + t + p.x, outer.top + t + 3 + p.y),
                      c.drawn ? ImagePixel(image, p.x, p.y) : kMagenta)
                << c.contextPrinting << c.viewForPrinting;
        EXPECT_EQ(page.pixel(outer.left + t + 20, outer.top + t + 1), c.drawn ? qRgb(255, 0, 0) : kMagenta);
        EXPECT_EQ(page.pixel(outer.left + 1, outer.top + 1), c.drawn ? qRgb(255, 255, 255) : kMagenta);
        EXPECT_EQ(page.pixel(outer.right, outer.bottom), kMagenta);
    }

    ctrl.SetPrintForm();
    EXPECT_TRUE(view.m_bForPrinting);
    EXPECT_TRUE(ctrl.GetWidget()->testAttribute(Qt::WA_DontShowOnScreen));
    EXPECT_TRUE(view.GetWidget()->testAttribute(Qt::WA_DontShowOnScreen));
}

TEST_F(SideViewCtrlTest, ProfileControlShowsTheLineItIsGivenLimitedToTheLines)
{
    Open();
    CProfileSideViewCtrl ctrl;
    Place(ctrl, 1, CRect(0, 0, 400, 300));
    ctrl.SetData(&m_project, &m_matrix);
    CProfileDataSideView& view = ctrl.GetProfileView();
    EXPECT_EQ(&ctrl.GetDataView(), static_cast<CDataSideView*>(&view));
    EXPECT_EQ(view.m_nDisplayMode, CProfileDataSideView::DISPLAY_PLAIN);
    EXPECT_EQ(view.m_fGainFactor, 0.0f);
    const int lines = view.GetLineCount();
    ASSERT_GT(lines, 2);
    const CRect client(0, 0, view.GetImage().GetWidth(), view.GetImage().GetHeight());

    const struct
    {
        int line, shown;
        bool rendersAgain;
    } cases[] = {{1, 1, true}, {1, 1, false}, {lines + 5, lines - 1, true}, {lines - 1, lines - 1, false}, {-4, -1, true}};
    for (const auto& c : cases) {
        view.Render(client);
        ASSERT_TRUE(view.IsImageValid());
        ctrl.SetProfileLine(c.line);
        EXPECT_EQ(view.GetSectionLine(), c.shown) << c.line;
        EXPECT_EQ(view.IsImageValid(), !c.rendersAgain) << c.line;
    }
    // A negative line shows the empty section: the frame and one diagonal on the button face.
    view.Render(client);
    EXPECT_EQ(ImagePixel(view.GetImage(), client.Width() - 10, 10), qRgb(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(ImagePixel(view.GetImage(), 0, client.Height() / 2), qRgb(0, 0, 0));
}

TEST_F(SideViewCtrlTest, DegenerateGridsAndSizesLayOutAndPaintWithoutNegativeLengths)
{
    const struct
    {
        int sizeX, sizeY, samples;
        CRect rect;
    } cases[] = {
        {1, 1, 1, CRect(0, 0, 0, 0)},    {1, 51, 64, CRect(0, 0, 300, 200)}, {61, 1, 64, CRect(0, 0, 300, 200)},
        {61, 51, 1, CRect(0, 0, 300, 200)}, {61, 51, 0, CRect(0, 0, 2, 2)},  {61, 51, 64, CRect(50, 50, 10, 10)},
    };
    for (const auto& c : cases) {
        CProject project;
        CProjectSettings& s = project.m_settings;
        s.m_iSizeX = s.m_iGridSizeX = c.sizeX;
        s.m_iSizeY = s.m_iGridSizeY = c.sizeY;
        s.m_iSamples = c.samples;
        s.m_dResolution = 0.05;
        s.m_iProfileSpacing = 10;
        for (int direction : {1, 2}) {
            CProfileSideViewCtrl ctrl;
            Place(ctrl, direction, c.rect);
            ctrl.SetData(&project, nullptr);
            ctrl.SetProfileLine(3);
            ExpectPaintsAndPrintsWithoutNegativeRulers(ctrl, ctrl.GetPositionRuler(), ctrl.GetDepthRuler(), 64);
            EXPECT_GE(ctrl.GetDirectionBarRect().Width(), 0);
        }
    }
}

TEST(SideViewCtrlZeroTest, AControlInAWindowWithoutClientArea)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateShown(0, 0));
    CSideViewCtrl ctrl;
    ASSERT_TRUE(ctrl.Create(&parent, 2, kCtrlId));
    ctrl.Show(true);
    ProcessEvents();
    ctrl.UpdateWindow();
    EXPECT_EQ(ctrl.GetDirectionBarRect().Width(), 0);
    EXPECT_GE(ctrl.GetRulerThickness(), 0);
}
