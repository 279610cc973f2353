// Printing of the main view: refused without a project, one page with both sections and the
// slice over the project header, the sections' widths in the proportion of the grid, print
// objects that live for one job only, the header's texts, and the cross-hairs where the
// project's cursor is on pages of high and low resolution.

#include "AppFixture.h"

#include "MainFrame.h"
#include "PagedImage.h"
#include "PrintInfo.h"
#include "PrinterDC.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "QuarvelView.h"

#include "Cfg.h"
#include "Project.h"

#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {
std::wstring Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return Wide(text);
}

// The section's picture on the page: right of its depth ruler, under its position ruler and
// direction bar.
CRect SectionArea(CSideViewCtrl& section)
{
    const CRect outer = section.GetOuterRect();
    const CRect bar = section.GetDirectionBarRect();
    return CRect(outer.left + bar.left, outer.top + bar.bottom, outer.right, outer.bottom);
}

// The slice's picture on the page: its image area inside the rulers.
CRect SliceArea(CTopViewCtrl& slice)
{
    const CRect outer = slice.GetOuterRect();
    const CRect image = slice.GetImageRect();
    const int ruler = slice.GetRulerThickness();
    return CRect(outer.left + image.left + ruler, outer.top + image.top + ruler, outer.left + image.right,
                 outer.top + image.bottom);
}

// The columns (or rows) of the area, counted from its corner, that a dashed line of the colour
// covers: at least a third of their pixels have it.
std::vector<int> LinesOfColour(const QImage& page, const CRect& area, QRgb colour, bool bColumns)
{
    std::vector<int> lines;
    const int count = bColumns ? area.Width() : area.Height();
    const int length = bColumns ? area.Height() : area.Width();
    for (int i = 0; i < count; ++i) {
        int hits = 0;
        for (int j = 0; j < length; ++j) {
            const int x = area.left + (bColumns ? i : j), y = area.top + (bColumns ? j : i);
            hits += (page.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
        }
        if (hits * 3 >= length)
            lines.push_back(i);
    }
    return lines;
}

// One line of the colour, within a pixel of where the fraction of the extent puts it.
void ExpectLineAt(const QImage& page, const CRect& area, QRgb colour, bool bColumns, double fraction,
                  const char* what)
{
    const int extent = bColumns ? area.Width() : area.Height();
    const double expected = fraction * (extent - 1);
    const std::vector<int> lines = LinesOfColour(page, area, colour, bColumns);
    ASSERT_EQ(lines.size(), 1u) << what << ": " << (lines.empty() ? -1 : lines[0]) << " expected " << expected;
    EXPECT_LE(std::fabs(lines[0] - expected), 1.0) << what << " at " << lines[0] << " expected " << expected;
}

class QuarvelViewPrintingTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_pdf = m_dir.File("page.pdf");
        AfxGetPrinter().setOutputFormat(QPrinter::PdfFormat);
        AfxGetPrinter().setOutputFileName(QString::fromStdString(m_pdf));
    }
    void TearDown() override
    {
        AfxGetPrinter().setOutputFileName(QString());
        AppFixture::TearDown();
    }

    void OpenProject()
    {
        m_project = CreateGeneratedProject(m_dir);
        ASSERT_TRUE(Start({}));
        Frame()->MoveWindow(0, 0, 1000, 700);
        ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
        ProcessEvents();
    }

    // The print objects of a job that has begun.
    void ExpectPrintObjectsOfTheProject()
    {
        CQuarvelView* pView = View();
        ASSERT_NE(pView->GetPrintXSection(), nullptr);
        ASSERT_NE(pView->GetPrintYSection(), nullptr);
        ASSERT_NE(pView->GetPrintTopView(), nullptr);
        ASSERT_NE(pView->GetPrintHeader(), nullptr);
        ASSERT_NE(pView->GetPrintGrid(), nullptr);
        EXPECT_EQ(pView->GetPrintXSection()->GetDirection(), 1);
        EXPECT_EQ(pView->GetPrintYSection()->GetDirection(), 2);
        EXPECT_EQ(pView->GetPrintXSection()->GetDlgCtrlID(), 1);
        EXPECT_EQ(pView->GetPrintYSection()->GetDlgCtrlID(), 2);
        EXPECT_EQ(pView->GetPrintTopView()->GetDlgCtrlID(), 0);
        EXPECT_TRUE(pView->GetPrintXSection()->GetDataView().m_bForPrinting);
        EXPECT_TRUE(pView->GetPrintYSection()->GetDataView().m_bForPrinting);
        EXPECT_TRUE(pView->GetPrintTopView()->GetDataView().m_bForPrinting);
        EXPECT_TRUE(pView->GetPrintTopView()->IsBound());
        EXPECT_TRUE(pView->GetPrintXSection()->GetDataView().IsBound());
        for (CWnd* pWnd : {static_cast<CWnd*>(pView->GetPrintXSection()), static_cast<CWnd*>(pView->GetPrintYSection()),
                           static_cast<CWnd*>(pView->GetPrintTopView())})
            EXPECT_TRUE(pWnd->GetWidget()->testAttribute(Qt::WA_DontShowOnScreen));
        EXPECT_FALSE(pView->GetPrintHeader()->GetTexts().empty());
    }

    void ExpectNoPrintObjects()
    {
        CQuarvelView* pView = View();
        EXPECT_EQ(pView->GetPrintXSection(), nullptr);
        EXPECT_EQ(pView->GetPrintYSection(), nullptr);
        EXPECT_EQ(pView->GetPrintTopView(), nullptr);
        EXPECT_EQ(pView->GetPrintHeader(), nullptr);
        EXPECT_EQ(pView->GetPrintGrid(), nullptr);
    }

    std::string m_pdf;
    CGeneratedProject m_project;
};
} // namespace

TEST(QuarvelViewPrintingWidths, SectionsShareTheirWidthByTheGridSizes)
{
    const struct
    {
        int sizeX, sizeY, widthX;
    } cases[] = {
        {41, 41, 33}, {61, 51, 35}, {51, 61, 30}, {501, 1, 65}, {1, 501, 0}, {0, 0, 33},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CQuarvelView::GetPrintWidthX(c.sizeX, c.sizeY), c.widthX) << c.sizeX << " x " << c.sizeY;
}

TEST_F(QuarvelViewPrintingTest, PrintAndPreviewNeedAProject)
{
    ASSERT_TRUE(Start({}));
    CScriptedPrinting printing;
    printing.m_pdfPath = Wide(m_pdf);
    CPrintInfo info;
    EXPECT_FALSE(View()->OnPreparePrinting(&info));
    View()->OnCmdMsg(ID_FILE_PRINT, CN_COMMAND, nullptr);
    View()->OnCmdMsg(ID_FILE_PRINT_PREVIEW, CN_COMMAND, nullptr);
    EXPECT_EQ(printing.m_nPrintDialogs, 0);
    EXPECT_EQ(printing.m_nPreviewPages, 0);
    EXPECT_FALSE(std::filesystem::exists(m_pdf));

    QAction* print = Frame()->FindMenuItem(ID_FILE_PRINT);
    ASSERT_NE(print, nullptr);
    Frame()->UpdateMenu(qobject_cast<QMenu*>(print->parent()));
    EXPECT_FALSE(print->isEnabled());
    EXPECT_FALSE(Frame()->FindMenuItem(ID_FILE_PRINT_PREVIEW)->isEnabled());
    EXPECT_TRUE(Frame()->FindMenuItem(ID_FILE_PRINT_SETUP)->isEnabled());

    m_project = CreateGeneratedProject(m_dir);
    ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
    Frame()->UpdateMenu(qobject_cast<QMenu*>(print->parent()));
    EXPECT_TRUE(print->isEnabled());
    EXPECT_TRUE(Frame()->FindMenuItem(ID_FILE_PRINT_PREVIEW)->isEnabled());
}

TEST_F(QuarvelViewPrintingTest, PrintSetupRunsThePageSetupOfTheRunsPrinter)
{
    ASSERT_TRUE(Start({}));
    CScriptedPrinting printing;
    m_pApp->OnCmdMsg(ID_FILE_PRINT_SETUP, CN_COMMAND, nullptr);
    EXPECT_EQ(printing.m_nPageSetups, 1);
}

TEST_F(QuarvelViewPrintingTest, FilePrintWritesOnePageAndLeavesNoPrintObjects)
{
    OpenProject();
    CScriptedPrinting printing;
    printing.m_pdfPath = Wide(m_pdf);
    View()->OnCmdMsg(ID_FILE_PRINT, CN_COMMAND, nullptr);
    EXPECT_EQ(printing.m_nPrintDialogs, 1);
    ASSERT_EQ(printing.m_offeredRanges.size(), 1u);
    EXPECT_EQ(printing.m_offeredRanges[0], (std::pair<UINT, UINT>(1, 1)));
    const std::string pdf = ReadFileBytes(m_pdf);
    EXPECT_EQ(pdf.compare(0, 5, "%PDF-"), 0);
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
    ExpectNoPrintObjects();

    // Each request of a preview is a job of its own.
    printing.m_nPreviewRequests = 2;
    View()->OnCmdMsg(ID_FILE_PRINT_PREVIEW, CN_COMMAND, nullptr);
    EXPECT_EQ(printing.m_nPreviewPages, 1);
    ExpectNoPrintObjects();
    EXPECT_TRUE(View()->GetXSection().IsWindowVisible()); // the screen's own controls stay
}

TEST_F(QuarvelViewPrintingTest, EachJobBuildsItsPageAfreshOverThePrintableArea)
{
    OpenProject();
    const CProjectSettings& s = Doc()->m_project.m_settings;
    ASSERT_NE(s.m_iSizeX, s.m_iSizeY);
    for (int job = 0; job < 2; ++job) {
        CPrinterDC dc;
        ASSERT_TRUE(dc.StartDoc(AfxGetPrinter()));
        CPrintInfo info;
        View()->OnBeginPrinting(&dc, &info);
        ExpectPrintObjectsOfTheProject();
        CLayoutTable* pGrid = View()->GetPrintGrid();
        ASSERT_NE(pGrid, nullptr);
        const int widthX = CQuarvelView::GetPrintWidthX(s.m_iSizeX, s.m_iSizeY);
        EXPECT_EQ(pGrid->GetCell(0, 0)->m_nWidth, widthX);
        EXPECT_EQ(pGrid->GetCell(1, 0)->m_nWidth, 34);
        EXPECT_EQ(pGrid->GetCell(2, 0)->m_nWidth, 66 - widthX);
        EXPECT_EQ(pGrid->GetCell(0, 1)->m_kind, ckGroup);
        EXPECT_EQ(pGrid->GetCell(1, 1)->m_kind, ckSpace);
        const CRect page(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        EXPECT_EQ(pGrid->GetRect(), page);

        // Three views side by side in the first row, the header under them 700 pixels high.
        const CRect x = View()->GetPrintXSection()->GetOuterRect();
        const CRect y = View()->GetPrintYSection()->GetOuterRect();
        const CRect header = View()->GetPrintHeader()->GetRect();
        EXPECT_EQ(x.left, 10);
        EXPECT_EQ(x.top, 10);
        EXPECT_LT(x.right, y.left);
        EXPECT_EQ(x.Height(), y.Height());
        EXPECT_EQ(x.Width() > y.Width(), widthX > 66 - widthX);
        EXPECT_EQ(header.Height(), 700);
        EXPECT_GT(header.top, x.bottom);
        EXPECT_LE(header.bottom, page.bottom);
        EXPECT_GT(View()->GetPrintXSection()->GetRulerThickness(), View()->GetXSection().GetRulerThickness());

        View()->OnPrint(&dc, &info);
        View()->OnEndPrinting(&dc, &info);
        ExpectNoPrintObjects();
        EXPECT_TRUE(dc.EndDoc());
    }
}

TEST_F(QuarvelViewPrintingTest, PrintObjectsGoAlsoWhenTheProjectClosedDuringTheJob)
{
    OpenProject();
    CPrinterDC dc;
    ASSERT_TRUE(dc.StartDoc(AfxGetPrinter()));
    CPrintInfo info;
    View()->OnBeginPrinting(&dc, &info);
    ASSERT_NE(View()->GetPrintGrid(), nullptr);
    Doc()->OnCloseDocument();
    View()->OnPrint(&dc, &info);
    View()->OnEndPrinting(&dc, &info);
    ExpectNoPrintObjects();
    // Without a project nothing is built.
    View()->OnBeginPrinting(&dc, &info);
    ExpectNoPrintObjects();
    dc.EndDoc();
}

TEST_F(QuarvelViewPrintingTest, HeaderWritesItsLabelsAndValuesInOrder)
{
    OpenProject();
    CProject& project = Doc()->m_project;
    CProjectSettings& s = project.m_settings;
    s.m_iSizeX = 61;
    s.m_iSizeY = 51;
    s.m_dResolution = 0.04;
    s.m_dVelocity = 80.9;
    s.m_iZeroLevel = 21;
    project.m_fCursorDepth = 40.5f;
    CPrintProjectHeader header;
    EXPECT_TRUE(header.GetTexts().empty());
    header.SetProject(&project);
    const std::vector<CPrintProjectHeader::CText> expected = {
        {10, 40, L"Project:"},
        {10, 150, L"Size:"},
        {10, 260, L"Tot.Depth:"},
        {10, 370, L"Velocity:"},
        {10, 480, L"Depth:"},
        {550, 40, L"site"},
        {550, 150, L"2.40x2.00[m]"},
        {550, 260, Format("%.3f [m]", s.SampleToDepth(float(s.m_iSamples - 1)))},
        {550, 370, L"80[m/us]"},
        {550, 480, Format("%.3f [m]", double(float(s.SampleToDepth(40.5f))))},
        {1300, 150, L"Data size:"},
        {1300, 260, L"Samples:"},
        {1300, 370, L"Point int:"},
        {1300, 480, L"Zero level:"},
        {1900, 150, L"61x51"},
        {1900, 260, std::to_wstring(s.m_iSamples)},
        {1900, 370, L"0.040[m]"},
        {1900, 480, L"21"},
    };
    const std::vector<CPrintProjectHeader::CText> texts = header.GetTexts();
    ASSERT_EQ(texts.size(), expected.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].x, expected[i].x) << i;
        EXPECT_EQ(texts[i].y, expected[i].y) << i;
        EXPECT_EQ(texts[i].text, expected[i].text) << i;
    }
    // Metres whatever the unit system.
    s.m_units = UNITS_IMP;
    EXPECT_EQ(header.GetTexts()[6].text, L"2.40x2.00[m]");
}

TEST_F(QuarvelViewPrintingTest, CrossHairsAndDepthLinesArePrintedAtTheCursor)
{
    OpenProject();
    CProject& project = Doc()->m_project;
    CProjectSettings& s = project.m_settings;
    // One band line on the depth line, and a zero level below the top.
    s.m_params.m_iAperture = 1;
    s.m_iZeroLevel = 16;
    const float cursorX = 0.2f * float(s.m_iSizeX - 1), cursorY = 0.9f * float(s.m_iSizeY - 1);
    project.m_fCursorX = cursorX;
    project.m_fCursorY = cursorY;

    const QRgb yellow = qRgb(255, 255, 0), blue = qRgb(0, 0, 255), red = qRgb(255, 0, 0);
    const struct
    {
        int dpi, width, height; // an A4 page
    } pages[] = {{600, 4961, 7016}, {72, 595, 842}};
    const float depths[] = {float(s.m_iZeroLevel), float(s.m_iSamples - 5)};
    for (const auto& p : pages) {
        for (float depth : depths) {
            SCOPED_TRACE(testing::Message() << p.dpi << " dpi, depth sample " << depth);
            project.m_fCursorDepth = depth;
            CPagedImage page(p.width, p.height, p.dpi);
            QPainter painter(&page);
            CDC dc;
            ASSERT_TRUE(dc.AttachPainter(&painter));
            ASSERT_TRUE(dc.IsPrinting());
            CPrintInfo info;
            View()->OnBeginPrinting(&dc, &info);
            View()->OnPrint(&dc, &info);
            ASSERT_NE(View()->GetPrintGrid(), nullptr);
            const CRect xSection = SectionArea(*View()->GetPrintXSection());
            const CRect ySection = SectionArea(*View()->GetPrintYSection());
            const CRect slice = SliceArea(*View()->GetPrintTopView());
            const CRect header = View()->GetPrintHeader()->GetRect();
            const CRect xOuter = View()->GetPrintXSection()->GetOuterRect();
            const int ruler = View()->GetPrintXSection()->GetRulerThickness();
            View()->OnEndPrinting(&dc, &info);
            painter.end();
            const QImage& image = page.GetImage();

            const double depthFraction = double(depth) / (s.m_iSamples - 1);
            ExpectLineAt(image, xSection, blue, true, double(cursorX) / (s.m_iSizeX - 1), "X section's position line");
            ExpectLineAt(image, xSection, yellow, false, depthFraction, "X section's depth line");
            ExpectLineAt(image, ySection, red, true, double(cursorY) / (s.m_iSizeY - 1), "Y section's position line");
            ExpectLineAt(image, ySection, yellow, false, depthFraction, "Y section's depth line");
            ExpectLineAt(image, slice, blue, true, double(cursorX) / (s.m_iSizeX - 1), "slice's vertical line");
            ExpectLineAt(image, slice, red, false, 1.0 - double(cursorY) / (s.m_iSizeY - 1), "slice's horizontal line");

            // The header row and the rulers keep their sizes on paper; the sections take the
            // rest of the page, their pictures most of their cells.
            EXPECT_EQ(header.Height(), 700 * p.dpi / 600);
            EXPECT_GT(header.top, xOuter.bottom);
            EXPECT_LE(header.bottom, p.height);
            EXPECT_GT(xOuter.Height(), p.height / 2);
            EXPECT_LT(ruler, xOuter.Width() / 8);
        }
    }
}
