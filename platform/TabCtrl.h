#pragma once
// The tab control.

#include "Wnd.h"

// Tab control notification of WM_NOTIFY: the user chose another tab.
constexpr UINT TCN_SELCHANGE = UINT(-551);

// A row of tabs over a framed display area. The pages are windows of their own, siblings of the
// control, placed over the area by the program (AdjustRect gives it). When the user chooses
// another tab, TCN_SELCHANGE goes first to the control itself (OnNotifyReflect) and, unless that
// keeps it, to the parent as WM_NOTIFY. The program's calls notify nobody.
class CTabCtrl : public CWnd
{
public:
    // The index the tab went to; the first tab of an empty control becomes the selected one.
    int InsertItem(int nItem, const std::wstring& text);
    int GetItemCount() const;
    // -1 when there is no tab.
    int GetCurSel() const;
    // The tab selected before, -1 for an index outside the tabs.
    int SetCurSel(int nItem);
    // Without bLarger: the display area of a window rectangle (client coordinates); with it the
    // window rectangle of a display area.
    void AdjustRect(bool bLarger, LPRECT pRect) const;

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    // ON_NOTIFY_REFLECT: the control's own handler of its notification; true keeps it from the
    // parent, whose result is then *pResult.
    virtual bool OnNotifyReflect(NMHDR* pNMHDR, LRESULT* pResult);

private:
    void NotifySelChange();
};
