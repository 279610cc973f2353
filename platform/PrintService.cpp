#include "PrintService.h"

#include "PrintInfo.h"
#include "PrinterDC.h"
#include "WinApp.h"
#include "Wnd.h"

#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

namespace {
QWidget* WidgetOf(CWnd* pOwner)
{
    if (!pOwner && AfxGetApp())
        pOwner = AfxGetApp()->GetMainWnd();
    return pOwner ? pOwner->GetWidget() : nullptr;
}

class CQtPrintService : public IPrintService
{
public:
    bool PrintDialog(CWnd* pOwner, QPrinter& printer, CPrintInfo& info) override
    {
        QPrintDialog dialog(&printer, WidgetOf(pOwner));
        dialog.setMinMax(int(info.GetMinPage()), int(info.GetMaxPage()));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, info.GetMaxPage() > info.GetMinPage());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const bool bRange = printer.printRange() == QPrinter::PageRange;
        info.m_nFromPage = bRange ? UINT(std::max(0, printer.fromPage())) : 0;
        info.m_nToPage = bRange ? UINT(std::max(0, printer.toPage())) : 0;
        return true;
    }

    bool PageSetup(CWnd* pOwner, QPrinter& printer) override
    {
        QPageSetupDialog dialog(&printer, WidgetOf(pOwner));
        return dialog.exec() == QDialog::Accepted;
    }

    void Preview(CWnd* pOwner, QPrinter& printer, const std::function<void(QPrinter&)>& render) override
    {
        QPrintPreviewDialog dialog(&printer, WidgetOf(pOwner));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&render](QPrinter* pPrinter) {
            if (pPrinter)
                render(*pPrinter);
        });
        dialog.exec();
    }
};

// Holds the printer of the run as a child of the application object, so that it goes before
// the application does.
class CRunPrinter : public QObject
{
public:
    using QObject::QObject;
    QPrinter m_printer{QPrinter::HighResolution};
};

CQtPrintService s_defaultPrintService;
IPrintService* s_pPrintService = &s_defaultPrintService;
QPointer<CRunPrinter> s_pRunPrinter;
} // namespace

void AfxSetPrintService(IPrintService* pService)
{
    s_pPrintService = pService ? pService : &s_defaultPrintService;
}

IPrintService& AfxGetPrintService()
{
    return *s_pPrintService;
}

QPrinter& AfxGetPrinter()
{
    if (!s_pRunPrinter) {
        s_pRunPrinter = new CRunPrinter(QCoreApplication::instance());
        s_pRunPrinter->m_printer.setResolution(CPrinterDC::MAX_RESOLUTION);
    }
    return s_pRunPrinter->m_printer;
}

bool AfxPrintSetup(CWnd* pOwner)
{
    return s_pPrintService->PageSetup(pOwner, AfxGetPrinter());
}
