#include "TabCtrl.h"

#include "QtConvert.h"
#include "WndHost.h"

#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabWidget>
#include <algorithm>

// The tab control's widget: tabs over an empty frame; the pages lie over it as siblings.
class CTabWidget : public QTabWidget
{
public:
    using QTabWidget::QTabWidget;
    // The display area in widget coordinates, as the widget lays its own pages out.
    QRect ContentsRect() const
    {
        QStyleOptionTabWidgetFrame option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
    }
};

QWidget* CTabCtrl::CreateWidget(const CREATESTRUCT&, QWidget* pParentWidget)
{
    auto* tabs = new CTabWidget(pParentWidget);
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [tabs] {
        if (CTabCtrl* pTabs = ControlOf<CTabCtrl>(tabs))
            pTabs->NotifySelChange();
    });
    return tabs;
}

void CTabCtrl::NotifySelChange()
{
    NMHDR header;
    header.hwndFrom = GetSafeHwnd();
    header.idFrom = UINT(GetDlgCtrlID());
    header.code = TCN_SELCHANGE;
    LRESULT result = 0;
    const HWND hSelf = GetSafeHwnd();
    if (OnNotifyReflect(&header, &result) || FromHandle(hSelf) != this)
        return;
    if (CWnd* pParent = GetParent())
        pParent->Dispatch(WM_NOTIFY, WPARAM(header.idFrom), reinterpret_cast<LPARAM>(&header));
}

bool CTabCtrl::OnNotifyReflect(NMHDR*, LRESULT*)
{
    return false;
}

int CTabCtrl::InsertItem(int nItem, const std::wstring& text)
{
    auto* tabs = static_cast<CTabWidget*>(GetWidget());
    if (!tabs || nItem < 0)
        return -1;
    const QSignalBlocker blocker(tabs);
    return tabs->insertTab(std::min(nItem, tabs->count()), new QWidget, ToQString(text));
}

int CTabCtrl::GetItemCount() const
{
    const auto* tabs = static_cast<const CTabWidget*>(GetWidget());
    return tabs ? tabs->count() : 0;
}

int CTabCtrl::GetCurSel() const
{
    const auto* tabs = static_cast<const CTabWidget*>(GetWidget());
    return tabs ? tabs->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int nItem)
{
    auto* tabs = static_cast<CTabWidget*>(GetWidget());
    if (!tabs || nItem < 0 || nItem >= tabs->count())
        return -1;
    const int previous = tabs->currentIndex();
    const QSignalBlocker blocker(tabs);
    tabs->setCurrentIndex(nItem);
    return previous;
}

void CTabCtrl::AdjustRect(bool bLarger, LPRECT pRect) const
{
    const auto* tabs = static_cast<const CTabWidget*>(GetWidget());
    if (!tabs || !pRect)
        return;
    const QRect contents = tabs->ContentsRect();
    const int left = contents.left(), top = contents.top();
    const int right = tabs->width() - (contents.x() + contents.width());
    const int bottom = tabs->height() - (contents.y() + contents.height());
    const int sign = bLarger ? -1 : 1;
    pRect->left += sign * left;
    pRect->top += sign * top;
    pRect->right -= sign * right;
    pRect->bottom -= sign * bottom;
}
