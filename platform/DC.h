#pragma once
// The device context: GDI drawing over a QPainter. It draws into a 32-bit image (a window's
// backing image, a bitmap selected into a memory context) or through an active painter on
// another device (a printer). It keeps the GDI state (pen, brush, font, text and background
// colours, background mode, text alignment, current position, viewport origin) and follows the
// GDI edge rules: Rectangle and Ellipse leave out the right and bottom edge, LineTo and each
// segment of Polyline leave out their end point, FillRect fills [left, right) x [top, bottom).
// Coordinates are logical: the viewport origin is added to reach the device; a clip rectangle
// is fixed on the device where it was set, and a clip region is given in device coordinates. Each drawing call paints and finishes at once,
// so that pixels may be read and written between calls; within a CDC::CPass the calls on an
// image share one QPainter instead of beginning one each. A memory context with a DIB section
// selected (DibSection.h) draws into the section's bottom-up rows the right way up.

#include "GdiObjects.h"
#include "Types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFont;
class QFontMetrics;
class QImage;
class QPaintDevice;
class QTransform;
class QPainter;
class QRect;
class CWnd;
class CDibSection;
struct CPixelRows;

// GDI constants of the device context.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
enum : int { ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2 };
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : UINT {
    TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24,
    TA_HORZMASK = 6, TA_VERTMASK = 24,
};
enum : UINT {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_NOCLIP = 0x100, DT_CALCRECT = 0x400,
};
enum : int { HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, LOGPIXELSX = 88, LOGPIXELSY = 90 };
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD BI_RGB = 0;
constexpr BYTE AC_SRC_OVER = 0;

struct BITMAPINFOHEADER
{
    DWORD biSize = 40;
    LONG biWidth = 0;
    LONG biHeight = 0; // positive: rows stored bottom-up
    WORD biPlanes = 1;
    WORD biBitCount = 24;
    DWORD biCompression = BI_RGB;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};

struct RGBQUAD
{
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;
};

struct BITMAPINFO
{
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct BLENDFUNCTION
{
    BYTE BlendOp = AC_SRC_OVER;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = 0;
};

struct TEXTMETRIC
{
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// Bytes per row of a DIB: width x bits per pixel, rounded up to whole 32-bit words.
inline int DibStride(int width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

class CDC
{
public:
    // A drawing pass: while one is open, the drawing calls on an image share one QPainter, begun
    // at the first call, instead of beginning one each. Every call still starts from the
    // context's own state and finishes its pixels, so that they may be read and written between
    // calls. Passes nest; the painter ends with the outermost one, or when the context's image
    // changes.
    class CPass
    {
    public:
        explicit CPass(CDC& dc);
        ~CPass();
        CPass(const CPass&) = delete;
        CPass& operator=(const CPass&) = delete;

    private:
        CDC& m_dc;
    };

    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Draws into the image, which the caller keeps alive while attached.
    bool AttachImage(QImage* pImage);
    // Draws through a painter that is active on its device; not owned. A painter on a printer
    // (or any paged device) makes a printing context.
    bool AttachPainter(QPainter* pPainter);
    // A memory context: it draws into the bitmap selected into it.
    bool CreateCompatibleDC(CDC* pDC);
    void DeleteDC();
    bool IsAttached() const { return m_pImage || m_pPainter || m_bMemory; }
    // The image drawn into, null for a painter or a memory context without a bitmap; for a
    // DIB section its memory, so the picture upside down.
    QImage* GetImage() const;

    // Set for a context on a printer: print forms draw only on such contexts, screen forms
    // only on the others.
    bool m_bPrinting = false;
    bool IsPrinting() const { return m_bPrinting; }

    // The device point of logical (0, 0); returns the previous origin.
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(const CPoint& p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const { return m_ptViewportOrg; }

    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectStockObject(int nIndex);
    CPen* GetCurrentPen() const { return m_pPenObject; }
    CBrush* GetCurrentBrush() const { return m_pBrushObject; }
    CFont* GetCurrentFont() const { return m_pFontObject; }

    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const { return m_crText; }
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const { return m_crBk; }
    int SetBkMode(int nBkMode);
    int GetBkMode() const { return m_nBkMode; }
    UINT SetTextAlign(UINT nFlags);
    UINT GetTextAlign() const { return m_nTextAlign; }

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(const CPoint& p) { return MoveTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return m_ptCurrent; }
    bool LineTo(int x, int y);
    bool LineTo(const CPoint& p) { return LineTo(p.x, p.y); }
    // Segments from each point to the next, as a chain of LineTo whose last point is left out;
    // the current position is neither used nor changed. False for fewer than two points.
    bool Polyline(const CPoint* pPoints, int nCount);
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(LPCRECT pRect) { return Rectangle(pRect->left, pRect->top, pRect->right, pRect->bottom); }
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(LPCRECT pRect) { return Ellipse(pRect->left, pRect->top, pRect->right, pRect->bottom); }
    void FillRect(LPCRECT pRect, CBrush* pBrush);
    void FillSolidRect(LPCRECT pRect, COLORREF crColor);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor);
    // A one-pixel border just inside [left, right) x [top, bottom), in the brush's colour.
    void FrameRect(LPCRECT pRect, CBrush* pBrush);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    // CLR_INVALID outside the image or without one.
    COLORREF GetPixel(int x, int y) const;
    static constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

    // The alignment places the text's box at the reference point (x, y); a font's escapement
    // then turns the text about that point (1800: upside down, running right to left).
    bool TextOut(int x, int y, const std::wstring& text);
    // The height of the text; with DT_CALCRECT the rectangle is widened or heightened to the
    // text and nothing is drawn. A font's escapement turns the laid-out text about the centre
    // of the rectangle, so upside-down text stays in it.
    int DrawText(const std::wstring& text, LPRECT pRect, UINT nFormat);
    CSize GetTextExtent(const std::wstring& text) const;
    bool GetTextMetrics(TEXTMETRIC* pMetrics) const;

    // Drawing stays inside the rectangle (and any earlier clip) until SelectClipRgn(nullptr).
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    // The region (copied) becomes the clip, nullptr removes it; ERROR for a region never made.
    int SelectClipRgn(CRgn* pRgn);
    // The logical rectangle that drawing can reach: the device's surface within the clip.
    int GetClipBox(LPRECT pRect) const;
    // Keeps the selected pen, brush and font, the colours, modes, text alignment, current
    // position, viewport origin and clip; returns the number that RestoreDC takes (1 for the
    // first kept state), 0 on failure.
    int SaveDC();
    // Back to a kept state, which is dropped with those kept after it; -1 is the last one kept.
    bool RestoreDC(int nSavedDC);

    // The block in the current brush (PATCOPY; a null brush paints nothing), black
    // (BLACKNESS) or white (WHITENESS), or its pixels inverted (DSTINVERT, not on a printer).
    // A negative width or height extends the block left or up from (x, y).
    bool PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    // SRCCOPY, SRCAND and SRCPAINT from an image-backed context (a printer takes only
    // SRCCOPY), and the block operations of PatBlt.
    bool BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    // A 24- or 32-bit BI_RGB DIB. For a bottom-up DIB (positive height) ySrc counts from its
    // bottom row; scan lines startScan .. startScan + cLines - 1 must be the whole DIB.
    int SetDIBitsToDevice(int xDest, int yDest, DWORD dwWidth, DWORD dwHeight, int xSrc, int ySrc,
                          UINT uStartScan, UINT cScanLines, const void* pBits, const BITMAPINFO* pInfo,
                          UINT uColorUse);
    // Constant alpha: each byte becomes dst + ((src - dst) * alpha + 127) / 255.
    bool AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend);

    int GetDeviceCaps(int nIndex) const;

private:
    // Runs draw(QPainter&) on the context's device; a template, so that no call allocates.
    template <class TDraw>
    bool Paint(const TDraw& draw);
    // The painter of a pass on the image, begun or brought back to a begun painter's state;
    // null when it cannot paint.
    QPainter* PassPainter(QImage& image);
    // The flip of a section, the clip and the viewport origin on a painter of the image.
    void PrepareImagePainter(QPainter& painter, const QImage& image) const;
    QTransform BaseTransform(const QImage& image) const;
    // The pass's painter, ended before its image may go.
    void EndPassPainter();
    // Before a one-pixel outline or the fill of a curved shape: see Paint.
    void ShiftForOutline(QPainter& painter) const;
    void SetPenColorOnly(QPainter& painter, COLORREF color) const;
    // The segments of a chain in the current pen, each without its end point.
    void DrawChain(QPainter& painter, const CPoint* pPoints, int nCount) const;
    void DrawChainCosmetic(QPainter& painter, const CPoint* pPoints, int nCount) const;
    bool InvertBlock(const CRect& rect);
    CPoint ToDevice(int x, int y) const { return {x + m_ptViewportOrg.x, y + m_ptViewportOrg.y}; }
    // The device of the context: the image, the painter's device, or null.
    QPaintDevice* GetDevice() const;
    // Widths as the device measures them.
    QFontMetrics MetricsOf(const QFont& font) const;
    CDibSection* GetDibSection() const;
    // Null rows for a printer or an image that is not 32-bit.
    CPixelRows GetPixelRows(bool bForWriting) const;
    // The block of the picture the right way up; pixels outside the picture are black.
    QImage CopyUpright(const QRect& block) const;

    struct CSavedState
    {
        LOGPEN pen;
        LOGBRUSH brush;
        LOGFONT font;
        CPen* pPenObject;
        CBrush* pBrushObject;
        CFont* pFontObject;
        COLORREF crText;
        COLORREF crBk;
        int nBkMode;
        UINT nTextAlign;
        CPoint ptCurrent;
        CPoint ptViewportOrg;
        bool bClip;
        CRect rcClip;
    };

    QImage* m_pImage = nullptr;
    QPainter* m_pPainter = nullptr;
    bool m_bMemory = false;
    CBitmap* m_pBitmap = nullptr;
    CBitmap m_defaultBitmap; // what a memory context holds before a bitmap is selected

    LOGPEN m_pen;
    LOGBRUSH m_brush;
    LOGFONT m_font;
    CPen* m_pPenObject;
    CBrush* m_pBrushObject;
    CFont* m_pFontObject;
    COLORREF m_crText = 0;
    COLORREF m_crBk = RGB(255, 255, 255);
    int m_nBkMode = OPAQUE;
    UINT m_nTextAlign = TA_LEFT | TA_TOP;
    CPoint m_ptCurrent;
    CPoint m_ptViewportOrg;
    bool m_bClip = false;
    CRect m_rcClip; // device coordinates
    std::vector<CSavedState> m_saved;
    int m_nPasses = 0;
    std::unique_ptr<QPainter> m_pPassPainter; // active only within a pass
};

// The context of a paint: the window's backing image, which the paint then shows.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    CRect m_rcPaint;
};

// Drawing on a window outside a paint: into its backing image, shown at the next update.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    CWnd* m_pWnd;
};
