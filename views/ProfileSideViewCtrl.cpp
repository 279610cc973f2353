#include "ProfileSideViewCtrl.h"

CProfileSideViewCtrl::CProfileSideViewCtrl()
{
    auto pProfileView = std::make_unique<CProfileDataSideView>();
    m_pProfileView = pProfileView.get();
    m_pBaseView = ReplaceDataView(std::move(pProfileView));
}

CProfileSideViewCtrl::~CProfileSideViewCtrl()
{
    // The profile view goes here; the base deletes its own view.
    ReplaceDataView(std::move(m_pBaseView));
    m_pProfileView = nullptr;
}

void CProfileSideViewCtrl::SetProfileLine(int nLine)
{
    const int oldLine = m_pProfileView->GetSectionLine();
    m_pProfileView->SetSectionLine(nLine);
    if (m_pProfileView->GetSectionLine() != oldLine)
        m_pProfileView->InvalidateImage();
}
