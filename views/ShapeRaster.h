#pragma once
// The pixels that the shapes of drawing objects set on a painter's surfaces, found once per
// shape so that a composition can colour, blend and mask them on every surface without
// drawing the shape again. Qt sets the same pixels for a shape in any opaque colour and on any
// surface of the same size and kind, so a shape drawn in white into a black scratch surface of
// the view's size, with the very device-context calls that draw it on the other surfaces,
// marks exactly the pixels that those calls set there. A rectangle's interior and one-pixel
// outline are the boxes that the device context fills.

#include "MemDC.h"

#include <cstdint>
#include <vector>

// Pixels [x0, x1) of window row y.
struct CShapeSpan
{
    int32_t y;
    int32_t x0;
    int32_t x1;
};

class CShapeRaster
{
public:
    // What the painter's objects are: 0 line, 1 rectangle, 2 circle.
    enum : int32_t { SHAPE_LINE = 0, SHAPE_RECT = 1, SHAPE_CIRCLE = 2 };

    // The scratch surface of the view's size.
    void SetSize(int width, int height);
    // Keep open over a composition, so that the shapes share one painter.
    CDC& GetSurface() { return m_surface; }

    // The pixels that a shape's brush sets when it is drawn with a pen: the interior of a
    // rectangle, the filled ellipse of a circle, none for a line. corners is the shape's
    // rectangle, for a line its two ends in order. Appended to spans.
    void Fill(int32_t nType, const CRect& corners, std::vector<CShapeSpan>& spans);
    // The pixels that a solid pen of the width sets: a line from the first corner to the second,
    // the outline of a rectangle or of an ellipse. Appended to spans.
    void Outline(int32_t nType, const CRect& corners, int nPenWidth, std::vector<CShapeSpan>& spans);

private:
    // The scratch's marked pixels within the area, which are made black again.
    void Take(const CRect& area, std::vector<CShapeSpan>& spans);
    // The box clipped to the view, as rows of spans.
    void AddBox(int left, int top, int right, int bottom, std::vector<CShapeSpan>& spans) const;

    Tovrik::CMemDC m_surface; // black wherever no shape is being taken
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
};
