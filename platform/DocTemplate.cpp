#include "DocTemplate.h"

#include "Document.h"
#include "FrameWnd.h"
#include "Services.h"
#include "View.h"
#include "WinApp.h"

CDocTemplate::CDocTemplate(UINT nIDResource, std::function<CDocument*()> newDocument,
                           std::function<CFrameWnd*()> newFrame, std::function<CView*()> newView)
    : m_nIDResource(nIDResource), m_newDocument(std::move(newDocument)), m_newFrame(std::move(newFrame)),
      m_newView(std::move(newView))
{
}

CDocTemplate::~CDocTemplate() = default;

CFrameWnd* CDocTemplate::FindFrame() const
{
    if (!m_pDocument)
        return nullptr;
    for (CView* pView : m_pDocument->GetViews())
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            return pFrame;
    return nullptr;
}

void CDocTemplate::ActivateFrame()
{
    if (CFrameWnd* pFrame = FindFrame())
        pFrame->ActivateFrame();
}

CDocument* CDocTemplate::OpenDocumentFile(const std::wstring& path, bool bMakeVisible)
{
    CFrameWnd* pFrame = FindFrame();
    m_bOpenAbandoned = false;
    if (m_pDocument && pFrame) {
        if (!m_pDocument->SaveModified()) {
            m_bOpenAbandoned = true;
            return nullptr;
        }
    } else {
        m_pDocument.reset(m_newDocument());
        m_pDocument->SetDocTemplate(this);
        pFrame = m_newFrame();
        CCreateContext context;
        context.m_pCurrentDoc = m_pDocument.get();
        context.m_newView = m_newView;
        if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
            delete pFrame;
            m_pDocument.reset();
            return nullptr;
        }
        if (AfxGetApp() && !AfxGetApp()->m_pMainWnd)
            AfxGetApp()->m_pMainWnd = pFrame;
    }
    if (path.empty()) {
        if (!m_pDocument->OnNewDocument())
            return nullptr;
    } else {
        bool bOpened;
        {
            CWaitCursor wait;
            bOpened = m_pDocument->OnOpenDocument(path);
        }
        if (!bOpened) {
            m_pDocument->ClearPathName();
            return nullptr;
        }
        m_pDocument->SetPathName(path);
    }
    pFrame->InitialUpdateFrame(m_pDocument.get(), bMakeVisible);
    return m_pDocument.get();
}
