#pragma once
// The framework's view: the child window of the frame that shows the document. Painting goes
// to OnDraw; the document's changes arrive as OnInitialUpdate (after each new or opened
// document) and OnUpdate; commands are offered to the view and then to its document.
// File > Print and Print Preview come to the view: OnPreparePrinting decides and runs the
// print dialog (DoPreparePrinting); a job then calls OnBeginPrinting, OnPrepareDC and OnPrint
// for each page, and OnEndPrinting, on the printer of the run. A preview runs such a job for
// every page request it makes, so a view builds what it prints anew in each job.

#include "Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;
class CPrintInfo;
class QPrinter;

class CView : public CWnd
{
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnInitialUpdate();
    // pHint and lHint say what changed; the framework's own repaints.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, void* pHint);
    // For a job whose page count is unknown, the default ends it after the first page.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

    void OnFilePrint();
    void OnFilePrintPreview();

    bool OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;

protected:
    // False refuses the job; the default runs the print dialog.
    virtual bool OnPreparePrinting(CPrintInfo* pInfo);
    // The print dialog on the printer of the run, none for a preview; false when cancelled.
    bool DoPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC*, CPrintInfo*) {}
    // The default prints what the view draws on the screen.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC*, CPrintInfo*) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void PostNcDestroy() override;

private:
    // One job on the printer, from OnBeginPrinting to OnEndPrinting; false when the printer
    // could not start.
    bool PrintJob(QPrinter& printer, CPrintInfo& info);

    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
