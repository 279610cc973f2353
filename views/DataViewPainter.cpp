#include "DataViewPainter.h"

#include "ConfiguredCursor.h"
#include "Messages.h"
#include "Wnd.h"

#include "Cfg.h"
#include "MessageLog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_set>
#include <utility>

using Tovrik::CDrawDataObject;

namespace {
constexpr COLORREF kMarkColour = 0xFF6464;

COLORREF PenColour(const CDrawDataObject& object)
{
    return object.m_pPen ? object.m_pPen->m_crColor : object.m_crLine;
}
int PenWidth(const CDrawDataObject& object)
{
    return object.m_pPen ? object.m_pPen->m_nWidth : object.m_nPenWidth;
}
COLORREF BrushColour(const CDrawDataObject& object)
{
    return object.m_pBrush ? object.m_pBrush->m_crColor : object.m_crFill;
}

// The identity colour of paint object index: index + 1 over red, green and blue.
COLORREF IdColour(int index)
{
    const uint32_t id = uint32_t(index) + 1;
    return RGB(int(id & 0xFF), int((id >> 8) & 0xFF), int((id >> 16) & 0xFF));
}

CRect Intersect(const CRect& a, const CRect& b)
{
    return CRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom));
}

// 1 within 2 pixels of the first edge, 4 of the last, 2 of the middle, else 0.
int GripPart(int p, int first, int last)
{
    if (std::abs(p - first) <= 2)
        return 1;
    if (std::abs(p - last) <= 2)
        return 4;
    if (std::abs(p - (first + last) / 2) <= 2)
        return 2;
    return 0;
}

// The other edge's part after the edges swapped places.
int SwappedPart(int part)
{
    return part == 1 ? 4 : part == 4 ? 1 : part;
}

// The constant-alpha blend of one pixel, byte by byte as CDC::AlphaBlend does it:
// dst + ((src - dst) * alpha + 127) / 255.
class CPixelBlend
{
public:
    explicit CPixelBlend(int alpha)
    {
        for (int diff = -255; diff <= 255; ++diff)
            m_delta[diff + 255] = (diff * alpha + 127) / 255;
    }
    uint32_t Over(uint32_t dst, uint32_t src) const
    {
        uint32_t out = dst & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = int(dst >> shift & 0xFF), s = int(src >> shift & 0xFF);
            out |= uint32_t(uint8_t(d + m_delta[s - d + 255])) << shift;
        }
        return out;
    }

private:
    int m_delta[511];
};

// The object's pixels blended from the work surface onto the composite, as the blend of a box
// around it changes them: elsewhere in the box both surfaces are equal. Both are equal after.
void BlendPixels(Tovrik::CMemDC& composite, Tovrik::CMemDC& work, const std::vector<CShapeSpan>& spans,
                 const CPixelBlend& blend)
{
    for (const CShapeSpan& s : spans) {
        uint32_t* c = composite.GetRowPixels(s.y);
        uint32_t* w = work.GetRowPixels(s.y);
        for (int x = s.x0; x < s.x1; ++x)
            w[x] = c[x] = blend.Over(c[x], w[x]);
    }
}

// Every pixel lies in the rectangle.
bool Within(const std::vector<CShapeSpan>& spans, const CRect& rect)
{
    return std::all_of(spans.begin(), spans.end(), [&rect](const CShapeSpan& s) {
        return s.y >= rect.top && s.y < rect.bottom && s.x0 >= rect.left && s.x1 <= rect.right;
    });
}

// The pixels take the colour, as an opaque brush or pen sets them.
void SetPixels(Tovrik::CMemDC& surface, const std::vector<CShapeSpan>& spans, COLORREF colour)
{
    const uint32_t pixel = Tovrik::CMemDC::PixelOf(colour);
    for (const CShapeSpan& s : spans) {
        uint32_t* row = surface.GetRowPixels(s.y);
        std::fill(row + s.x0, row + s.x1, pixel);
    }
}

void DrawShape(CDC& dc, const CDataViewPainter::CPaintObject& object, CPen* pPen, CBrush* pBrush)
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
} // namespace

CRect CDataViewPainter::CPaintObject::Normalised() const
{
    return CRect(std::min(m_nLeft, m_nRight), std::min(m_nTop, m_nBottom), std::max(m_nLeft, m_nRight),
                 std::max(m_nTop, m_nBottom));
}

void CDataViewPainter::Create(IDataViewPainterHelper* pView, CWnd* pViewWnd, int nMode, int width, int height)
{
    m_defaultPen.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    m_defaultBrush.CreateSolidBrush(RGB(0, 0, 0));
    for (Tovrik::CMemDC* pSurface : {&m_work, &m_composite, &m_ids, &m_frame}) {
        pSurface->Create(10, 10);
        pSurface->SelectObject(&m_defaultPen);
        pSurface->SelectObject(&m_defaultBrush);
    }
    m_pView = pView;
    m_pViewWnd = pViewWnd;
    m_nMode = nMode;
    SetSize(width, height);
    m_nState = STATE_IDLE;
    m_nSelected = -1;
    m_bBypass = false;
}

void CDataViewPainter::SetSize(int width, int height)
{
    for (Tovrik::CMemDC* pSurface : {&m_work, &m_composite, &m_ids, &m_frame})
        pSurface->Resize(width, height);
    m_shapes.SetSize(width, height);
    if (width == m_nWidth && height == m_nHeight)
        return; // the objects keep their pixels
    m_nWidth = width;
    m_nHeight = height;
    UpdatePixelMaps();
    for (CPaintObject& object : m_objects)
        CalcObjectRect(object);
}

void CDataViewPainter::UpdatePixelMaps()
{
    const int across = m_nMode == MODE_SECTION_Y ? m_iSizeY : m_iSizeX;
    const int down = m_nMode == MODE_TOP ? m_iSizeY : m_iSamples;
    CreateResampleMapRange(m_acrossMap, std::max(across - 1, 0), std::max(m_nWidth, 0));
    CreateResampleMapRange(m_downMap, std::max(down - 1, 0), std::max(m_nHeight, 0));
}

void CDataViewPainter::SetGridSize(int nSizeX, int nSizeY, int nSamples)
{
    if (nSizeX == m_iSizeX && nSizeY == m_iSizeY && nSamples == m_iSamples)
        return; // the objects keep their pixels
    m_iSizeX = nSizeX;
    m_iSizeY = nSizeY;
    m_iSamples = nSamples;
    UpdatePixelMaps();
    for (CPaintObject& object : m_objects)
        CalcObjectRect(object);
}

void CDataViewPainter::Reset(bool bCompose)
{
    if (m_nState == STATE_CREATING || m_nState == STATE_MOVING) {
        // An edit cut short must not block every other painter.
        g_drawingManager.SetBusy(false);
        if (CWnd::GetCapture() == m_pViewWnd)
            CWnd::ReleaseCapture();
    }
    m_nState = STATE_IDLE;
    m_nSelected = -1;
    g_drawingManager.ClearSelection();
    if (bCompose)
        Paint();
}

CDataViewPainter::CPaintObject CDataViewPainter::MakePaintObject(CDrawDataObject* pObject) const
{
    CPaintObject object;
    object.m_pObject = pObject;
    CalcObjectRect(object);
    UpdateVisibility(object);
    return object;
}

void CDataViewPainter::ClearObjects()
{
    m_objects.clear();
    m_nSelected = -1;
}

void CDataViewPainter::RebuildObjects()
{
    ClearObjects();
    for (int i = 0; i < g_drawingManager.GetCount(); ++i)
        m_objects.push_back(MakePaintObject(g_drawingManager.GetObject(i)));
    SortObjects();
}

void CDataViewPainter::SetDepthRange(float depth, bool bCompose)
{
    m_fDepth = depth;
    for (CPaintObject& object : m_objects)
        UpdateVisibility(object);
    if (bCompose)
        Paint();
}

void CDataViewPainter::UpdateVisibility(CPaintObject& object) const
{
    if (m_nMode != MODE_TOP) {
        object.m_bInRange = true;
        return;
    }
    switch (g_drawingManager.GetVisibility()) {
    case Tovrik::CDrawingManager::VISIBLE_HIDE: object.m_bInRange = false; return;
    case Tovrik::CDrawingManager::VISIBLE_RANGE: {
        const CDrawDataObject& o = *object.m_pObject;
        const float below = std::min(o.m_fZ1, o.m_fZ2) - m_fDepth;
        const float above = std::max(o.m_fZ1, o.m_fZ2) - m_fDepth;
        if (below > 0)
            object.m_bInRange = below < m_fBelow;
        else if (above < 0)
            object.m_bInRange = above >= -m_fAbove;
        else
            object.m_bInRange = true;
        return;
    }
    default: object.m_bInRange = true; return;
    }
}

void CDataViewPainter::SortObjects()
{
    // The coordinate across the view's plane; the larger first, equal keys in their order.
    const auto key = [this](const CPaintObject& object) {
        const CDrawDataObject& o = *object.m_pObject;
        switch (m_nMode) {
        case MODE_TOP: return std::min(o.m_fZ1, o.m_fZ2);
        case MODE_SECTION_Y: return std::min(o.m_fX1, o.m_fX2);
        default: return std::min(o.m_fY1, o.m_fY2);
        }
    };
    const auto larger = [&key](const CPaintObject& a, const CPaintObject& b) { return key(a) > key(b); };
    const auto unordered = [&key](const CPaintObject& object) { return std::isnan(key(object)); };
    const CDrawDataObject* pSelected = m_nSelected >= 0 ? m_objects.at(size_t(m_nSelected)).m_pObject : nullptr;
    // An object without a key stays where it is and no other object passes it.
    for (auto first = m_objects.begin(); first != m_objects.end();) {
        const auto last = std::find_if(first, m_objects.end(), unordered);
        std::stable_sort(first, last, larger);
        first = last == m_objects.end() ? last : last + 1;
    }
    if (pSelected)
        m_nSelected = FindPaintObject(pSelected);
}

void CDataViewPainter::OnObjectEvent(int nCode, int nIndex)
{
    const bool bAll = nIndex < 0 || nIndex == DRAW_NO_OBJECT;
    if ((nCode == 1 || nCode == 2) && bAll) {
        RebuildObjects();
    } else if (nCode == 1) {
        CDrawDataObject* pObject = g_drawingManager.GetObject(nIndex);
        if (pObject && FindPaintObject(pObject) < 0) {
            m_objects.push_back(MakePaintObject(pObject));
            SortObjects();
        }
    } else if (nCode == 2) {
        std::unordered_set<const CDrawDataObject*> present;
        for (int i = 0; i < g_drawingManager.GetCount(); ++i)
            present.insert(g_drawingManager.GetObject(i));
        const auto inManager = [&present](const CDrawDataObject* pObject) { return present.count(pObject) > 0; };
        int gone = -1;
        if (m_nSelected >= 0 && !inManager(m_objects.at(size_t(m_nSelected)).m_pObject))
            gone = m_nSelected;
        for (int i = 0; gone < 0 && i < int(m_objects.size()); ++i)
            if (!inManager(m_objects[size_t(i)].m_pObject))
                gone = i;
        if (gone >= 0) {
            m_objects.erase(m_objects.begin() + gone);
            if (gone == m_nSelected)
                m_nSelected = -1;
            else if (gone < m_nSelected)
                --m_nSelected;
        }
    }
    if (m_pSource)
        Paint();
}

void CDataViewPainter::OnSelectionChanged()
{
    if (m_nState == STATE_CREATING || m_nState == STATE_MOVING)
        return;
    if (const CDrawDataObject* pObject = g_drawingManager.GetSelectedObject()) {
        m_nSelected = GetPaintObject(pObject);
        if (g_drawingManager.GetTool() == Tovrik::CDrawingManager::TOOL_SELECT)
            m_nState = STATE_SELECTING;
    } else {
        m_nSelected = -1;
    }
    Paint();
}

void CDataViewPainter::OnObjectChanged(int nIndex)
{
    const CDrawDataObject* pObject = g_drawingManager.GetObject(nIndex);
    if (!pObject)
        return;
    const int index = GetPaintObject(pObject);
    if (index < 0)
        return;
    CPaintObject& object = m_objects[size_t(index)];
    CalcObjectRect(object);
    UpdateVisibility(object);
    SortObjects();
    Paint();
}

bool CDataViewPainter::SetTool()
{
    if (g_drawingManager.IsBusy())
        return false;
    if (g_drawingManager.GetTool() == Tovrik::CDrawingManager::TOOL_SELECT) {
        m_nState = STATE_SELECTING;
        const CDrawDataObject* pObject = g_drawingManager.GetSelectedObject();
        m_nSelected = pObject ? GetPaintObject(pObject) : -1;
        Paint();
        return true;
    }
    m_nState = STATE_IDLE;
    const bool bHadSelection = m_nSelected >= 0;
    m_nSelected = -1;
    if (bHadSelection)
        Paint();
    return bHadSelection;
}

bool CDataViewPainter::SetCreating(bool bOn)
{
    if (m_nState == STATE_CREATING || m_nState == STATE_MOVING)
        return false;
    if (!bOn) {
        m_nState = STATE_IDLE;
        return false;
    }
    m_nState = STATE_FOREIGN;
    const bool bHadSelection = m_nSelected >= 0;
    m_nSelected = -1;
    if (bHadSelection)
        Paint();
    return bHadSelection;
}

int CDataViewPainter::FindPaintObject(const CDrawDataObject* pObject) const
{
    for (size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i].m_pObject == pObject)
            return int(i);
    return -1;
}

int CDataViewPainter::GetPaintObject(const CDrawDataObject* pObject)
{
    int index = FindPaintObject(pObject);
    if (index < 0) {
        // The list missed an event; the manager's list is the truth.
        g_messageLog.Log(LOG_ERROR, "GetPaintObject(): painter missing global object.");
        RebuildObjects();
        index = FindPaintObject(pObject);
    }
    return index;
}

void CDataViewPainter::CalcObjectRect(CPaintObject& object) const
{
    const CDrawDataObject& o = *object.m_pObject;
    if (m_nMode == MODE_TOP) {
        object.m_nLeft = MapSourceToTarget(m_acrossMap, o.m_fX1);
        object.m_nRight = MapSourceToTarget(m_acrossMap, o.m_fX2);
        // Rows count upwards.
        object.m_nTop = m_nHeight - MapSourceToTarget(m_downMap, o.m_fY1) - 1;
        object.m_nBottom = m_nHeight - MapSourceToTarget(m_downMap, o.m_fY2) - 1;
    } else {
        const bool bAlongX = m_nMode == MODE_SECTION_X;
        object.m_nLeft = MapSourceToTarget(m_acrossMap, bAlongX ? o.m_fX1 : o.m_fY1);
        object.m_nRight = MapSourceToTarget(m_acrossMap, bAlongX ? o.m_fX2 : o.m_fY2);
        object.m_nTop = MapSourceToTarget(m_downMap, o.m_fZ1);
        object.m_nBottom = MapSourceToTarget(m_downMap, o.m_fZ2);
    }
    if (o.m_nType == CDrawDataObject::TYPE_LINE)
        return;
    const CRect box = object.Normalised();
    object.m_nLeft = box.left;
    object.m_nTop = box.top;
    object.m_nRight = box.right == box.left ? box.right + 2 : box.right;
    object.m_nBottom = box.bottom == box.top ? box.bottom + 2 : box.bottom;
}

bool CDataViewPainter::IsDrawable(int index) const
{
    const CPaintObject& object = m_objects.at(size_t(index));
    if (!object.m_bDrawn || !object.m_bInRange || !object.m_pObject->m_bVisible)
        return false;
    // The object being moved is the edit copy's.
    return !(index == m_nSelected && (m_nState == STATE_COMPOSING || m_nState == STATE_MOVING));
}

CRect CDataViewPainter::Grown(const CRect& rect, int by) const
{
    return Intersect(CRect(rect.left - by, rect.top - by, rect.right + by, rect.bottom + by), ViewRect());
}

void CDataViewPainter::DrawObject(CDC& dc, const CPaintObject& object) const
{
    const CDrawDataObject& o = *object.m_pObject;
    CPen pen(PS_SOLID, PenWidth(o), PenColour(o));
    CBrush brush(BrushColour(o));
    DrawShape(dc, object, &pen, &brush);
}

void CDataViewPainter::DrawFrame(CDC& dc, const CPaintObject& object) const
{
    const CDrawDataObject& o = *object.m_pObject;
    if (o.m_nType == CDrawDataObject::TYPE_RECT) {
        CBrush brush(BrushColour(o));
        const CRect box = object.Normalised();
        dc.FrameRect(&box, &brush);
        return;
    }
    CPen pen(PS_SOLID, PenWidth(o), PenColour(o));
    DrawShape(dc, object, &pen, static_cast<CBrush*>(GetStockObject(HOLLOW_BRUSH)));
}

void CDataViewPainter::DrawSelectionMarks(const CPaintObject& object)
{
    const CRect box = object.Normalised();
    CBrush mark(kMarkColour);
    m_composite.FrameRect(&box, &mark);
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* pOldPen = m_composite.SelectObject(&black);
    CBrush* pOldBrush = m_composite.SelectObject(&mark);
    const auto grip = [this](int x, int y) { m_composite.Rectangle(x - 2, y - 2, x + 3, y + 3); };
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
    m_composite.SelectObject(pOldPen);
    m_composite.SelectObject(pOldBrush);
}

void CDataViewPainter::Compose()
{
    if (!m_pSource || !m_work.GetBits() || !m_composite.GetBits() || !m_ids.GetBits() || !m_frame.GetBits())
        return;
    // One painter per surface for the whole composition.
    const CDC::CPass workPass(m_work), compositePass(m_composite), idPass(m_ids), shapePass(m_shapes.GetSurface());
    const int w = m_nWidth, h = m_nHeight;
    m_composite.BitBlt(0, 0, w, h, m_pSource, 0, 0, SRCCOPY);
    m_shapes.Clear();
    const bool bOverlay = g_drawingManager.GetOverlay();
    const bool bFrames = g_drawingManager.GetDrawFrame();
    const int alpha = g_drawingManager.GetBlendAlpha();
    const CPixelBlend blend(alpha);
    // In overlay mode each object blends over the ones before it, and the work surface stays
    // equal to the composite outside the object being drawn. A pen wide enough to draw past the
    // blended box leaves work pixels that differ; from then on the objects blend box by box.
    bool bBoxes = false;
    // Without objects the composite stays the source.
    bool bDrawn = false;
    CObjectSpans spans;
    for (int i = 0; i < int(m_objects.size()); ++i) {
        if (!IsDrawable(i))
            continue;
        const CPaintObject& object = m_objects[size_t(i)];
        if (!bDrawn) {
            // Editing and picking fill the other surfaces afresh, so they are prepared only
            // for a composition with objects.
            m_work.BitBlt(0, 0, w, h, m_pSource, 0, 0, SRCCOPY);
            if (bFrames) {
                // The frames go onto the composite last, opaquely: composite AND mask, then OR
                // their colours.
                m_frame.BitBlt(0, 0, w, h, nullptr, 0, 0, BLACKNESS);
                m_ids.BitBlt(0, 0, w, h, nullptr, 0, 0, WHITENESS);
            }
        }
        bDrawn = true;
        TakeSpans(object, bFrames, spans);
        const CDrawDataObject& o = *object.m_pObject;
        if (!bOverlay) {
            SetPixels(m_work, spans.fill, BrushColour(o));
            SetPixels(m_work, spans.outline, PenColour(o));
        } else {
            const CRect r = Grown(object.Normalised(), 6);
            bBoxes = bBoxes || !Within(spans.fill, r) || !Within(spans.outline, r);
            if (bBoxes) {
                BlendBox(object, r, alpha);
            } else {
                SetPixels(m_work, spans.fill, BrushColour(o));
                SetPixels(m_work, spans.outline, PenColour(o));
                BlendPixels(m_composite, m_work, spans.fill, blend);
                BlendPixels(m_composite, m_work, spans.outline, blend);
            }
        }
        if (bFrames)
            MarkFrame(object, spans, bOverlay);
    }
    if (bDrawn && !bOverlay) {
        BLENDFUNCTION whole;
        whole.SourceConstantAlpha = BYTE(alpha);
        m_composite.AlphaBlend(0, 0, w, h, &m_work, 0, 0, w, h, whole);
    }
    if (bDrawn && bFrames) {
        m_composite.BitBlt(0, 0, w, h, &m_ids, 0, 0, SRCAND);
        m_composite.BitBlt(0, 0, w, h, &m_frame, 0, 0, SRCPAINT);
    }
    const bool bEditing = m_nState == STATE_CREATING || m_nState == STATE_COMPOSING || m_nState == STATE_MOVING;
    if (!bEditing && m_nSelected >= 0 && IsDrawable(m_nSelected))
        DrawSelectionMarks(m_objects.at(size_t(m_nSelected)));
}

void CDataViewPainter::TakeSpans(const CPaintObject& object, bool bFrames, CObjectSpans& spans)
{
    const CDrawDataObject& o = *object.m_pObject;
    const CRect corners(object.m_nLeft, object.m_nTop, object.m_nRight, object.m_nBottom);
    // Pens of width 0 and 1 draw alike.
    const int width = std::max(PenWidth(o), 1);
    spans.fill.clear();
    spans.outline.clear();
    spans.frame.clear();
    m_shapes.Fill(o.m_nType, corners, spans.fill);
    m_shapes.Outline(o.m_nType, corners, width, spans.outline);
    if (!bFrames)
        return;
    // A rectangle's and a circle's frame pixels in a one-pixel pen; a line's mask in the width
    // the object was given.
    const int frameWidth = o.m_nType == CDrawDataObject::TYPE_LINE ? std::max(o.m_nPenWidth, 1) : 1;
    if (frameWidth == width)
        spans.frame = spans.outline;
    else
        m_shapes.Outline(o.m_nType, corners, frameWidth, spans.frame);
}

void CDataViewPainter::BlendBox(const CPaintObject& object, const CRect& r, int alpha)
{
    DrawObject(m_work, object);
    if (r.IsRectEmpty())
        return;
    BLENDFUNCTION blend;
    blend.SourceConstantAlpha = BYTE(alpha);
    m_composite.AlphaBlend(r.left, r.top, r.Width(), r.Height(), &m_work, r.left, r.top, r.Width(), r.Height(), blend);
    m_work.BitBlt(r.left, r.top, r.Width(), r.Height(), &m_composite, r.left, r.top, SRCCOPY);
}

void CDataViewPainter::MarkFrame(const CPaintObject& object, const CObjectSpans& spans, bool bFillStep)
{
    // Colours into the frame surface, the mask into the id surface. With the fill step a
    // rectangle's or circle's area is black among the colours and white in the mask first, so
    // that a later object hides the frames before it; the outline is black in the mask.
    const CDrawDataObject& o = *object.m_pObject;
    const bool bLine = o.m_nType == CDrawDataObject::TYPE_LINE;
    if (bFillStep && !bLine) {
        for (const std::vector<CShapeSpan>* pPart : {&spans.fill, &spans.frame}) {
            SetPixels(m_frame, *pPart, RGB(0, 0, 0));
            SetPixels(m_ids, *pPart, RGB(255, 255, 255));
        }
    }
    // A rectangle's frame is one pixel wide in its brush's colour whatever its pen.
    const bool bRect = o.m_nType == CDrawDataObject::TYPE_RECT;
    const std::vector<CShapeSpan>& colour = bRect ? spans.frame : spans.outline;
    if (bFillStep)
        SetPixels(m_ids, spans.frame, RGB(0, 0, 0));
    else
        SetPixels(m_ids, colour, RGB(0, 0, 0));
    SetPixels(m_frame, colour, bRect ? BrushColour(o) : PenColour(o));
}

void CDataViewPainter::Paint()
{
    if (!m_bEnabled || m_bBypass)
        return;
    Compose();
    if (m_nState == STATE_CREATING || m_nState == STATE_MOVING) {
        SaveEditBackground();
        DrawEditCopy();
    }
}

void CDataViewPainter::PaintIds()
{
    const CDC::CPass pass(m_ids);
    m_ids.BitBlt(0, 0, m_nWidth, m_nHeight, nullptr, 0, 0, BLACKNESS);
    for (int i = 0; i < int(m_objects.size()); ++i) {
        if (!IsDrawable(i))
            continue;
        const CPaintObject& object = m_objects[size_t(i)];
        CPen pen(PS_SOLID, PenWidth(*object.m_pObject), IdColour(i));
        CBrush brush(IdColour(i));
        DrawShape(m_ids, object, &pen, &brush);
    }
}

int CDataViewPainter::PickObject()
{
    if (!m_ids.GetBits())
        return -1;
    PaintIds();
    struct CCandidate
    {
        int index;
        int count;
    };
    std::vector<CCandidate> candidates; // in the order first seen
    for (int y = std::max(m_ptCurrent.y - 1, 0); y <= std::min(m_ptCurrent.y + 1, m_nHeight - 1); ++y) {
        const uint32_t* row = m_ids.GetRowPixels(y);
        for (int x = std::max(m_ptCurrent.x - 1, 0); x <= std::min(m_ptCurrent.x + 1, m_nWidth - 1); ++x) {
            const uint32_t pixel = row[x];
            const int id = int((pixel >> 16 & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16);
            if (id == 0 || id > int(m_objects.size()))
                continue;
            const auto it = std::find_if(candidates.begin(), candidates.end(),
                                         [id](const CCandidate& c) { return c.index == id - 1; });
            if (it == candidates.end())
                candidates.push_back({id - 1, 1});
            else
                ++it->count;
        }
    }
    // A line seen at all wins over rectangles and circles; then the most pixels.
    int best = -1, bestCount = 0;
    bool bBestLine = false;
    for (const CCandidate& c : candidates) {
        const bool bLine = m_objects[size_t(c.index)].m_pObject->m_nType == CDrawDataObject::TYPE_LINE;
        if (best < 0 || (bLine && !bBestLine) || (bLine == bBestLine && c.count > bestCount)) {
            best = c.index;
            bestCount = c.count;
            bBestLine = bLine;
        }
    }
    return best;
}

int CDataViewPainter::GripTest(const CPaintObject& object, CPoint point) const
{
    const CRect box = object.Normalised();
    if (point.x < box.left - 2 || point.x > box.right + 2 || point.y < box.top - 2 || point.y > box.bottom + 2)
        return GRIP_NONE;
    const int h = GripPart(point.x, box.left, box.right);
    const int v = GripPart(point.y, box.top, box.bottom);
    if (h == 0 || v == 0 || (h == 2 && v == 2))
        return GRIP_BODY;
    if (object.m_pObject->m_nType != CDrawDataObject::TYPE_LINE)
        return v * 8 + h;
    // A line's grips are the corners that hold its ends.
    if (h == 2 || v == 2)
        return GRIP_BODY;
    const CPoint corner(h == 1 ? box.left : box.right, v == 1 ? box.top : box.bottom);
    const bool bEnd = corner == CPoint(object.m_nLeft, object.m_nTop) || corner == CPoint(object.m_nRight, object.m_nBottom);
    return bEnd ? v * 8 + h : GRIP_BODY;
}

int CDataViewPainter::GripCursor(int32_t nType, int nGrip)
{
    if (nGrip == GRIP_NONE)
        return -1;
    if (nGrip == GRIP_BODY)
        return CURSOR_MOVE;
    if (nType == CDrawDataObject::TYPE_LINE)
        return CURSOR_CROSS;
    switch (nGrip) {
    case 9:
    case 36: return CURSOR_SIZE2;
    case 10:
    case 34: return CURSOR_SIZE4;
    case 12:
    case 33: return CURSOR_SIZE1;
    default: return CURSOR_SIZE3; // 17, 20
    }
}

bool CDataViewPainter::HitTest()
{
    if (!m_bEnabled)
        return false;
    if (m_nState == STATE_MOVING)
        return true;
    m_nGrip = GRIP_NONE;
    if (m_nState != STATE_SELECTING || m_nSelected < 0 || !IsDrawable(m_nSelected))
        return false;
    const CPaintObject& object = m_objects.at(size_t(m_nSelected));
    m_nGrip = GripTest(object, m_ptCurrent);
    const int cursor = GripCursor(object.m_pObject->m_nType, m_nGrip);
    if (cursor < 0)
        return false;
    SetConfiguredCursor(m_pViewWnd, cursor);
    return true;
}

void CDataViewPainter::SaveEditBackground()
{
    m_work.BitBlt(0, 0, m_nWidth, m_nHeight, &m_composite, 0, 0, SRCCOPY);
    m_frame.BitBlt(0, 0, m_nWidth, m_nHeight, &m_composite, 0, 0, SRCCOPY);
}

void CDataViewPainter::DrawEditCopy()
{
    const CDC::CPass framePass(m_frame), compositePass(m_composite);
    DrawObject(m_frame, m_edit);
    const CRect r = Grown(m_edit.Normalised(), 3);
    if (!r.IsRectEmpty()) {
        BLENDFUNCTION blend;
        blend.SourceConstantAlpha = BYTE(g_drawingManager.GetBlendAlpha());
        m_composite.AlphaBlend(r.left, r.top, r.Width(), r.Height(), &m_frame, r.left, r.top, r.Width(), r.Height(),
                               blend);
    }
    if (g_drawingManager.GetDrawFrame())
        DrawFrame(m_composite, m_edit);
}

void CDataViewPainter::StartCreation(CPoint point, float hoverX, float hoverY, float depth)
{
    m_nSelected = -1;
    m_nState = STATE_CREATING;
    m_ptPress = point;
    m_fPressX = hoverX;
    m_fPressY = hoverY;
    m_fPressDepth = depth;
    m_editObject = CDrawDataObject();
    m_editObject.m_nType = g_drawingManager.GetTool();
    m_editObject.m_bVisible = true;
    m_editObject.m_pPen = g_drawingManager.GetPen();
    m_editObject.m_pBrush = g_drawingManager.GetBrush();
    m_editObject.m_nPenWidth = g_drawingManager.GetPenWidth();
    m_editObject.m_crFill = m_editObject.m_crLine = g_drawingManager.GetColor();
    m_edit = CPaintObject();
    m_edit.m_pObject = &m_editObject;
    m_edit.m_nLeft = m_edit.m_nRight = point.x;
    m_edit.m_nTop = m_edit.m_nBottom = point.y;
    if (m_pViewWnd)
        m_pViewWnd->SetCapture();
    Paint();
}

void CDataViewPainter::StartMove(int nGrip, CPoint point)
{
    g_drawingManager.SetBusy(true);
    if (m_pViewWnd)
        m_pViewWnd->SetCapture();
    m_nGrip = nGrip;
    const CPaintObject& object = m_objects.at(size_t(m_nSelected));
    m_editObject = *object.m_pObject;
    m_edit = object;
    m_edit.m_pObject = &m_editObject;
    m_ptPress = point;
    if (m_editObject.m_nType == CDrawDataObject::TYPE_LINE && nGrip > GRIP_BODY) {
        const CRect box = object.Normalised();
        const CPoint corner((nGrip & 7) == 1 ? box.left : box.right, (nGrip >> 3) == 1 ? box.top : box.bottom);
        m_bEditFirstEnd = corner == CPoint(object.m_nLeft, object.m_nTop);
    }
    m_nState = STATE_COMPOSING;
    Compose();
    m_nState = STATE_MOVING;
    SaveEditBackground();
    DrawEditCopy();
}

void CDataViewPainter::MoveEditCopy(CPoint point)
{
    const CRect previous = Grown(m_edit.Normalised(), 5);
    if (!previous.IsRectEmpty()) {
        m_composite.BitBlt(previous.left, previous.top, previous.Width(), previous.Height(), &m_work, previous.left,
                           previous.top, SRCCOPY);
        m_frame.BitBlt(previous.left, previous.top, previous.Width(), previous.Height(), &m_work, previous.left,
                       previous.top, SRCCOPY);
    }
    const bool bLine = m_editObject.m_nType == CDrawDataObject::TYPE_LINE;
    if (m_nState == STATE_CREATING) {
        m_edit.m_nLeft = m_ptPress.x;
        m_edit.m_nTop = m_ptPress.y;
        m_edit.m_nRight = point.x;
        m_edit.m_nBottom = point.y;
    } else {
        const int dx = point.x - m_ptCurrent.x, dy = point.y - m_ptCurrent.y;
        const int h = m_nGrip & 7, v = m_nGrip >> 3;
        if (m_nGrip == GRIP_BODY) {
            m_edit.m_nLeft += dx;
            m_edit.m_nRight += dx;
            m_edit.m_nTop += dy;
            m_edit.m_nBottom += dy;
        } else if (bLine) {
            (m_bEditFirstEnd ? m_edit.m_nLeft : m_edit.m_nRight) += dx;
            (m_bEditFirstEnd ? m_edit.m_nTop : m_edit.m_nBottom) += dy;
        } else {
            if (h == 1)
                m_edit.m_nLeft += dx;
            if (h == 4)
                m_edit.m_nRight += dx;
            if (v == 1)
                m_edit.m_nTop += dy;
            if (v == 4)
                m_edit.m_nBottom += dy;
        }
    }
    if (!bLine) {
        // Normalised; a dragged edge that passed the other one stays the dragged one.
        int h = m_nGrip > GRIP_BODY ? m_nGrip & 7 : 0, v = m_nGrip > GRIP_BODY ? m_nGrip >> 3 : 0;
        if (m_edit.m_nLeft > m_edit.m_nRight) {
            std::swap(m_edit.m_nLeft, m_edit.m_nRight);
            h = SwappedPart(h);
        }
        if (m_edit.m_nTop > m_edit.m_nBottom) {
            std::swap(m_edit.m_nTop, m_edit.m_nBottom);
            v = SwappedPart(v);
        }
        if (m_nState == STATE_MOVING && m_nGrip > GRIP_BODY)
            m_nGrip = v * 8 + h;
    }
    DrawEditCopy();
}

bool CDataViewPainter::OnLButtonDown(CPoint point, float hoverX, float hoverY, float depth)
{
    if (!m_bEnabled)
        return false;
    m_ptCurrent = point;
    const int tool = g_drawingManager.GetTool();
    if (g_drawingManager.IsBusy() || tool < Tovrik::CDrawingManager::TOOL_LINE ||
        tool > Tovrik::CDrawingManager::TOOL_SELECT)
        return false;
    if (tool != Tovrik::CDrawingManager::TOOL_SELECT) {
        Post(DRAW_CREATION, 1);
        g_drawingManager.SetBusy(true);
        StartCreation(point, hoverX, hoverY, depth);
        return true;
    }
    m_nState = STATE_SELECTING;
    if (m_nSelected >= 0 && IsDrawable(m_nSelected)) {
        const int grip = GripTest(m_objects.at(size_t(m_nSelected)), point);
        if (grip != GRIP_NONE) {
            StartMove(grip, point);
            return true;
        }
    }
    m_nSelected = PickObject();
    if (m_nSelected >= 0)
        g_drawingManager.SelectObject(m_objects[size_t(m_nSelected)].m_pObject);
    else
        g_drawingManager.ClearSelection();
    Post(DRAW_SELECTION, g_drawingManager.GetSelected());
    Paint();
    HitTest();
    if (m_nSelected >= 0)
        StartMove(GRIP_BODY, point);
    return true;
}

bool CDataViewPainter::OnMouseMove(UINT nFlags, CPoint point, float hoverX, float hoverY, float depth)
{
    if (!m_bEnabled)
        return false;
    if (m_nState != STATE_CREATING && m_nState != STATE_MOVING) {
        m_ptCurrent = point;
        return false;
    }
    // The button went up where this window did not see it.
    if (!(nFlags & MK_LBUTTON))
        return EndEdit(point, hoverX, hoverY, depth);
    if (point == m_ptCurrent)
        return false;
    MoveEditCopy(point);
    m_ptCurrent = point;
    return true;
}

bool CDataViewPainter::OnLButtonUp(CPoint point, float hoverX, float hoverY, float depth)
{
    if (!m_bEnabled || (m_nState != STATE_CREATING && m_nState != STATE_MOVING))
        return false;
    return EndEdit(point, hoverX, hoverY, depth);
}

bool CDataViewPainter::EndEdit(CPoint point, float hoverX, float hoverY, float depth)
{
    g_drawingManager.SetBusy(false);
    if (CWnd::GetCapture() == m_pViewWnd)
        CWnd::ReleaseCapture();
    m_ptCurrent = point;
    if (m_nState == STATE_CREATING) {
        Post(DRAW_CREATION, 0);
        m_nState = STATE_IDLE;
        if (point != m_ptPress) {
            CDrawDataObject object = m_editObject;
            object.m_fX1 = m_fPressX;
            object.m_fY1 = m_fPressY;
            object.m_fZ1 = m_fPressDepth;
            object.m_fX2 = hoverX;
            object.m_fY2 = hoverY;
            object.m_fZ2 = depth;
            CDrawDataObject* pAdded = g_drawingManager.AddObject(object);
            m_objects.push_back(MakePaintObject(pAdded));
            SortObjects();
            g_drawingManager.SelectObject(pAdded);
            Post(DRAW_ADDED, g_drawingManager.GetSelected());
        }
        Paint();
        return true;
    }
    m_nState = STATE_SELECTING;
    if (m_nSelected < 0 || m_nSelected >= int(m_objects.size()))
        return true;
    CPaintObject& target = m_objects[size_t(m_nSelected)];
    const CPaintObject& moved = m_edit;
    const bool bChanged = moved.m_nLeft != target.m_nLeft || moved.m_nTop != target.m_nTop ||
                          moved.m_nRight != target.m_nRight || moved.m_nBottom != target.m_nBottom;
    if (bChanged && m_pView) {
        // A click without a move keeps the object's own coordinates.
        float x1, y1, x2, y2;
        const CPoint first(moved.m_nLeft, moved.m_nTop), second(moved.m_nRight, moved.m_nBottom);
        m_pView->PixelToPosition(first, x1, y1);
        m_pView->PixelToPosition(second, x2, y2);
        CDrawDataObject& o = *target.m_pObject;
        if (m_nMode == MODE_TOP || m_nMode == MODE_SECTION_X) {
            o.m_fX1 = x1;
            o.m_fX2 = x2;
        }
        if (m_nMode == MODE_TOP || m_nMode == MODE_SECTION_Y) {
            o.m_fY1 = y1;
            o.m_fY2 = y2;
        }
        if (m_nMode != MODE_TOP) {
            o.m_fZ1 = m_pView->PixelToDepth(first);
            o.m_fZ2 = m_pView->PixelToDepth(second);
        }
        target.m_nLeft = moved.m_nLeft;
        target.m_nTop = moved.m_nTop;
        target.m_nRight = moved.m_nRight;
        target.m_nBottom = moved.m_nBottom;
    }
    Paint();
    if (bChanged)
        Post(DRAW_CHANGED, g_drawingManager.GetSelected());
    return true;
}

void CDataViewPainter::Post(int nCode, int nArgument) const
{
    if (m_pViewWnd)
        m_pViewWnd->PostMessage(WM_DRAWING_EVENT, ID_SENDER_PAINTER, MakeCodeParam(WORD(nCode), nArgument));
}
