#pragma once
// What the depth-slice view and the section views share: the rendered image and the painter
// that composes the drawing objects over it, the cross-hair over the composition, the paint
// and print paths, and the relay of the painter's drawing events to the main window and of
// the main window's events to the painter. Rendering, positions and the mouse are each
// view's own.

#include "CrossHair.h"
#include "DataViewPainter.h"
#include "MemDC.h"
#include "Wnd.h"

#include "SignalRoutines.h"

#include <algorithm>
#include <cstddef>

class C3DMatrix;
class CProject;

class CDataView : public CWnd, public IDataViewPainterHelper, public ICrossHairOwner
{
public:
    // The painter's composite, or the plain image when the painter shows nothing.
    const Tovrik::CMemDC& GetComposedImage() override;

    bool IsCreated() const { return m_bCreated; }
    bool IsBound() const { return m_bBound; }
    bool IsImageValid() const { return m_image.IsValid(); }
    bool IsDrawingMode() const { return m_bDrawingMode; }
    const CCrossHair& GetCrossHair() const { return m_crossHair; }
    Tovrik::CMemDC& GetImage() { return m_image; }
    CDataViewPainter& GetPainter() { return m_painter; }

    // The view belongs to a print layout: it paints only through CopyImageTo.
    bool m_bForPrinting = false;

protected:
    CDataView() = default;

    bool OnEraseBkgnd(CDC* pDC) override;

    // The image at width x height with the button-face brush and the black frame pen in it.
    void CreateImage(int width, int height);
    CRect ClientRect() const;
    Tovrik::CMemDC& ComposedImage();
    // The painter composes the drawing objects over the rendered image.
    void ComposeObjects();
    // The composed image and the cross-hair onto the context, the view's top-left at origin.
    void DrawComposed(CDC& dc, CPoint origin);
    // The view's top-left corner in its parent's client coordinates.
    CPoint OriginInParent() const;
    // The cross-hair's cursor, or in drawing mode the painter's or the class cursor.
    void ShowCursor();
    // The wheel moves the depth: its switch is on, the view bound, and no drawing object is
    // being made, here or in another view.
    bool WheelMovesDepth() const;

    // The first step of a drawing event: the painter's own go to the main window under the
    // parent's id, and the view's own echoes are dropped; a view whose painter is off takes
    // none. True when the view acts on it. A removal of all objects empties the painter's list
    // first, whatever the view's state.
    bool TakeDrawingEvent(WPARAM wParam, LPARAM lParam);
    // The events about the objects, the selection and the tools, passed to the painter; true
    // when the window must repaint, false for any other event.
    bool ApplyDrawingEvent(LPARAM lParam);

    CProject* m_pProject = nullptr;
    C3DMatrix* m_pMatrix = nullptr;
    Tovrik::CMemDC m_image;
    CBrush m_backgroundBrush;
    CPen m_framePen;
    CCrossHair m_crossHair;
    CDataViewPainter m_painter;
    bool m_bBound = false;
    bool m_bCreated = false;
    bool m_bDrawingMode = false;
};
