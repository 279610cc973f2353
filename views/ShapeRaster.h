#pragma once
// The pixels that the shapes of drawing objects set on a painter's surfaces, found once per
// shape so that a composition can colour, blend and mask them on every surface without
// drawing the shape again. Qt sets the same pixels for a shape in any opaque colour and on any
// surface of the same size and kind, so a shape drawn in white into a black scratch surface of
// the view's size, with the very device-context calls that draw it on the other surfaces,
// marks exactly the pixels that those calls set there. A rectangle's interior and one-pixel
// outline are the boxes that the device context fills.
//
// A shape drawn again shifted by whole pixels sets the same pixels shifted, as long as every
// coordinate it reaches keeps its power of two on each axis (in the window and, for rows, on
// the bottom-up device too): Qt's stroker, curve flattening and transform then round every
// value on the same grid of binary places, relative to the shape, and its rasteriser works in
// whole 1/64 pixels. Each axis is computed apart from the other, so a shape whose coordinates
// on one axis cross a power of two may still be shifted along the other one. So lines, ellipse
// fills and thin ellipse outlines of one kind, size and pen are drawn once per composition for
// each such span or place and their pixels shifted; others are drawn where they lie.

#include "MemDC.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
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
    // Forgets the shapes drawn so far, as at the start of a composition.
    void Clear();
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
    // A shape up to its place: what it is, its size (a line's run from its first end to its
    // second), the pen, and on each axis the power of two of the coordinates it reaches, or
    // where the shape lies on it when they cross one (0 otherwise).
    struct CKey
    {
        int32_t nKind; // type x 2 + 1 for an outline
        int32_t nWidth, nHeight, nPenWidth;
        int32_t nColumns, nRows, nDeviceRows;
        int32_t nLeft, nTop;
        bool operator==(const CKey& other) const;
    };
    struct CKeyHash
    {
        size_t operator()(const CKey& key) const;
    };
    // Spans [m_nFirst, m_nFirst + m_nCount) of the store, relative to the shape's top-left.
    struct CDrawn
    {
        size_t m_nFirst;
        size_t m_nCount;
    };

    // Draws the shape in its box and takes the area's pixels.
    template <class TDraw>
    void DrawAt(const CRect& area, const TDraw& draw, const CRect& box, std::vector<CShapeSpan>& spans);
    // Draws the shape unless one like it was drawn; the shape's pixels to spans.
    template <class TDraw>
    void Shape(int32_t nKind, const CRect& corners, int nPenWidth, const TDraw& draw, std::vector<CShapeSpan>& spans);
    // The scratch's marked pixels within the area, which are made black again.
    void Take(const CRect& area, std::vector<CShapeSpan>& spans);
    // The box clipped to the view, as rows of spans.
    void AddBox(int left, int top, int right, int bottom, std::vector<CShapeSpan>& spans) const;

    Tovrik::CMemDC m_surface; // black wherever no shape is being taken
    std::unordered_map<CKey, CDrawn, CKeyHash> m_drawn;
    std::vector<CShapeSpan> m_store;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
};
