#include "DC.h"

#include "DibSection.h"
#include "LineWalk.h"
#include "QtConvert.h"
#include "Wnd.h"

#include <QFontMetrics>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>
#include <QTransform>
#include <QVarLengthArray>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
// Longer segments are left to Qt, which clips them, instead of being walked pixel by pixel.
constexpr int64_t kLongestWalk = 1 << 16;
// Points of a cosmetic line handed to Qt at once.
constexpr size_t kPointBatch = 1 << 16;
// Block operations keep their coordinates within this distance of the origin.
constexpr int64_t kCoordinateLimit = 1 << 28;

int LimitCoordinate(int64_t value)
{
    return int(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}
} // namespace

CDC::CDC()
    : m_pPenObject(static_cast<CPen*>(GetStockObject(BLACK_PEN))),
      m_pBrushObject(static_cast<CBrush*>(GetStockObject(WHITE_BRUSH))),
      m_pFontObject(static_cast<CFont*>(GetStockObject(SYSTEM_FONT)))
{
    m_pen = m_pPenObject->GetLogPen();
    m_brush = m_pBrushObject->GetLogBrush();
    m_font = m_pFontObject->GetLogFont();
    m_defaultBitmap.CreateBitmap(1, 1);
}

CDC::~CDC()
{
    EndPassPainter();
}

CDC::CPass::CPass(CDC& dc) : m_dc(dc)
{
    ++m_dc.m_nPasses;
}

CDC::CPass::~CPass()
{
    if (--m_dc.m_nPasses == 0)
        m_dc.EndPassPainter();
}

void CDC::EndPassPainter()
{
    if (m_pPassPainter && m_pPassPainter->isActive())
        m_pPassPainter->end();
}

bool CDC::AttachImage(QImage* pImage)
{
    EndPassPainter();
    m_pImage = pImage;
    m_pPainter = nullptr;
    m_bMemory = false;
    m_bPrinting = false;
    return pImage != nullptr;
}

bool CDC::AttachPainter(QPainter* pPainter)
{
    EndPassPainter();
    m_pPainter = pPainter;
    m_pImage = nullptr;
    m_bMemory = false;
    m_bPrinting = pPainter && dynamic_cast<QPagedPaintDevice*>(pPainter->device()) != nullptr;
    return pPainter != nullptr;
}

bool CDC::CreateCompatibleDC(CDC*)
{
    EndPassPainter();
    m_pImage = nullptr;
    m_pPainter = nullptr;
    m_bMemory = true;
    m_pBitmap = &m_defaultBitmap;
    return true;
}

void CDC::DeleteDC()
{
    EndPassPainter();
    m_pImage = nullptr;
    m_pPainter = nullptr;
    m_bMemory = false;
    m_pBitmap = nullptr;
}

QImage* CDC::GetImage() const
{
    if (m_bMemory)
        return m_pBitmap && m_pBitmap != &m_defaultBitmap ? &m_pBitmap->GetImage() : nullptr;
    return m_pImage;
}

QPaintDevice* CDC::GetDevice() const
{
    if (m_pPainter)
        return m_pPainter->device();
    return GetImage();
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    const CPoint old = m_ptViewportOrg;
    m_ptViewportOrg = {x, y};
    return old;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    CPen* old = m_pPenObject;
    if (pPen) {
        m_pPenObject = pPen;
        m_pen = pPen->GetLogPen();
    }
    return old;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    CBrush* old = m_pBrushObject;
    if (pBrush) {
        m_pBrushObject = pBrush;
        m_brush = pBrush->GetLogBrush();
    }
    return old;
}

CFont* CDC::SelectObject(CFont* pFont)
{
    CFont* old = m_pFontObject;
    if (pFont) {
        m_pFontObject = pFont;
        m_font = pFont->GetLogFont();
    }
    return old;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (!m_bMemory || !pBitmap)
        return nullptr;
    EndPassPainter();
    CBitmap* old = m_pBitmap;
    m_pBitmap = pBitmap;
    return old;
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    CGdiObject* object = GetStockObject(nIndex);
    if (!object)
        return nullptr;
    switch (object->GetKind()) {
    case CGdiObject::KIND_PEN: return SelectObject(static_cast<CPen*>(object));
    case CGdiObject::KIND_BRUSH: return SelectObject(static_cast<CBrush*>(object));
    case CGdiObject::KIND_FONT: return SelectObject(static_cast<CFont*>(object));
    default: return nullptr;
    }
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    std::swap(m_crText, crColor);
    return crColor;
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    std::swap(m_crBk, crColor);
    return crColor;
}

int CDC::SetBkMode(int nBkMode)
{
    std::swap(m_nBkMode, nBkMode);
    return nBkMode;
}

UINT CDC::SetTextAlign(UINT nFlags)
{
    std::swap(m_nTextAlign, nFlags);
    return nFlags;
}

CDibSection* CDC::GetDibSection() const
{
    return m_bMemory ? dynamic_cast<CDibSection*>(m_pBitmap) : nullptr;
}

CPixelRows CDC::GetPixelRows(bool bForWriting) const
{
    if (CDibSection* dib = GetDibSection())
        return PixelRowsOf(*dib);
    QImage* image = m_pPainter ? nullptr : GetImage();
    return image ? PixelRowsOf(*image, bForWriting) : CPixelRows();
}

QImage CDC::CopyUpright(const QRect& block) const
{
    const QImage* image = m_pPainter ? nullptr : GetImage();
    if (!image || image->isNull())
        return QImage();
    if (!GetDibSection())
        return image->copy(block);
    const QRect stored(block.x(), image->height() - block.y() - block.height(), block.width(), block.height());
    return image->copy(stored).mirrored(false, true);
}

template <class TDraw>
bool CDC::Paint(const TDraw& draw)
{
    if (m_pPainter) {
        m_pPainter->save();
        if (m_bClip)
            m_pPainter->setClipRect(ToQRect(m_rcClip), Qt::IntersectClip);
        m_pPainter->translate(m_ptViewportOrg.x, m_ptViewportOrg.y);
        draw(*m_pPainter);
        m_pPainter->restore();
        return true;
    }
    QImage* image = GetImage();
    if (!image || image->isNull())
        return false;
    if (m_nPasses == 0) {
        QPainter painter(image);
        PrepareImagePainter(painter, *image);
        draw(painter);
        return true;
    }
    QPainter* pPainter = PassPainter(*image);
    if (!pPainter)
        return false;
    draw(*pPainter);
    return true;
}

QPainter* CDC::PassPainter(QImage& image)
{
    if (!m_pPassPainter)
        m_pPassPainter = std::make_unique<QPainter>();
    QPainter& painter = *m_pPassPainter;
    if (!painter.isActive() || painter.device() != &image) {
        EndPassPainter();
        if (!painter.begin(&image))
            return nullptr;
    } else {
        // Back to a begun painter's state where earlier calls of the pass changed it; each
        // call sets its own pen, brush and font. Only what changed is set again: each change
        // costs the paint engine a state update.
        if (painter.compositionMode() != QPainter::CompositionMode_SourceOver)
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (painter.opacity() != 1.0)
            painter.setOpacity(1.0);
        if (painter.hasClipping())
            painter.setClipping(false);
        if (!m_bClip) {
            QTransform transform = BaseTransform(image);
            transform.translate(m_ptViewportOrg.x, m_ptViewportOrg.y);
            if (painter.worldTransform() != transform)
                painter.setTransform(transform);
            return &painter;
        }
    }
    PrepareImagePainter(painter, image);
    return &painter;
}

QTransform CDC::BaseTransform(const QImage& image) const
{
    // A section's image is its memory, the picture upside down: draw through a flip.
    return GetDibSection() ? QTransform(1, 0, 0, -1, 0, image.height()) : QTransform();
}

void CDC::PrepareImagePainter(QPainter& painter, const QImage& image) const
{
    painter.setTransform(BaseTransform(image));
    if (m_bClip)
        painter.setClipRect(ToQRect(m_rcClip));
    painter.translate(m_ptViewportOrg.x, m_ptViewportOrg.y);
}

void CDC::ShiftForOutline(QPainter& painter) const
{
    // Qt sets the pixels of one-pixel outlines and of curved fills to the right of and below
    // their points; through the flip of a section that is the row above, so move one down.
    if (!m_pPainter && GetDibSection())
        painter.translate(0, 1);
}

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = m_ptCurrent;
    m_ptCurrent = {x, y};
    return old;
}

void CDC::DrawChain(QPainter& painter, const CPoint* pPoints, int nCount) const
{
    if (m_pen.lopnWidth <= 1) {
        DrawChainCosmetic(painter, pPoints, nCount);
        return;
    }
    QVarLengthArray<QPoint, 16> vertices; // a line's two ends stay off the heap
    for (int i = 0; i < nCount; ++i)
        vertices.append(QPoint(pPoints[i].x, pPoints[i].y));
    painter.setPen(QPen(ToQColor(m_pen.lopnColor), m_pen.lopnWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(vertices.data(), nCount);
}

void CDC::DrawChainCosmetic(QPainter& painter, const CPoint* pPoints, int nCount) const
{
    SetPenColorOnly(painter, m_pen.lopnColor);
    ShiftForOutline(painter);
    std::vector<QPoint> points;
    auto flush = [&] {
        painter.drawPoints(points.data(), int(points.size()));
        points.clear();
    };
    // The dash pattern runs on along the whole chain.
    int step = 0;
    auto visit = [&](int x, int y) {
        bool bOn = true;
        if (m_pen.lopnStyle == PS_DOT)
            bOn = (step / 3) % 2 == 0;
        else if (m_pen.lopnStyle == PS_DASH)
            bOn = step % 24 < 18;
        else if (m_pen.lopnStyle == PS_DASHDOT)
            bOn = step % 30 < 18 || (step % 30 >= 24 && step % 30 < 27);
        if (bOn)
            points.emplace_back(x, y);
        step = (step + 1) % 120;
        if (points.size() >= kPointBatch)
            flush();
    };
    for (int i = 1; i < nCount; ++i) {
        const CPoint from = pPoints[i - 1], to = pPoints[i];
        const int64_t span = std::max(std::abs(int64_t(to.x) - from.x), std::abs(int64_t(to.y) - from.y));
        if (span <= kLongestWalk)
            WalkLine(from, to, visit);
        else
            painter.drawLine(QLineF(from.x, from.y, to.x, to.y));
    }
    flush();
}

void CDC::SetPenColorOnly(QPainter& painter, COLORREF color) const
{
    QPen pen(ToQColor(color));
    pen.setWidth(1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
}

bool CDC::LineTo(int x, int y)
{
    const CPoint from = m_ptCurrent;
    m_ptCurrent = {x, y};
    if (m_pen.lopnStyle == PS_NULL)
        return true;
    const CPoint chain[2] = {from, {x, y}};
    return Paint([&](QPainter& painter) { DrawChain(painter, chain, 2); });
}

bool CDC::Polyline(const CPoint* pPoints, int nCount)
{
    if (!pPoints || nCount < 2)
        return false;
    if (m_pen.lopnStyle == PS_NULL)
        return true;
    return Paint([&](QPainter& painter) { DrawChain(painter, pPoints, nCount); });
}

bool CDC::Rectangle(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return Paint([&](QPainter& painter) {
        const bool bPen = m_pen.lopnStyle != PS_NULL;
        if (bPen && m_pen.lopnWidth <= 1 && m_pen.lopnStyle == PS_SOLID && m_brush.lbStyle != BS_NULL &&
            m_brush.lbColor == m_pen.lopnColor) {
            // Interior and outline of one colour cover the whole box.
            if (right - left >= 1 && bottom - top >= 1)
                painter.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(m_pen.lopnColor));
            return;
        }
        // The interior: inside the outline, or one pixel short of right and bottom without one.
        const QRect inner = bPen ? QRect(QPoint(left + 1, top + 1), QPoint(right - 2, bottom - 2))
                                 : QRect(QPoint(left, top), QPoint(right - 2, bottom - 2));
        if (m_brush.lbStyle != BS_NULL && inner.isValid())
            painter.fillRect(inner, ToQColor(m_brush.lbColor));
        if (!bPen || right - left < 1 || bottom - top < 1)
            return;
        if (m_pen.lopnWidth <= 1 && m_pen.lopnStyle == PS_SOLID) {
            const QColor color = ToQColor(m_pen.lopnColor);
            painter.fillRect(QRect(left, top, right - left, 1), color);
            painter.fillRect(QRect(left, bottom - 1, right - left, 1), color);
            painter.fillRect(QRect(left, top, 1, bottom - top), color);
            painter.fillRect(QRect(right - 1, top, 1, bottom - top), color);
            return;
        }
        QPen pen(ToQColor(m_pen.lopnColor), std::max(1, m_pen.lopnWidth));
        pen.setJoinStyle(Qt::MiterJoin);
        if (m_pen.lopnStyle == PS_DOT)
            pen.setStyle(Qt::DotLine);
        else if (m_pen.lopnStyle == PS_DASH)
            pen.setStyle(Qt::DashLine);
        else if (m_pen.lopnStyle == PS_DASHDOT)
            pen.setStyle(Qt::DashDotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (m_pen.lopnWidth <= 1)
            ShiftForOutline(painter);
        painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
    });
}

bool CDC::Ellipse(int left, int top, int right, int bottom)
{
    if (right - left < 2 || bottom - top < 2)
        return true;
    return Paint([&](QPainter& painter) {
        // The fill and then the outline, each under its own pixel rule.
        // Only the transform changes between the two; pen and brush are set by every call.
        const QRect box(left, top, right - left - 1, bottom - top - 1);
        const QTransform transform = painter.worldTransform();
        if (m_brush.lbStyle != BS_NULL) {
            ShiftForOutline(painter);
            painter.setPen(Qt::NoPen);
            painter.setBrush(ToQColor(m_brush.lbColor));
            painter.drawEllipse(box);
            painter.setTransform(transform);
        }
        if (m_pen.lopnStyle != PS_NULL) {
            if (m_pen.lopnWidth <= 1)
                ShiftForOutline(painter);
            painter.setPen(QPen(ToQColor(m_pen.lopnColor), std::max(1, m_pen.lopnWidth)));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(box);
            painter.setTransform(transform);
        }
    });
}

void CDC::FillRect(LPCRECT pRect, CBrush* pBrush)
{
    if (!pRect || !pBrush || pBrush->GetLogBrush().lbStyle == BS_NULL)
        return;
    FillSolidRect(pRect, pBrush->GetLogBrush().lbColor);
}

void CDC::FillSolidRect(LPCRECT pRect, COLORREF crColor)
{
    if (pRect && !pRect->IsRectEmpty())
        Paint([&](QPainter& painter) { painter.fillRect(ToQRect(*pRect), ToQColor(crColor)); });
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor)
{
    const CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, crColor);
}

void CDC::FrameRect(LPCRECT pRect, CBrush* pBrush)
{
    if (!pRect || pRect->IsRectEmpty() || !pBrush || pBrush->GetLogBrush().lbStyle == BS_NULL)
        return;
    const CRect r = *pRect;
    const QColor color = ToQColor(pBrush->GetLogBrush().lbColor);
    Paint([&](QPainter& painter) {
        painter.fillRect(QRect(r.left, r.top, r.Width(), 1), color);
        painter.fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), color);
        painter.fillRect(QRect(r.left, r.top, 1, r.Height()), color);
        painter.fillRect(QRect(r.right - 1, r.top, 1, r.Height()), color);
    });
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    const CPoint topLeft = ToDevice(x1, y1), bottomRight = ToDevice(x2, y2);
    CRect rect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    if (m_bClip)
        rect.IntersectRect(&rect, &m_rcClip);
    m_rcClip = rect;
    m_bClip = true;
    return rect.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::SelectClipRgn(CRgn* pRgn)
{
    if (!pRgn) {
        m_bClip = false;
        return SIMPLEREGION;
    }
    if (!pRgn->IsCreated())
        return ERROR;
    m_rcClip = pRgn->GetRect();
    m_bClip = true;
    return m_rcClip.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::GetClipBox(LPRECT pRect) const
{
    CRect box(0, 0, GetDeviceCaps(HORZRES), GetDeviceCaps(VERTRES));
    if (m_bClip)
        box.IntersectRect(&box, &m_rcClip);
    if (!box.IsRectEmpty())
        box.OffsetRect(-m_ptViewportOrg.x, -m_ptViewportOrg.y);
    if (pRect)
        *pRect = box;
    return box.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::SaveDC()
{
    m_saved.push_back({m_pen, m_brush, m_font, m_pPenObject, m_pBrushObject, m_pFontObject, m_crText, m_crBk,
                       m_nBkMode, m_nTextAlign, m_ptCurrent, m_ptViewportOrg, m_bClip, m_rcClip});
    return int(m_saved.size());
}

bool CDC::RestoreDC(int nSavedDC)
{
    const int64_t level = nSavedDC < 0 ? int64_t(m_saved.size()) + 1 + nSavedDC : nSavedDC;
    if (level < 1 || level > int64_t(m_saved.size()))
        return false;
    const CSavedState& state = m_saved[size_t(level - 1)];
    m_pen = state.pen;
    m_brush = state.brush;
    m_font = state.font;
    m_pPenObject = state.pPenObject;
    m_pBrushObject = state.pBrushObject;
    m_pFontObject = state.pFontObject;
    m_crText = state.crText;
    m_crBk = state.crBk;
    m_nBkMode = state.nBkMode;
    m_nTextAlign = state.nTextAlign;
    m_ptCurrent = state.ptCurrent;
    m_ptViewportOrg = state.ptViewportOrg;
    m_bClip = state.bClip;
    m_rcClip = state.rcClip;
    m_saved.resize(size_t(level - 1));
    return true;
}

COLORREF CDC::SetPixel(int xLogical, int yLogical, COLORREF crColor)
{
    const CPoint device = ToDevice(xLogical, yLogical);
    const int x = device.x, y = device.y;
    if (m_bClip && !m_rcClip.PtInRect(device))
        return CLR_INVALID;
    if (CDibSection* dib = GetDibSection()) {
        const CPixelRows rows = PixelRowsOf(*dib);
        if (rows.IsNull() || x < 0 || y < 0 || x >= rows.m_nWidth || y >= rows.m_nHeight)
            return CLR_INVALID;
        uint8_t* pixel = rows.Row(y) + ptrdiff_t(rows.m_nPixelBytes) * x;
        pixel[0] = GetBValue(crColor);
        pixel[1] = GetGValue(crColor);
        pixel[2] = GetRValue(crColor);
        if (rows.m_nPixelBytes == 4)
            pixel[3] = 0xFF;
        return crColor;
    }
    QImage* image = GetImage();
    if (image && image->rect().contains(x, y)) {
        image->setPixel(x, y, ToQRgb(crColor));
        return crColor;
    }
    if (m_pPainter) {
        Paint([&](QPainter& painter) { painter.fillRect(QRect(xLogical, yLogical, 1, 1), ToQColor(crColor)); });
        return crColor;
    }
    return CLR_INVALID;
}

COLORREF CDC::GetPixel(int xLogical, int yLogical) const
{
    const CPoint device = ToDevice(xLogical, yLogical);
    const int x = device.x, y = device.y;
    if (CDibSection* dib = GetDibSection()) {
        const CPixelRows rows = PixelRowsOf(*dib);
        if (rows.IsNull() || x < 0 || y < 0 || x >= rows.m_nWidth || y >= rows.m_nHeight)
            return CLR_INVALID;
        const uint8_t* pixel = rows.Row(y) + ptrdiff_t(rows.m_nPixelBytes) * x;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }
    const QImage* image = GetImage();
    if (!image || !image->rect().contains(x, y))
        return CLR_INVALID;
    return FromQRgb(image->pixel(x, y));
}

QFontMetrics CDC::MetricsOf(const QFont& font) const
{
    const QPaintDevice* device = GetDevice();
    return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

bool CDC::TextOut(int x, int y, const std::wstring& text)
{
    const QFont font = MakeQFont(m_font);
    const CFontCell cell = FontCellOf(m_font);
    const QString qtext = ToQString(text);
    const int width = MetricsOf(font).horizontalAdvance(qtext);
    int x0 = 0;
    if ((m_nTextAlign & TA_HORZMASK) == TA_RIGHT)
        x0 = -width;
    else if ((m_nTextAlign & TA_HORZMASK) == TA_CENTER)
        x0 = -width / 2;
    int baseline = cell.nAscent;
    if ((m_nTextAlign & TA_VERTMASK) == TA_BOTTOM)
        baseline = -cell.nDescent;
    else if ((m_nTextAlign & TA_VERTMASK) == TA_BASELINE)
        baseline = 0;
    return Paint([&](QPainter& painter) {
        painter.translate(x, y);
        // Escapement turns counter-clockwise on the screen, whose y axis points down.
        if (m_font.lfEscapement != 0)
            painter.rotate(-m_font.lfEscapement / 10.0);
        if (m_nBkMode == OPAQUE)
            painter.fillRect(QRect(x0, baseline - cell.nAscent, width, cell.Height()), ToQColor(m_crBk));
        painter.setFont(font);
        painter.setPen(ToQColor(m_crText));
        painter.drawText(QPoint(x0, baseline), qtext);
    });
}

int CDC::DrawText(const std::wstring& text, LPRECT pRect, UINT nFormat)
{
    if (!pRect)
        return 0;
    const QFont font = MakeQFont(m_font);
    int flags = 0;
    flags |= (nFormat & DT_CENTER) ? Qt::AlignHCenter : (nFormat & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (nFormat & DT_VCENTER) ? Qt::AlignVCenter : (nFormat & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    if (nFormat & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    else if (nFormat & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (nFormat & DT_NOCLIP)
        flags |= Qt::TextDontClip;
    const QString qtext = ToQString(text);
    const QRect bounds = MetricsOf(font).boundingRect(ToQRect(*pRect), flags, qtext);
    if (nFormat & DT_CALCRECT) {
        pRect->right = pRect->left + bounds.width();
        pRect->bottom = pRect->top + bounds.height();
        return bounds.height();
    }
    Paint([&](QPainter& painter) {
        if (m_font.lfEscapement != 0) {
            const QPointF centre((pRect->left + pRect->right) / 2.0, (pRect->top + pRect->bottom) / 2.0);
            painter.translate(centre);
            painter.rotate(-m_font.lfEscapement / 10.0);
            painter.translate(-centre);
        }
        if (m_nBkMode == OPAQUE)
            painter.fillRect((nFormat & DT_NOCLIP) ? bounds : bounds.intersected(ToQRect(*pRect)), ToQColor(m_crBk));
        painter.setFont(font);
        painter.setPen(ToQColor(m_crText));
        painter.drawText(ToQRect(*pRect), flags, qtext);
    });
    return bounds.height();
}

CSize CDC::GetTextExtent(const std::wstring& text) const
{
    return {MetricsOf(MakeQFont(m_font)).horizontalAdvance(ToQString(text)), FontCellOf(m_font).Height()};
}

bool CDC::GetTextMetrics(TEXTMETRIC* pMetrics) const
{
    if (!pMetrics)
        return false;
    const QFont font = MakeQFont(m_font);
    const QFontMetrics metrics = MetricsOf(font);
    const CFontCell cell = FontCellOf(m_font);
    pMetrics->tmHeight = cell.Height();
    pMetrics->tmAscent = cell.nAscent;
    pMetrics->tmDescent = cell.nDescent;
    pMetrics->tmInternalLeading = std::max(0, cell.Height() - font.pixelSize());
    pMetrics->tmExternalLeading = std::max(0, metrics.leading());
    pMetrics->tmAveCharWidth = metrics.averageCharWidth();
    pMetrics->tmMaxCharWidth = metrics.maxWidth();
    return true;
}

bool CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    const int64_t x2 = int64_t(x) + nWidth, y2 = int64_t(y) + nHeight;
    const CRect block(LimitCoordinate(std::min<int64_t>(x, x2)), LimitCoordinate(std::min<int64_t>(y, y2)),
                      LimitCoordinate(std::max<int64_t>(x, x2)), LimitCoordinate(std::max<int64_t>(y, y2)));
    switch (dwRop) {
    case PATCOPY:
        if (m_brush.lbStyle != BS_NULL)
            FillSolidRect(&block, m_brush.lbColor);
        return true;
    case BLACKNESS: FillSolidRect(&block, RGB(0, 0, 0)); return true;
    case WHITENESS: FillSolidRect(&block, RGB(255, 255, 255)); return true;
    case DSTINVERT: return InvertBlock(block);
    default: return false;
    }
}

bool CDC::InvertBlock(const CRect& block)
{
    const CPixelRows rows = GetPixelRows(true);
    if (rows.IsNull())
        return false;
    CRect area = block;
    area.OffsetRect(m_ptViewportOrg.x, m_ptViewportOrg.y);
    const CRect picture(0, 0, rows.m_nWidth, rows.m_nHeight);
    area.IntersectRect(&area, &picture);
    if (m_bClip)
        area.IntersectRect(&area, &m_rcClip);
    for (int y = area.top; y < area.bottom; ++y) {
        uint8_t* pixel = rows.Row(y) + ptrdiff_t(area.left) * rows.m_nPixelBytes;
        for (int x = area.left; x < area.right; ++x, pixel += rows.m_nPixelBytes)
            for (int i = 0; i < 3; ++i)
                pixel[i] = uint8_t(~pixel[i]);
    }
    return true;
}

bool CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    if (nWidth <= 0 || nHeight <= 0)
        return true;
    switch (dwRop) {
    case PATCOPY:
    case BLACKNESS:
    case WHITENESS:
    case DSTINVERT: return PatBlt(x, y, nWidth, nHeight, dwRop);
    case SRCCOPY:
    case SRCAND:
    case SRCPAINT: break;
    default: return false;
    }
    if (!pSrcDC)
        return false;
    const CPoint from = pSrcDC->ToDevice(xSrc, ySrc), to = ToDevice(x, y);
    const CPixelRows src = pSrcDC->GetPixelRows(false);
    const CPixelRows dst = GetPixelRows(true);
    if (!src.IsNull() && !dst.IsNull()) {
        BlitPixelRows(dst, to.x, to.y, src, from.x, from.y, nWidth, nHeight, dwRop, m_bClip ? &m_rcClip : nullptr);
        return true;
    }
    // Through Qt (a printer, an image of another format): copies of the source's own pixels.
    const QImage* source = pSrcDC->m_pPainter ? nullptr : pSrcDC->GetImage();
    if (dwRop != SRCCOPY || !source || source->isNull())
        return false;
    const QRect part = QRect(from.x, from.y, nWidth, nHeight).intersected(source->rect());
    if (part.isEmpty())
        return true;
    const QImage block = pSrcDC->CopyUpright(part);
    return Paint([&](QPainter& painter) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(x + part.x() - from.x, y + part.y() - from.y), block);
    });
}

int CDC::SetDIBitsToDevice(int xDest, int yDest, DWORD dwWidth, DWORD dwHeight, int xSrc, int ySrc,
                           UINT uStartScan, UINT cScanLines, const void* pBits, const BITMAPINFO* pInfo,
                           UINT uColorUse)
{
    if (!pBits || !pInfo || uColorUse != DIB_RGB_COLORS)
        return 0;
    const BITMAPINFOHEADER& h = pInfo->bmiHeader;
    const int bits = h.biBitCount;
    const int width = h.biWidth;
    const int height = std::abs(h.biHeight);
    if ((bits != 24 && bits != 32) || h.biCompression != BI_RGB || width <= 0 || height <= 0 ||
        uStartScan != 0 || cScanLines != UINT(height))
        return 0;
    const QImage dib(static_cast<const uchar*>(pBits), width, height, DibStride(width, bits),
                     bits == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    const bool bBottomUp = h.biHeight > 0;
    // Rows of the block in the buffer's own order.
    const QRect block(xSrc, ySrc, int(dwWidth), int(dwHeight));
    QImage part = dib.copy(block);
    if (bBottomUp)
        part = part.mirrored(false, true);
    Paint([&](QPainter& painter) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(xDest, yDest), part);
    });
    return int(cScanLines);
}

bool CDC::AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend)
{
    if (!pSrcDC || nDestWidth <= 0 || nDestHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0)
        return false;
    const int alpha = blend.SourceConstantAlpha;
    const CRect* pClip = m_bClip ? &m_rcClip : nullptr;
    const CPoint from = pSrcDC->ToDevice(xSrc, ySrc), to = ToDevice(xDest, yDest);
    const CPixelRows dst = GetPixelRows(true);
    if (nSrcWidth == nDestWidth && nSrcHeight == nDestHeight) {
        const CPixelRows src = pSrcDC->GetPixelRows(false);
        if (!src.IsNull() && !dst.IsNull()) {
            BlendPixelRows(dst, to.x, to.y, src, from.x, from.y, nDestWidth, nDestHeight, alpha, pClip);
            return true;
        }
    }
    QImage block = pSrcDC->CopyUpright(QRect(from.x, from.y, nSrcWidth, nSrcHeight));
    if (block.isNull())
        return false;
    if (nSrcWidth != nDestWidth || nSrcHeight != nDestHeight)
        block = block.scaled(nDestWidth, nDestHeight);
    block = block.convertToFormat(QImage::Format_RGB32);
    if (!dst.IsNull()) {
        BlendPixelRows(dst, to.x, to.y, PixelRowsOf(block, false), 0, 0, nDestWidth, nDestHeight, alpha, pClip);
        return true;
    }
    return Paint([&](QPainter& painter) {
        painter.setOpacity(alpha / 255.0);
        painter.drawImage(QPoint(xDest, yDest), block);
    });
}

int CDC::GetDeviceCaps(int nIndex) const
{
    const QPaintDevice* device = GetDevice();
    if (!device)
        return 0;
    switch (nIndex) {
    case HORZRES: return device->width();
    case VERTRES: return device->height();
    case BITSPIXEL: return device->depth();
    case LOGPIXELSX: return device->logicalDpiX();
    case LOGPIXELSY: return device->logicalDpiY();
    default: return 0;
    }
}

CPaintDC::CPaintDC(CWnd* pWnd)
{
    if (pWnd) {
        AttachImage(pWnd->GetBackingImage());
        pWnd->GetClientRect(&m_rcPaint);
    }
}

CClientDC::CClientDC(CWnd* pWnd) : m_pWnd(pWnd)
{
    if (pWnd)
        AttachImage(pWnd->GetBackingImage());
}

CClientDC::~CClientDC()
{
    if (m_pWnd)
        m_pWnd->ShowBackingImage();
}
