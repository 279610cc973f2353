#pragma once
// The tab control of the settings and import dialogs: each tab shows one page, a child dialog
// of the control's parent placed over the control's display area.

#include "TabCtrl.h"

#include <string>
#include <vector>

class CConfigTabCtrl : public CTabCtrl
{
public:
    // Appends the page (not owned) with a tab of that caption, selects the first tab and shows
    // its page.
    void AddPage(CWnd* pPage, const std::wstring& caption);
    // Places every page over the display area and shows only the selected tab's page.
    void ShowSelectedPage();

    const std::vector<CWnd*>& GetPages() const { return m_pages; }
    const std::vector<std::wstring>& GetCaptions() const { return m_captions; }

protected:
    bool OnNotifyReflect(NMHDR* pNMHDR, LRESULT* pResult) override;

private:
    std::vector<CWnd*> m_pages;
    std::vector<std::wstring> m_captions;
};
