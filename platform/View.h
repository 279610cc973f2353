#pragma once
// The framework's view: the child window of the frame that shows the document. Painting goes
// to OnDraw; the document's changes arrive as OnInitialUpdate (after each new or opened
// document) and OnUpdate; commands are offered to the view and then to its document.

#include "Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;

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
    virtual void OnPrepareDC(CDC*) {}

    bool OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void PostNcDestroy() override;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
