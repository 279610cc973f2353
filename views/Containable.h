#pragma once
// Anything that a layout can place: a view control, a group of controls, a nested table.
// Coordinates are whole pixels in the client area of the window that owns the layout.

#include "Types.h"

class ICContainable
{
public:
    virtual ~ICContainable() = default;

    // The current size.
    virtual CSize GetSize() const = 0;
    // The smallest size at which the content fits.
    virtual CSize GetMinSize() const = 0;
    virtual void SetRect(const CRect& rect) = 0;
    virtual void Show(bool bShow) = 0;
    // The control id; 0 where the object is no window.
    virtual int GetID() const = 0;
};
