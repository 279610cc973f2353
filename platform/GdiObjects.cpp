#include "GdiObjects.h"

#include "Resources.h"

#include <algorithm>
#include <cmath>

bool CPen::CreatePen(int nStyle, int nWidth, COLORREF crColor)
{
    m_log = {nStyle, nWidth, crColor};
    m_bCreated = true;
    return true;
}

bool CBrush::CreateSolidBrush(COLORREF crColor)
{
    m_log = {BS_SOLID, crColor};
    m_bCreated = true;
    return true;
}

bool CBrush::CreateNullBrush()
{
    m_log = {BS_NULL, 0};
    m_bCreated = true;
    return true;
}

bool CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    m_rect = CRect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    m_bCreated = true;
    return true;
}

bool CRgn::CreateRectRgnIndirect(LPCRECT pRect)
{
    return pRect && CreateRectRgn(pRect->left, pRect->top, pRect->right, pRect->bottom);
}

bool CFont::CreateFontIndirect(const LOGFONT& logFont)
{
    m_log = logFont;
    m_bCreated = true;
    return true;
}

bool CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, bool bItalic,
                       bool bUnderline, bool bStrikeOut, const std::wstring& faceName)
{
    LOGFONT lf;
    lf.lfHeight = nHeight;
    lf.lfWidth = nWidth;
    lf.lfEscapement = nEscapement;
    lf.lfOrientation = nOrientation;
    lf.lfWeight = nWeight;
    lf.lfItalic = bItalic;
    lf.lfUnderline = bUnderline;
    lf.lfStrikeOut = bStrikeOut;
    lf.lfFaceName = faceName;
    return CreateFontIndirect(lf);
}

bool CFont::CreatePointFont(int nPointSize, const std::wstring& faceName)
{
    LOGFONT lf;
    lf.lfHeight = -int(std::lround(nPointSize * 96.0 / 72.0));
    lf.lfFaceName = faceName;
    return CreateFontIndirect(lf);
}

bool CBitmap::CreateBitmap(int nWidth, int nHeight)
{
    if (nWidth <= 0 || nHeight <= 0)
        return false;
    m_image = QImage(nWidth, nHeight, QImage::Format_RGB32);
    if (m_image.isNull())
        return false;
    m_image.fill(Qt::black);
    m_bCreated = true;
    return true;
}

bool CBitmap::LoadBitmap(UINT nIDResource)
{
    const CBitmapResource* resource = AfxFindBitmap(nIDResource);
    if (!resource)
        return false;
    QImage image(QString::fromUtf8(resource->path));
    if (image.isNull())
        return false;
    m_image = image.convertToFormat(QImage::Format_RGB32);
    m_bCreated = true;
    return true;
}

void CBitmap::DeleteObject()
{
    m_image = QImage();
    CGdiObject::DeleteObject();
}

int CBitmap::GetBitmap(BITMAP* pBitmap) const
{
    if (!pBitmap || !m_bCreated)
        return 0;
    pBitmap->bmWidth = m_image.width();
    pBitmap->bmHeight = m_image.height();
    pBitmap->bmBitsPixel = 32;
    return int(sizeof(BITMAP));
}

namespace {
// The system's stock objects: created on first use and kept for the run.
CFont* StockFont(int height)
{
    static CFont s_fonts[2];
    CFont& font = s_fonts[height == -11 ? 0 : 1];
    if (!font.IsCreated())
        font.CreateFont(height, 0, 0, 0, FW_NORMAL, false, false, false, L"MS Sans Serif");
    return &font;
}
} // namespace

CGdiObject* GetStockObject(int nIndex)
{
    static CBrush s_white(RGB(255, 255, 255)), s_ltGray(RGB(192, 192, 192)), s_gray(RGB(128, 128, 128)),
        s_dkGray(RGB(64, 64, 64)), s_black(RGB(0, 0, 0));
    static CBrush s_null;
    if (!s_null.IsCreated())
        s_null.CreateNullBrush();
    static CPen s_whitePen(PS_SOLID, 1, RGB(255, 255, 255)), s_blackPen(PS_SOLID, 1, RGB(0, 0, 0)),
        s_nullPen(PS_NULL, 1, 0);
    switch (nIndex) {
    case WHITE_BRUSH: return &s_white;
    case LTGRAY_BRUSH: return &s_ltGray;
    case GRAY_BRUSH: return &s_gray;
    case DKGRAY_BRUSH: return &s_dkGray;
    case BLACK_BRUSH: return &s_black;
    case NULL_BRUSH: return &s_null;
    case WHITE_PEN: return &s_whitePen;
    case BLACK_PEN: return &s_blackPen;
    case NULL_PEN: return &s_nullPen;
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT: return StockFont(-11);
    case SYSTEM_FONT: return StockFont(-13);
    default: return nullptr;
    }
}
