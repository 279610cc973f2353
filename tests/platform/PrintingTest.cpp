// The print road of a view: print dialog, the job on the printer of the run with its pages,
// a PDF file as the printer, print setup kept for the run, and the preview's repeated jobs.

#include "DC.h"
#include "GuiTestSupport.h"
#include "PrintInfo.h"
#include "PrintService.h"
#include "PrinterDC.h"
#include "TestSupport.h"
#include "View.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// Records each step of the road as "name page", and the page as the device context gave it.
class CPrintingView : public CView
{
public:
    void OnDraw(CDC* pDC) override
    {
        m_steps.push_back("draw");
        pDC->FillSolidRect(100, 100, 400, 300, RGB(0, 0, 255));
    }
    bool OnPreparePrinting(CPrintInfo* pInfo) override
    {
        m_steps.push_back("prepare");
        if (m_nMaxPage)
            pInfo->SetMaxPage(m_nMaxPage);
        return m_bRefuse ? false : DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override
    {
        m_steps.push_back(pInfo->m_bPreview ? "begin preview" : "begin");
        m_bPrinting = pDC->IsPrinting();
        m_page = CRect(0, 0, pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
        m_nDpi = pDC->GetDeviceCaps(LOGPIXELSX);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        m_steps.push_back("print " + std::to_string(pInfo->m_nCurPage));
        EXPECT_EQ(pInfo->m_rectDraw, m_page);
        CView::OnPrint(pDC, pInfo);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { m_steps.push_back("end"); }

    UINT m_nMaxPage = 0; // 0: the page count stays unknown
    bool m_bRefuse = false;
    std::vector<std::string> m_steps;
    bool m_bPrinting = false;
    CRect m_page;
    int m_nDpi = 0;
};

// The printer of the run as the tests found it, put back afterwards.
class CRunPrinterState
{
public:
    CRunPrinterState() : m_layout(AfxGetPrinter().pageLayout()), m_format(AfxGetPrinter().outputFormat()) {}
    ~CRunPrinterState()
    {
        AfxGetPrinter().setPageLayout(m_layout);
        AfxGetPrinter().setOutputFormat(m_format);
        AfxGetPrinter().setResolution(CPrinterDC::MAX_RESOLUTION);
    }

private:
    QPageLayout m_layout;
    QPrinter::OutputFormat m_format;
};

int64_t FileSize(const std::wstring& path)
{
    const QFileInfo info(QString::fromStdWString(path));
    return info.exists() ? info.size() : -1;
}
} // namespace

TEST(PrintingTest, PrintRunsTheRoadInOrderOnTheChosenPdfFile)
{
    const struct
    {
        const char* name;
        UINT maxPage;
        UINT fromPage;
        UINT toPage;
        bool refuse;
        bool cancel;
        std::vector<std::string> steps;
    } cases[] = {
        {"one page", 1, 0, 0, false, false, {"prepare", "begin", "print 1", "draw", "end"}},
        {"unknown count", 0, 0, 0, false, false, {"prepare", "begin", "print 1", "draw", "end"}},
        {"chosen pages", 4, 2, 3, false, false, {"prepare", "begin", "print 2", "draw", "print 3", "draw", "end"}},
        {"cancelled", 1, 0, 0, false, true, {"prepare"}},
        {"refused", 1, 0, 0, true, false, {"prepare"}},
    };
    CRunPrinterState keep;
    for (const auto& c : cases) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const std::wstring pdf = folder.filePath("page.pdf").toStdWString();
        CScriptedPrinting printing;
        printing.m_pdfPath = c.cancel ? std::wstring() : pdf;
        printing.m_nFromPage = c.fromPage;
        printing.m_nToPage = c.toPage;
        CPrintingView view;
        view.m_nMaxPage = c.maxPage;
        view.m_bRefuse = c.refuse;
        // File > Print reaches the view through command routing.
        EXPECT_TRUE(view.OnCmdMsg(ID_FILE_PRINT, CN_COMMAND, nullptr)) << c.name;
        EXPECT_EQ(view.m_steps, c.steps) << c.name;
        EXPECT_EQ(printing.m_nPrintDialogs, c.refuse ? 0 : 1) << c.name;
        const bool bPrinted = c.steps.size() > 1;
        EXPECT_EQ(FileSize(pdf) > 0, bPrinted) << c.name;
        if (bPrinted) {
            EXPECT_TRUE(view.m_bPrinting) << c.name;
            EXPECT_EQ(printing.m_offeredRanges.back(),
                      std::make_pair(1u, c.maxPage ? c.maxPage : CPrintInfo::UNKNOWN_PAGE_COUNT))
                << c.name;
        }
    }
}

TEST(PrintingTest, PageIsThePrintableAreaAtAtMost600DotsPerInch)
{
    CRunPrinterState keep;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    CScriptedPrinting printing;
    printing.m_pdfPath = folder.filePath("page.pdf").toStdWString();
    for (const int dpi : {1200, 300}) {
        AfxGetPrinter().setResolution(dpi);
        CPrintingView view;
        view.m_nMaxPage = 1;
        view.OnFilePrint();
        const int expectedDpi = std::min(dpi, CPrinterDC::MAX_RESOLUTION);
        EXPECT_EQ(view.m_nDpi, expectedDpi);
        const QRect paint = AfxGetPrinter().pageLayout().paintRectPixels(expectedDpi);
        EXPECT_EQ(view.m_page, CRect(0, 0, paint.width(), paint.height())) << dpi;
    }
}

TEST(PrintingTest, PrintSetupHoldsForTheNextJobsOfTheRun)
{
    CRunPrinterState keep;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    CScriptedPrinting printing;
    printing.m_pdfPath = folder.filePath("page.pdf").toStdWString();
    const struct
    {
        QPageLayout::Orientation orientation; // what print setup chooses
        bool cancel;
        bool wide;                            // the page of the next jobs
    } cases[] = {
        {QPageLayout::Landscape, false, true},
        {QPageLayout::Portrait, true, true},
        {QPageLayout::Portrait, false, false},
    };
    for (const auto& c : cases) {
        printing.m_setup = nullptr;
        if (!c.cancel)
            printing.m_setup = [&c](QPrinter& printer) { printer.setPageOrientation(c.orientation); };
        EXPECT_EQ(AfxPrintSetup(), !c.cancel);
        for (int job = 0; job < 2; ++job) {
            CPrintingView view;
            view.m_nMaxPage = 1;
            view.OnFilePrint();
            EXPECT_EQ(view.m_page.Width() > view.m_page.Height(), c.wide) << job;
        }
    }
    EXPECT_EQ(printing.m_nPageSetups, 3);
}

TEST(PrintingTest, PreviewRunsAWholeJobForEveryRequestWithoutAPrintDialog)
{
    CRunPrinterState keep;
    CScriptedPrinting printing;
    printing.m_nPreviewRequests = 2;
    CPrintingView view;
    view.m_nMaxPage = 1;
    EXPECT_TRUE(view.OnCmdMsg(ID_FILE_PRINT_PREVIEW, CN_COMMAND, nullptr));
    EXPECT_EQ(view.m_steps, (std::vector<std::string>{"prepare", "begin preview", "print 1", "draw", "end",
                                                      "begin preview", "print 1", "draw", "end"}));
    EXPECT_EQ(printing.m_nPrintDialogs, 0);
    EXPECT_EQ(printing.m_nPreviewPages, 1);
    EXPECT_TRUE(view.m_bPrinting);
    EXPECT_GT(view.m_page.Width(), 0);

    // A refused preview shows nothing.
    CPrintingView refusing;
    refusing.m_bRefuse = true;
    refusing.OnFilePrintPreview();
    EXPECT_EQ(refusing.m_steps, std::vector<std::string>{"prepare"});
}

TEST(PrintingTest, APrinterThatCannotStartIsReportedAndNothingRuns)
{
    CRunPrinterState keep;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    CScriptedPrinting printing;
    printing.m_pdfPath = folder.filePath("missing/folder/page.pdf").toStdWString();
    CScriptedMessageBoxes boxes;
    ClearLog();
    CPrintingView view;
    view.m_nMaxPage = 1;
    view.OnFilePrint();
    EXPECT_EQ(view.m_steps, std::vector<std::string>{"prepare"});
    EXPECT_EQ(boxes.m_texts, std::vector<std::wstring>{L"Failed to start print job."});
    EXPECT_NE(ReadLog().find("cannot start"), std::string::npos);

    // A device context whose job never started has nothing to end.
    CPrinterDC dc;
    EXPECT_FALSE(dc.NewPage());
    EXPECT_FALSE(dc.EndDoc());
}

TEST(PrintingTest, QtPrintDialogOffersAPdfFileAlsoWithoutPrinters)
{
    CRunPrinterState keep;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString pdf = folder.filePath("chosen.pdf");
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no print dialog";
            if (QApplication::activeModalWidget())
                QApplication::activeModalWidget()->close();
            return;
        }
        auto* printers = dialog->findChild<QComboBox*>("printers");
        auto* fileName = dialog->findChild<QLineEdit*>("filename");
        if (printers && fileName) {
            for (int i = 0; i < printers->count(); ++i)
                offered << printers->itemText(i);
            printers->setCurrentIndex(printers->count() - 1);
            fileName->setText(pdf);
        }
        dialog->accept();
    });
    CPrintingView view;
    view.m_nMaxPage = 1;
    view.OnFilePrint();
    EXPECT_TRUE(offered.join(' ').contains("PDF")) << offered.join(',').toStdString();
    EXPECT_EQ(view.m_steps, (std::vector<std::string>{"prepare", "begin", "print 1", "draw", "end"}));
    EXPECT_GT(FileSize(pdf.toStdWString()), 0);
}

TEST(PrintingTest, QtPreviewAsksForThePagesWhenItOpensAndAgainAfterAChange)
{
    CRunPrinterState keep;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no preview";
            if (QApplication::activeModalWidget())
                QApplication::activeModalWidget()->close();
            return;
        }
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
            preview->updatePreview();
        dialog->reject();
    });
    CPrintingView view;
    view.m_nMaxPage = 1;
    view.OnFilePrintPreview();
    EXPECT_EQ(view.m_steps, (std::vector<std::string>{"prepare", "begin preview", "print 1", "draw", "end",
                                                      "begin preview", "print 1", "draw", "end"}));
}
