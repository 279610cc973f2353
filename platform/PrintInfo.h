#pragma once
// What the print road tells a view about one job: the range of pages it has, the pages the
// user chose, the page being printed with its drawing rectangle, and whether the job only
// previews.

#include "Types.h"

class CPrintInfo
{
public:
    // A view that knows its page count sets the last page; otherwise its OnPrepareDC ends the
    // job after the first page.
    static constexpr UINT UNKNOWN_PAGE_COUNT = 0xFFFF;

    void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }

    bool m_bPreview = false;
    bool m_bContinuePrinting = true;
    // The pages chosen in the print dialog; 0 for all.
    UINT m_nFromPage = 0;
    UINT m_nToPage = 0;
    UINT m_nCurPage = 1;
    CRect m_rectDraw; // the printable page in device pixels

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = UNKNOWN_PAGE_COUNT;
};
