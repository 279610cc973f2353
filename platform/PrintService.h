#pragma once
// The print dialog, print setup and print preview as a replaceable service: Qt's dialogs by
// default, scripted answers in tests. All of them work on the printer of the run, so that
// what the user chose in one (printer, paper, orientation, a PDF file) holds for the next
// job. On a machine without printers the printer writes a PDF file.

#include <functional>

class CPrintInfo;
class CWnd;
class QPrinter;

class IPrintService
{
public:
    virtual ~IPrintService() = default;
    // The printer and the pages within info's range (info's from and to page); false when
    // cancelled.
    virtual bool PrintDialog(CWnd* pOwner, QPrinter& printer, CPrintInfo& info) = 0;
    // Paper and orientation; false when cancelled.
    virtual bool PageSetup(CWnd* pOwner, QPrinter& printer) = 0;
    // Shows the pages that render draws on the printer. Every request of the preview (when
    // it opens, after a change of page setup, to print from it) calls render again.
    virtual void Preview(CWnd* pOwner, QPrinter& printer, const std::function<void(QPrinter&)>& render) = 0;
};

// The installed service is not owned; nullptr puts the default one back.
void AfxSetPrintService(IPrintService* pService);
IPrintService& AfxGetPrintService();

// The printer of the run, made at the first use; it goes with the application object.
QPrinter& AfxGetPrinter();
// File > Print Setup: the service's page setup on the printer of the run, owned by the main
// window unless another owner is given.
bool AfxPrintSetup(CWnd* pOwner = nullptr);
