#include "View.h"

#include "DC.h"
#include "Document.h"
#include "FrameWnd.h"
#include "PrintInfo.h"
#include "PrintService.h"
#include "PrinterDC.h"
#include "Services.h"

#include "MessageLog.h"

#include <algorithm>
#include <cstdint>

CView::CView()
{
    m_crBackground = RGB(255, 255, 255);
    MapCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    MapCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const
{
    for (CWnd* pWnd = GetParent(); pWnd; pWnd = pWnd->GetParent())
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(pWnd))
            return pFrame;
    return nullptr;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, void*)
{
    Invalidate(true);
}

bool CView::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pCmdUI);
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITIALUPDATE) {
        OnInitialUpdate();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    if (pInfo && pInfo->GetMaxPage() == CPrintInfo::UNKNOWN_PAGE_COUNT && pInfo->m_nCurPage > 1)
        pInfo->m_bContinuePrinting = false;
}

bool CView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

bool CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    if (!pInfo)
        return false;
    return pInfo->m_bPreview || AfxGetPrintService().PrintDialog(this, AfxGetPrinter(), *pInfo);
}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return;
    if (!PrintJob(AfxGetPrinter(), info))
        AfxMessageBox(L"Failed to start print job.", MB_OK | MB_ICONEXCLAMATION);
}

void CView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = true;
    if (!OnPreparePrinting(&info))
        return;
    AfxGetPrintService().Preview(this, AfxGetPrinter(), [this, &info](QPrinter& printer) {
        CPrintInfo job = info;
        PrintJob(printer, job);
    });
}

bool CView::PrintJob(QPrinter& printer, CPrintInfo& info)
{
    CPrinterDC dc;
    if (!dc.StartDoc(printer))
        return false;
    const uint64_t first = std::max(info.GetMinPage(), info.m_nFromPage);
    const uint64_t last = info.m_nToPage ? std::min(info.GetMaxPage(), info.m_nToPage) : info.GetMaxPage();
    OnBeginPrinting(&dc, &info);
    for (uint64_t page = first; page <= last; ++page) {
        info.m_nCurPage = UINT(page);
        OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        if (page != first && !dc.NewPage()) {
            g_messageLog.Log(LOG_ERROR, "CView::PrintJob(): page %u could not start.", info.m_nCurPage);
            break;
        }
        info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        OnPrint(&dc, &info);
    }
    OnEndPrinting(&dc, &info);
    if (!dc.EndDoc())
        g_messageLog.Log(LOG_ERROR, "CView::PrintJob(): the print job could not be finished.");
    return true;
}
