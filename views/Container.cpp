#include "Container.h"

#include "Wnd.h"

#include <algorithm>

void CContainer::AddControl(CWnd* pControl, int x, int y, bool bStretch)
{
    m_objects.push_back({x, y, pControl, bStretch});
}

void CContainer::AddControl(CWnd* pControl)
{
    AddControl(pControl, 0, 0, true);
}

CRect CContainer::CalcBoundingRect()
{
    // Empty rectangles take no part in the union.
    CRect bounds;
    for (const CObjectData& object : m_objects) {
        CRect rect;
        object.pControl->GetWindowRect(&rect);
        if (rect.IsRectEmpty())
            continue;
        if (bounds.IsRectEmpty())
            bounds = rect;
        else
            bounds.SetRect(std::min(bounds.left, rect.left), std::min(bounds.top, rect.top),
                           std::max(bounds.right, rect.right), std::max(bounds.bottom, rect.bottom));
    }
    for (CObjectData& object : m_objects) {
        CRect rect;
        object.pControl->GetWindowRect(&rect);
        object.x = rect.left - bounds.left;
        object.y = rect.top - bounds.top;
    }
    return bounds;
}

void CContainer::SetRect(const CRect& rect)
{
    m_rect = rect;
    for (const CObjectData& object : m_objects) {
        if (object.bStretch) {
            object.pControl->MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), true);
            continue;
        }
        CRect current;
        object.pControl->GetWindowRect(&current);
        object.pControl->MoveWindow(rect.left + object.x, rect.top + object.y, current.Width(), current.Height(), true);
        object.pControl->Invalidate(true);
    }
}

CSize CContainer::GetSize() const
{
    return m_rect.Size();
}

CSize CContainer::GetMinSize() const
{
    CSize size;
    for (const CObjectData& object : m_objects) {
        CRect rect;
        object.pControl->GetWindowRect(&rect);
        size.cx = std::max(size.cx, object.x + rect.Width());
        size.cy = std::max(size.cy, object.y + rect.Height());
    }
    return size;
}

void CContainer::Show(bool bShow)
{
    m_bShown = bShow;
    for (const CObjectData& object : m_objects)
        object.pControl->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}
