#include "Document.h"

#include "FrameWnd.h"
#include "Services.h"
#include "View.h"
#include "WinApp.h"

#include <algorithm>

CDocument::CDocument() : m_strTitle(L"Untitled")
{
    MapCommand(ID_FILE_SAVE, [this] { DoFileSave(); });
}

CDocument::~CDocument()
{
    for (CView* pView : m_views)
        pView->m_pDocument = nullptr;
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    SetModifiedFlag(false);
    ClearPathName();
    return true;
}

bool CDocument::OnOpenDocument(const std::wstring&)
{
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::wstring&)
{
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    switch (AfxMessageBox(L"Save changes to " + m_strTitle + L"?", MB_YESNOCANCEL)) {
    case IDYES: return DoFileSave();
    case IDNO: return true;
    default: return false;
    }
}

bool CDocument::DoFileSave()
{
    if (!OnSaveDocument(m_strPathName))
        return false;
    SetModifiedFlag(false);
    return true;
}

void CDocument::SetPathName(const std::wstring& path, bool bAddToMRU)
{
    m_strPathName = path;
    // The title is the file name less its extension.
    const size_t sep = path.find_last_of(L"/\\");
    std::wstring name = sep == std::wstring::npos ? path : path.substr(sep + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    SetTitle(name);
    if (bAddToMRU && AfxGetApp())
        AfxGetApp()->AddToRecentFileList(path);
}

void CDocument::ClearPathName()
{
    m_strPathName.clear();
    SetTitle(L"Untitled");
}

void CDocument::SetTitle(const std::wstring& title)
{
    m_strTitle = title;
    for (CView* pView : m_views)
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            pFrame->OnUpdateFrameTitle();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, void* pHint)
{
    for (CView* pView : std::vector<CView*>(m_views))
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
}

void CDocument::AddView(CView* pView)
{
    if (std::find(m_views.begin(), m_views.end(), pView) == m_views.end())
        m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
    pView->m_pDocument = nullptr;
}
