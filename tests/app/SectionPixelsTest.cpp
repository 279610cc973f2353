// The sections of the running program, pixel for pixel: on the reference survey and on a small
// survey of odd sizes, in both layouts and both unit systems, after the cross-hair, the
// contrast, the time gain and the palette change, every shown section equals the plain
// column-by-column render of its line; every data view shows on the screen what it composed.

#include "AppFixture.h"
#include "ImageColours.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "QuarvelView.h"
#include "ReferenceSectionImage.h"

#include "Cfg.h"
#include "Matrix.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The reference survey's lines over a smaller area whose grid sizes and line counts are odd.
SurveyGen::CSurveyParams OddSurvey()
{
    SurveyGen::CSurveyParams params = SurveyGen::SmallSurvey();
    params.sizeX = 2.2;
    params.sizeY = 1.3;
    params.lineSpacing = 0.3;
    params.traceInterval = 0.05;
    params.samples = 77;
    return params;
}

// Pixels that differ, with the first one named.
int Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width, std::string& first)
{
    if (a.size() != b.size()) {
        first = "sizes differ";
        return -1;
    }
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && count++ == 0)
            first = "first at (" + std::to_string(int(i) % width) + ", " + std::to_string(int(i) / width) + ")";
    return count;
}

class SectionPixelsTest : public AppFixture
{
protected:
    void Open(const SurveyGen::CSurveyParams& params, int width, int height)
    {
        m_project = CreateGeneratedProject(m_dir, params);
        ASSERT_TRUE(Start({}));
        Frame()->MoveWindow(0, 0, width, height);
        ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
        Settle();
    }
    void Settle()
    {
        ProcessEvents();
        Frame()->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ProcessEvents();
    }
    void Broadcast(int code)
    {
        Frame()->BroadcastDataChanged(ID_SENDER_APPLICATION, MakeCodeParam(code, 0));
        Settle();
    }

    // The plain render of the line the view shows, at its size.
    std::vector<uint32_t> Reference(CDataSideView& view)
    {
        CProject& project = Doc()->m_project;
        C3DMatrix& matrix = Doc()->m_matrix;
        const bool bAlongX = view.GetDirection() == CDataSideView::DIRECTION_X;
        const int lines = view.GetLineCount();
        const uint32_t lineA = uint32_t(std::min(view.GetSectionLine(), lines - 1));
        const uint32_t lineB = std::min(lineA + 1, uint32_t(lines - 1));
        const CProjectSettings& s = project.m_settings;
        const int positions = std::min(bAlongX ? s.m_iSizeX : s.m_iSizeY, int(bAlongX ? matrix.m_nNX : matrix.m_nNY));
        CReferenceSection section;
        section.pColumnMap = &view.GetColumnMap();
        section.pDepthMap = &view.GetDepthMap();
        section.pGain = &view.GetGain();
        for (int t = 0; t < positions; ++t) {
            section.tracesA.push_back(bAlongX ? matrix.GetHorzTrace(lineA, uint32_t(t)) : matrix.GetVertTrace(lineA, uint32_t(t)));
            section.tracesB.push_back(bAlongX ? matrix.GetHorzTrace(lineB, uint32_t(t)) : matrix.GetVertTrace(lineB, uint32_t(t)));
        }
        section.weightA = 1.0f - view.GetSectionFraction();
        section.weightB = view.GetSectionFraction();
        section.samples = std::min(s.m_iSamples, int(matrix.m_nSamples));
        section.contrast = s.m_iContrast;
        section.width = view.GetImage().GetWidth();
        section.height = view.GetImage().GetHeight();
        return ReferenceSectionImage(section, g_cfg.m_curColors, g_cfg.m_bPaletteWrap);
    }

    // Every shown section equals its plain render; returns how many were compared.
    int ExpectSectionsAsReference(const std::string& what)
    {
        int compared = 0;
        for (CSideViewCtrl* pCtrl : {&View()->GetXSection(), &View()->GetYSection()}) {
            CDataSideView& view = pCtrl->GetDataView();
            if (!view.IsShown())
                continue;
            EXPECT_TRUE(view.IsImageValid()) << what;
            std::string first;
            EXPECT_EQ(Differences(ColoursOf(view.GetImage()), Reference(view), view.GetImage().GetWidth(), first), 0)
                << what << ", direction " << view.GetDirection() << ": " << first;
            ++compared;
        }
        return compared;
    }

    // The window shows the composed image, but for the cross-hair's rows and column.
    static void ExpectScreenShowsComposition(CDataView& view, const std::string& what)
    {
        const Tovrik::CMemDC& image = view.GetComposedImage();
        const QImage* pScreen = view.GetBackingImage();
        ASSERT_NE(pScreen, nullptr);
        ASSERT_GE(pScreen->width(), image.GetWidth());
        ASSERT_GE(pScreen->height(), image.GetHeight());
        const CCrossHair& cross = view.GetCrossHair();
        int differences = 0;
        for (int y = 0; y < image.GetHeight(); ++y) {
            if (y == cross.GetPosition().y || y == cross.GetBandRow(0) || y == cross.GetBandRow(1))
                continue;
            for (int x = 0; x < image.GetWidth(); ++x) {
                const QRgb shown = pScreen->pixel(x, y);
                differences += x != cross.GetPosition().x &&
                               image.GetPixel(x, y) != RGB(qRed(shown), qGreen(shown), qBlue(shown));
            }
        }
        EXPECT_EQ(differences, 0) << what;
    }
    void ExpectEveryPaneShowsItsComposition(const std::string& what)
    {
        ExpectScreenShowsComposition(View()->GetTopView().GetDataView(), what + ", top view");
        for (CSideViewCtrl* pCtrl : {&View()->GetXSection(), &View()->GetYSection()})
            if (pCtrl->GetDataView().IsShown())
                ExpectScreenShowsComposition(pCtrl->GetDataView(), what + ", section");
    }

    CGeneratedProject m_project;
};

} // namespace

TEST_F(SectionPixelsTest, SectionsEqualThePlainRenderInBothLayoutsAndUnitSystems)
{
    const struct
    {
        const char* name;
        SurveyGen::CSurveyParams params;
        int width, height;
    } surveys[] = {{"reference", SurveyGen::ReferenceSurvey(), 1280, 800}, {"odd", OddSurvey(), 1111, 737}};
    for (const auto& survey : surveys) {
        SCOPED_TRACE(survey.name);
        Open(survey.params, survey.width, survey.height);
        CProject& project = Doc()->m_project;
        CProjectSettings& s = project.m_settings;
        for (const int layout : {0, 1}) {
            for (const TUnits units : {UNITS_SI, UNITS_IMP}) {
                const std::string what = "layout " + std::to_string(layout) + ", units " + std::to_string(int(units));
                g_cfg.m_nLayout = layout;
                View()->SendMessage(WM_LAYOUT_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(LAYOUT_APPLY, 0));
                g_cfg.m_units = units;
                s.m_units = units;
                Frame()->SendMessageToDescendants(WM_DATA_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(DATA_UNITS, 0));
                Settle();
                EXPECT_GE(ExpectSectionsAsReference(what + ", opened"), 1);
                ExpectEveryPaneShowsItsComposition(what + ", opened");

                // Between lines, away from the grid positions, at a depth of its own.
                CDataTopView& slice = View()->GetTopView().GetDataView();
                const CSize size = slice.GetSize();
                const CPoint click(size.cx * 37 / 100 + layout, size.cy * 61 / 100 + int(units));
                slice.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
                slice.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(click.x, click.y));
                Settle();
                ExpectSectionsAsReference(what + ", cross-hair moved");
                ExpectEveryPaneShowsItsComposition(what + ", cross-hair moved");

                s.m_iContrast = 9 - 4 * layout;
                Broadcast(DATA_CONTRAST);
                ExpectSectionsAsReference(what + ", contrast");
                s.m_params.m_iTimeGain = 40 + 30 * int(units);
                s.m_params.m_iTgExponent = 1;
                Broadcast(DATA_TIME_GAIN);
                ExpectSectionsAsReference(what + ", time gain");

                // A palette of its own, wrapped; the settings dialog ends with a redraw.
                for (int i = 0; i < 256; ++i)
                    g_cfg.m_curColors[size_t(i)] = RGB(i, (i * 7 + layout) & 0xFF, 255 - i);
                g_cfg.m_bPaletteWrap = layout == 1;
                Broadcast(DATA_RECOMPUTED);
                ExpectSectionsAsReference(what + ", palette");
                ExpectEveryPaneShowsItsComposition(what + ", palette");
            }
        }
        TearDown();
        SetUp();
    }
}

// A new zero level recomputes the migrated matrix: the sections show it, as a fresh render
// of the new matrix would.
TEST_F(SectionPixelsTest, SectionsShowTheMatrixMigratedForANewZeroLevel)
{
    Open(OddSurvey(), 1111, 737);
    g_cfg.m_nLayout = 1;
    View()->SendMessage(WM_LAYOUT_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(LAYOUT_APPLY, 0));
    CProjectSettings& s = Doc()->m_project.m_settings;
    s.m_params.m_bMigration = true;
    ASSERT_TRUE(Doc()->Recalculate());
    Broadcast(DATA_RECOMPUTED);
    ASSERT_EQ(ExpectSectionsAsReference("migrated"), 2);
    std::vector<std::vector<uint32_t>> before;
    for (CSideViewCtrl* pCtrl : {&View()->GetXSection(), &View()->GetYSection()})
        before.push_back(ColoursOf(pCtrl->GetDataView().GetImage()));

    m_pApp->ApplyZeroLevel(float(s.m_iZeroLevel + 6));
    Settle();
    EXPECT_EQ(ExpectSectionsAsReference("new zero level"), 2);
    for (CSideViewCtrl* pCtrl : {&View()->GetXSection(), &View()->GetYSection()})
        EXPECT_NE(ColoursOf(pCtrl->GetDataView().GetImage()), before[pCtrl == &View()->GetXSection() ? 0 : 1]);
    ExpectEveryPaneShowsItsComposition("new zero level");
}
