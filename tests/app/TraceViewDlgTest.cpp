// The trace view window: the interpolation at fractional cross-hair positions and at the edges
// of the grid, the marker rows, the clipping of a strong gain, and its life under the frame.

#include "AppFixture.h"
#include "MainFrame.h"
#include "MemDC.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "QuarvelResources.h"
#include "ResourceIds.h"
#include "SliderCtrl.h"
#include "TraceViewDlg.h"

#include "Matrix.h"
#include "Project.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {
// A volume without files: X line a, trace b holds 100 a + 10 b + i at sample i; Y line a,
// trace b holds 1000 + 100 a + 10 b + i.
class TraceVolume
{
public:
    TraceVolume(int sizeX, int sizeY, int spacing, int samples)
    {
        CProjectSettings& s = m_project.m_settings;
        s.m_iSamples = samples;
        s.m_iProfileSpacing = spacing;
        s.m_iGridMode = 1;
        s.m_iSizeX = s.m_iGridSizeX = sizeX;
        s.m_iSizeY = s.m_iGridSizeY = sizeY;
        EXPECT_TRUE(m_matrix.Init(&m_project));
        for (uint32_t a = 0; a < m_matrix.m_nHorzLines; ++a)
            for (uint32_t b = 0; b < m_matrix.m_nNX; ++b)
                for (int i = 0; i < samples; ++i)
                    m_matrix.EditHorzTrace(a, b)[i] = float(100 * a + 10 * b + uint32_t(i));
        for (uint32_t a = 0; a < m_matrix.m_nVertLines; ++a)
            for (uint32_t b = 0; b < m_matrix.m_nNY; ++b)
                for (int i = 0; i < samples; ++i)
                    m_matrix.EditVertTrace(a, b)[i] = float(1000 + 100 * a + 10 * b + uint32_t(i));
        // Drawn only for an open project.
        m_project.m_bOpen = true;
    }
    ~TraceVolume() { m_project.m_bOpen = false; }

    CProject m_project;
    C3DMatrix m_matrix;
};
} // namespace

TEST(TraceViewDlgTest, InterpolatesFromBothLineSetsAndKeepsTheCrossHairInsideTheGrid)
{
    // Spacing 2; hand-computed first samples (each later sample adds 1).
    const struct
    {
        int sizeX, sizeY;
        float x, y;
        float first;   // result[0]
        float keptX, keptY;
    } cases[] = {
        // A crossing: the mean of T(1, 2) = 120 and U(1, 2) = 1120.
        {5, 5, 2.0f, 2.0f, 620.0f, 2.0f, 2.0f},
        // X: mean of T(1..2, 1..2) = 165; Y: U(0, 3) x 0.25 + U(1, 3) x 0.75 = 1105.
        {5, 5, 1.5f, 3.0f, 635.0f, 1.5f, 3.0f},
        // X: (T(1,1) .25 + T(1,0) .75) .25 + (T(2,1) .25 + T(2,0) .75) .75 = 177.5;
        // Y: (U(0,3) + U(0,4)) / 2 x .875 + (U(1,3) + U(1,4)) / 2 x .125 = 1047.5.
        {5, 5, 0.25f, 3.5f, 612.5f, 0.25f, 3.5f},
        // The last trace of the last X line: T(2, 4) = 240 with full weight, x kept at 3;
        // Y: (U(1, 4) + U(2, 4)) / 2 = 1190, y kept at 3.
        {5, 5, 4.0f, 4.0f, 715.0f, 3.0f, 3.0f},
        // One column: X lines of one trace, one Y line; (T(0,0) + T(1,0)) / 2 = 50 and U(0,1).
        {1, 5, 0.0f, 1.0f, 530.0f, 0.0f, 1.0f},
        // One X line: (T(0,1) + T(0,2)) / 2 = 15; Y lines of one trace: U(0,0) x .25 + U(1,0) x .75.
        {5, 1, 1.5f, 0.0f, 545.0f, 1.5f, 0.0f},
    };
    for (const auto& c : cases) {
        TraceVolume volume(c.sizeX, c.sizeY, 2, 4);
        CTraceViewDlg dialog(nullptr);
        dialog.m_pMatrix = &volume.m_matrix;
        dialog.m_fX = c.x;
        dialog.m_fY = c.y;
        std::vector<float> result;
        CTraceViewDlg::CNeighbours neighbours{};
        ASSERT_TRUE(dialog.InterpolateTrace(result, neighbours));
        ASSERT_EQ(result.size(), 4u);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(result[size_t(i)], c.first + float(i)) << c.x << ", " << c.y << " sample " << i;
        EXPECT_EQ(dialog.m_fX, c.keptX);
        EXPECT_EQ(dialog.m_fY, c.keptY);
    }
}

TEST(TraceViewDlgTest, NeighboursAreTheFourTracesOfEachLineSet)
{
    TraceVolume volume(5, 5, 2, 4);
    CTraceViewDlg dialog(nullptr);
    dialog.m_pMatrix = &volume.m_matrix;
    dialog.m_fX = 1.5f;
    dialog.m_fY = 3.0f;
    std::vector<float> result;
    CTraceViewDlg::CNeighbours neighbours{};
    ASSERT_TRUE(dialog.InterpolateTrace(result, neighbours));
    // T(1,1), T(1,2), T(2,1), T(2,2), then U(0,3), U(0,4), U(1,3), U(1,4).
    const float firsts[] = {110, 120, 210, 220, 1030, 1040, 1130, 1140};
    for (size_t k = 0; k < 8; ++k)
        EXPECT_EQ(neighbours[k][0], firsts[k]) << k;
}

TEST(TraceViewDlgTest, NothingIsDrawnWithoutAnOpenProjectAndInitialisedMatrix)
{
    TraceVolume volume(5, 5, 2, 4);
    CTraceViewDlg dialog(nullptr);
    std::vector<float> result;
    CTraceViewDlg::CNeighbours neighbours{};
    EXPECT_FALSE(dialog.InterpolateTrace(result, neighbours));
    dialog.m_pMatrix = &volume.m_matrix;
    EXPECT_TRUE(dialog.CanDraw());
    volume.m_project.m_bOpen = false;
    EXPECT_FALSE(dialog.CanDraw());
    volume.m_project.m_bOpen = true;
    volume.m_matrix.Free();
    EXPECT_FALSE(dialog.InterpolateTrace(result, neighbours));

    Tovrik::CMemDC surface;
    surface.Create(60, 40);
    const CRect all(0, 0, 60, 40);
    surface.FillSolidRect(&all, RGB(1, 2, 3));
    dialog.DrawInterpolatedTrace(&surface, CRect(0, 0, 60, 40));
    EXPECT_EQ(surface.GetPixel(30, 20), RGB(1, 2, 3));
}

TEST(TraceViewDlgTest, MarkersStandAtZeroLevelDepthAndTheBand)
{
    // 11 samples over 101 rows: 10 rows per sample.
    TraceVolume volume(5, 5, 2, 11);
    const COLORREF kGreen = RGB(0, 255, 0), kGrey = RGB(170, 170, 170), kWhite = RGB(255, 255, 255);
    const struct
    {
        int aperture;
        std::vector<int> greenRows;
    } cases[] = {{1, {50}}, {5, {30, 50, 70}}, {4, {40, 50, 70}}};
    for (const auto& c : cases) {
        CTraceViewDlg dialog(nullptr);
        dialog.m_pMatrix = &volume.m_matrix;
        dialog.m_iZeroLevel = 2;
        dialog.m_fDepth = 5.0f;
        dialog.m_iAperture = c.aperture;
        Tovrik::CMemDC surface;
        surface.Create(40, 101);
        const std::vector<float> zeros(11, 0.0f);
        dialog.DrawTrace(&surface, CRect(0, 0, 40, 101), zeros.data());
        for (int row = 1; row < 100; ++row) {
            const bool bGreen = std::find(c.greenRows.begin(), c.greenRows.end(), row) != c.greenRows.end();
            const COLORREF expected = bGreen ? kGreen : row == 20 ? kGrey : kWhite;
            EXPECT_EQ(surface.GetPixel(5, row), expected) << "aperture " << c.aperture << " row " << row;
        }
        // A zero trace runs down the grey centre line in the trace's own black pen.
        EXPECT_EQ(surface.GetPixel(20, 60), RGB(0, 0, 0));
    }
}

TEST(TraceViewDlgTest, TraceOfOneSampleIsDrawnWithoutScale)
{
    TraceVolume volume(5, 5, 2, 1);
    CTraceViewDlg dialog(nullptr);
    dialog.m_pMatrix = &volume.m_matrix;
    Tovrik::CMemDC surface;
    surface.Create(120, 80);
    dialog.DrawInterpolatedTrace(&surface, CRect(0, 0, 120, 80));
    // Every marker falls on the top row; the ground below is white.
    EXPECT_EQ(surface.GetPixel(5, 40), RGB(255, 255, 255));
}

class TraceViewWindowTest : public AppFixture
{
protected:
    void OpenProject()
    {
        m_project = CreateGeneratedProject(m_dir);
        ASSERT_TRUE(Start({}));
        ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
        m_pApp->OnIdle(0);
    }
    CProject& Project() { return Doc()->m_project; }

    CGeneratedProject m_project;
};

TEST_F(TraceViewWindowTest, StrongGainIsClippedToEachCell)
{
    OpenProject();
    CTraceViewDlg dialog(Frame());
    ASSERT_TRUE(dialog.Create(CTraceViewDlg::IDD, Frame()));
    dialog.m_pMatrix = &Doc()->m_matrix;
    dialog.m_fX = 10.5f;
    dialog.m_fY = 10.5f;
    ASSERT_NE(dialog.GetGainSlider(), nullptr);
    dialog.GetGainSlider()->SetPos(100);
    Tovrik::CMemDC surface;
    surface.Create(220, 200);
    const COLORREF kGround = RGB(1, 2, 3);
    const CRect all(0, 0, 220, 200);
    surface.FillSolidRect(&all, kGround);
    // w = (200 - 20) / 5 = 36, h = (190 - 5) / 2 = 92: cells start every 41 px from 5.
    dialog.DrawInterpolatedTrace(&surface, CRect(5, 5, 205, 195));
    for (int gap : {41, 82, 123, 164}) {
        for (int row = 5; row < 195; ++row)
            ASSERT_EQ(surface.GetPixel(gap + 2, row), kGround) << gap << ", " << row;
    }
    for (int column = 46; column < 205; ++column)
        ASSERT_EQ(surface.GetPixel(column, 99), kGround) << column;
    dialog.DestroyWindow();
}

TEST_F(TraceViewWindowTest, FrameOpensOneFollowsTheCrossHairAndForgetsItWhenClosed)
{
    OpenProject();
    Project().m_fCursorX = 3.25f;
    Project().m_fCursorY = 4.5f;
    Project().m_fCursorDepth = 20.0f;
    Project().m_settings.m_params.m_iAperture = 3;
    m_pApp->OnIdle(0);
    EXPECT_TRUE(Frame()->GetToolBar().IsButtonEnabled(ID_TOOLBAR_TRACEVIEW));
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_TRACEVIEW, 0);
    CTraceViewDlg* pDlg = Frame()->GetTraceViewDlg();
    ASSERT_NE(pDlg, nullptr);
    EXPECT_TRUE(pDlg->IsWindowVisible());
    EXPECT_EQ(pDlg->m_pMatrix, &Doc()->m_matrix);
    EXPECT_EQ(pDlg->m_fX, 3.25f);
    EXPECT_EQ(pDlg->m_fY, 4.5f);
    EXPECT_EQ(pDlg->m_fDepth, 20.0f);
    EXPECT_EQ(pDlg->m_iAperture, 3);
    EXPECT_EQ(pDlg->m_iZeroLevel, Project().m_settings.m_iZeroLevel);
    EXPECT_EQ(pDlg->GetGainSlider()->GetPos(), 1);
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_TRACEVIEW, 0);
    EXPECT_EQ(Frame()->GetTraceViewDlg(), pDlg);

    // A set cross-hair moves it; a hover does not.
    Project().m_fCursorX = 7.0f;
    Frame()->SendMessage(WM_CURSOR_MOVED, ID_SENDER_DEPTH_SLICE, MakeCursorParam(ID_SENDER_DEPTH_SLICE, false));
    EXPECT_EQ(pDlg->m_fX, 3.25f);
    Frame()->SendMessage(WM_CURSOR_MOVED, ID_SENDER_DEPTH_SLICE, MakeCursorParam(ID_SENDER_DEPTH_SLICE, true));
    EXPECT_EQ(pDlg->m_fX, 7.0f);
    // The slice thickness comes from the view; a new zero level from the application.
    Frame()->SendMessage(WM_DATA_CHANGED, ID_SENDER_THICKNESS, MakeCodeParam(DATA_THICKNESS, 7));
    EXPECT_EQ(pDlg->m_iAperture, 7);
    Project().m_settings.m_params.m_iAperture = 7;
    Project().m_settings.m_iZeroLevel = 33;
    Frame()->BroadcastDataChanged(ID_SENDER_APPLICATION, MakeCodeParam(DATA_ZERO_LEVEL, 0));
    EXPECT_EQ(pDlg->m_iZeroLevel, 33);

    // Enter and Escape leave it open; the close box ends it and the frame forgets it.
    pDlg->SendMessage(WM_COMMAND, IDOK, 0);
    pDlg->SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(Frame()->GetTraceViewDlg(), pDlg);
    pDlg->SendMessage(WM_CLOSE, 0, 0);
    ProcessEvents();
    EXPECT_EQ(Frame()->GetTraceViewDlg(), nullptr);
}

TEST_F(TraceViewWindowTest, ClosedProjectIsNotDrawn)
{
    OpenProject();
    Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_TRACEVIEW, 0);
    CTraceViewDlg* pDlg = Frame()->GetTraceViewDlg();
    ASSERT_NE(pDlg, nullptr);
    EXPECT_TRUE(pDlg->CanDraw());
    pDlg->RedrawWindow();
    ProcessEvents();
    const QImage* pShown = pDlg->GetBackingImage();
    ASSERT_NE(pShown, nullptr);
    const auto tracePixels = [&] {
        int count = 0;
        for (int y = 0; y < pShown->height(); ++y)
            for (int x = 0; x < pShown->width(); ++x)
                count += qGray(pShown->pixel(x, y)) < 64;
        return count;
    };
    ASSERT_GT(tracePixels(), 0);
    Doc()->OnCloseDocument();
    EXPECT_FALSE(pDlg->CanDraw());
    // Without any move of the user's the window shows no trace of the project before; painting
    // draws nothing from the freed matrix.
    ProcessEvents();
    EXPECT_EQ(tracePixels(), 0);
}
