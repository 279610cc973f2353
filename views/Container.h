#pragma once
// A group of ordinary controls that a layout places as one: each control keeps a fixed offset
// from the group's top-left corner, or fills the group's whole rectangle. The container owns
// neither the controls nor their windows; it lives in the dialog or view that owns them.

#include "Containable.h"

#include <vector>

class CWnd;

class CContainer : public ICContainable
{
public:
    struct CObjectData
    {
        int x = 0; // offset from the group's corner
        int y = 0;
        CWnd* pControl = nullptr;
        bool bStretch = false; // given the whole rectangle
    };

    void AddControl(CWnd* pControl, int x, int y, bool bStretch);
    // Fills the container's rectangle.
    void AddControl(CWnd* pControl);
    // The union of the controls' screen rectangles (0,0,0,0 without any); every offset becomes
    // the control's place relative to the union's top-left corner, so that controls added at
    // 0, 0 keep their places relative to each other.
    CRect CalcBoundingRect();

    CSize GetSize() const override;
    // Over all controls, the largest offset plus size on each axis, at least 0.
    CSize GetMinSize() const override;
    void SetRect(const CRect& rect) override;
    void Show(bool bShow) override;
    int GetID() const override { return 0; }

    bool IsShown() const { return m_bShown; }

private:
    CRect m_rect;
    bool m_bShown = false;
    std::vector<CObjectData> m_objects;
};
