#pragma once
// A painter's composition drawn the long way, shape by shape with the device context: each
// object drawn onto the work surface with its own pen and brush; in overlay mode its box grown
// by 6 pixels blended onto the composite and copied back, the frames then drawn with their
// fill step into a colour and a mask surface and put on opaquely; otherwise all objects
// blended at once and the frames drawn straight onto the composite; the selected object's
// marks last. The yardstick for the painter's composition, which must give the same image to
// the bit.

#include "DataViewPainter.h"
#include "MemDC.h"

#include <algorithm>
#include <vector>

namespace ReferenceComposition {

using CPaintObject = CDataViewPainter::CPaintObject;
using Tovrik::CDrawDataObject;

inline COLORREF PenColour(const CDrawDataObject& o) { return o.m_pPen ? o.m_pPen->m_crColor : o.m_crLine; }
inline int PenWidth(const CDrawDataObject& o) { return o.m_pPen ? o.m_pPen->m_nWidth : o.m_nPenWidth; }
inline COLORREF BrushColour(const CDrawDataObject& o) { return o.m_pBrush ? o.m_pBrush->m_crColor : o.m_crFill; }

inline void DrawShape(CDC& dc, const CPaintObject& object, CPen* pPen, CBrush* pBrush)
{
    CPen* pOldPen = dc.SelectObject(pPen);
    CBrush* pOldBrush = dc.SelectObject(pBrush);
    const CRect box = object.Normalised();
    switch (object.m_pObject->m_nType) {
    case CDrawDataObject::TYPE_LINE:
        dc.MoveTo(object.m_nLeft, object.m_nTop);
        dc.LineTo(object.m_nRight, object.m_nBottom);
        break;
    case CDrawDataObject::TYPE_RECT: dc.Rectangle(&box); break;
    default: dc.Ellipse(&box); break;
    }
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
}

inline void DrawObject(CDC& dc, const CPaintObject& object)
{
    const CDrawDataObject& o = *object.m_pObject;
    CPen pen(PS_SOLID, PenWidth(o), PenColour(o));
    CBrush brush(BrushColour(o));
    DrawShape(dc, object, &pen, &brush);
}

inline void DrawFrame(CDC& colour, CDC* pMask, const CPaintObject& object)
{
    const CDrawDataObject& o = *object.m_pObject;
    auto* pBlackPen = static_cast<CPen*>(GetStockObject(BLACK_PEN));
    auto* pWhitePen = static_cast<CPen*>(GetStockObject(WHITE_PEN));
    auto* pBlackBrush = static_cast<CBrush*>(GetStockObject(BLACK_BRUSH));
    auto* pWhiteBrush = static_cast<CBrush*>(GetStockObject(WHITE_BRUSH));
    auto* pHollow = static_cast<CBrush*>(GetStockObject(HOLLOW_BRUSH));
    CPen pen(PS_SOLID, PenWidth(o), PenColour(o));
    CBrush brush(BrushColour(o));
    const CRect box = object.Normalised();
    switch (o.m_nType) {
    case CDrawDataObject::TYPE_RECT:
        if (pMask) {
            DrawShape(colour, object, pBlackPen, pBlackBrush);
            DrawShape(*pMask, object, pWhitePen, pWhiteBrush);
            pMask->FrameRect(&box, pBlackBrush);
        }
        colour.FrameRect(&box, &brush);
        break;
    case CDrawDataObject::TYPE_CIRCLE:
        if (pMask) {
            DrawShape(colour, object, pBlackPen, pBlackBrush);
            DrawShape(*pMask, object, pWhitePen, pWhiteBrush);
            DrawShape(*pMask, object, pBlackPen, pHollow);
        }
        DrawShape(colour, object, &pen, pHollow);
        break;
    default:
        if (pMask) {
            CPen maskPen(PS_SOLID, o.m_nPenWidth, RGB(0, 0, 0));
            DrawShape(*pMask, object, &maskPen, pHollow);
        }
        DrawShape(colour, object, &pen, pHollow);
        break;
    }
}

inline void DrawSelectionMarks(Tovrik::CMemDC& composite, const CPaintObject& object)
{
    const CRect box = object.Normalised();
    CBrush mark(0xFF6464);
    composite.FrameRect(&box, &mark);
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* pOldPen = composite.SelectObject(&black);
    CBrush* pOldBrush = composite.SelectObject(&mark);
    const auto grip = [&composite](int x, int y) { composite.Rectangle(x - 2, y - 2, x + 3, y + 3); };
    if (object.m_pObject->m_nType == CDrawDataObject::TYPE_LINE) {
        grip(object.m_nLeft, object.m_nTop);
        grip(object.m_nRight, object.m_nBottom);
    } else {
        const int xs[3] = {box.left, (box.left + box.right) / 2, box.right};
        const int ys[3] = {box.top, (box.top + box.bottom) / 2, box.bottom};
        for (int v = 0; v < 3; ++v)
            for (int h = 0; h < 3; ++h)
                if (v != 1 || h != 1)
                    grip(xs[h], ys[v]);
    }
    composite.SelectObject(pOldPen);
    composite.SelectObject(pOldBrush);
}

// The composition of the drawn objects, in order, over the source, into composite (which has
// the source's size); pSelected, when set, gets its marks.
inline void Compose(Tovrik::CMemDC& source, const std::vector<CPaintObject>& drawn, const CPaintObject* pSelected,
                    bool bOverlay, bool bFrames, int alpha, Tovrik::CMemDC& composite)
{
    const int w = source.GetWidth(), h = source.GetHeight();
    Tovrik::CMemDC work, ids;
    work.Create(w, h);
    ids.Create(w, h);
    composite.Create(w, h);
    composite.BitBlt(0, 0, w, h, &source, 0, 0, SRCCOPY);
    work.BitBlt(0, 0, w, h, &source, 0, 0, SRCCOPY);
    BLENDFUNCTION blend;
    blend.SourceConstantAlpha = BYTE(alpha);
    const CRect view(0, 0, w, h);
    if (bOverlay) {
        for (const CPaintObject& object : drawn) {
            DrawObject(work, object);
            const CRect box = object.Normalised();
            const CRect r(std::max(box.left - 6, 0), std::max(box.top - 6, 0), std::min(box.right + 6, w),
                          std::min(box.bottom + 6, h));
            if (r.IsRectEmpty())
                continue;
            composite.AlphaBlend(r.left, r.top, r.Width(), r.Height(), &work, r.left, r.top, r.Width(), r.Height(),
                                 blend);
            work.BitBlt(r.left, r.top, r.Width(), r.Height(), &composite, r.left, r.top, SRCCOPY);
        }
        if (bFrames) {
            work.BitBlt(0, 0, w, h, nullptr, 0, 0, BLACKNESS);
            ids.BitBlt(0, 0, w, h, nullptr, 0, 0, WHITENESS);
            for (const CPaintObject& object : drawn)
                DrawFrame(work, &ids, object);
            composite.BitBlt(0, 0, w, h, &ids, 0, 0, SRCAND);
            composite.BitBlt(0, 0, w, h, &work, 0, 0, SRCPAINT);
        }
    } else {
        for (const CPaintObject& object : drawn)
            DrawObject(work, object);
        composite.AlphaBlend(0, 0, w, h, &work, 0, 0, w, h, blend);
        if (bFrames)
            for (const CPaintObject& object : drawn)
                DrawFrame(composite, nullptr, object);
    }
    if (pSelected)
        DrawSelectionMarks(composite, *pSelected);
}

} // namespace ReferenceComposition
