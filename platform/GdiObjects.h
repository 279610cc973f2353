#pragma once
// Pens, brushes, fonts and bitmaps as the device context selects them. They are plain values
// (a pen is style, width and colour); a device context copies what it draws with, so that an
// object deleted while selected cannot leave it with a dangling reference. A bitmap owns its
// pixels (a 32-bit image). A region is a rectangle: all that a clip takes here. The stock
// objects are shared instances that live for the run.

#include "Types.h"

#include <QImage>
#include <memory>
#include <string>

enum : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_NULL = 5 };
enum : int { BS_SOLID = 0, BS_NULL = 1 };
enum : int { FW_NORMAL = 400, FW_BOLD = 700 };

struct LOGPEN
{
    int lopnStyle = PS_SOLID;
    int lopnWidth = 1;  // pixels; 0 and 1 are the one-pixel pen
    COLORREF lopnColor = 0;
};

struct LOGBRUSH
{
    int lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
};

// A positive height is the cell height in pixels, a negative one the character height, 0 a
// default; escapement in tenths of a degree, counter-clockwise.
struct LOGFONT
{
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    bool lfItalic = false;
    bool lfUnderline = false;
    bool lfStrikeOut = false;
    std::wstring lfFaceName;
};

class CGdiObject
{
public:
    enum TKind { KIND_PEN, KIND_BRUSH, KIND_FONT, KIND_BITMAP, KIND_REGION };

    explicit CGdiObject(TKind kind) : m_kind(kind) {}
    virtual ~CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    TKind GetKind() const { return m_kind; }
    bool IsCreated() const { return m_bCreated; }
    virtual void DeleteObject() { m_bCreated = false; }

protected:
    bool m_bCreated = false;

private:
    TKind m_kind;
};

class CPen : public CGdiObject
{
public:
    CPen() : CGdiObject(KIND_PEN) {}
    CPen(int nStyle, int nWidth, COLORREF crColor) : CPen() { CreatePen(nStyle, nWidth, crColor); }
    bool CreatePen(int nStyle, int nWidth, COLORREF crColor);
    const LOGPEN& GetLogPen() const { return m_log; }

private:
    LOGPEN m_log;
};

class CBrush : public CGdiObject
{
public:
    CBrush() : CGdiObject(KIND_BRUSH) {}
    explicit CBrush(COLORREF crColor) : CBrush() { CreateSolidBrush(crColor); }
    bool CreateSolidBrush(COLORREF crColor);
    bool CreateNullBrush();
    const LOGBRUSH& GetLogBrush() const { return m_log; }

private:
    LOGBRUSH m_log;
};

class CFont : public CGdiObject
{
public:
    CFont() : CGdiObject(KIND_FONT) {}
    bool CreateFontIndirect(const LOGFONT& logFont);
    bool CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, bool bItalic,
                    bool bUnderline, bool bStrikeOut, const std::wstring& faceName);
    // Height in points at 96 pixels per inch, as a dialog template gives it.
    bool CreatePointFont(int nPointSize, const std::wstring& faceName);
    const LOGFONT& GetLogFont() const { return m_log; }

private:
    LOGFONT m_log;
};

struct BITMAP
{
    int bmWidth = 0;
    int bmHeight = 0;
    int bmBitsPixel = 32;
};

class CBitmap : public CGdiObject
{
public:
    CBitmap() : CGdiObject(KIND_BITMAP) {}
    bool CreateBitmap(int nWidth, int nHeight);
    // The bitmap resource's image (res/); false when there is none.
    bool LoadBitmap(UINT nIDResource);
    void DeleteObject() override;
    int GetBitmap(BITMAP* pBitmap) const;
    CSize GetSize() const { return {m_image.width(), m_image.height()}; }
    QImage& GetImage() { return m_image; }
    const QImage& GetImage() const { return m_image; }

private:
    QImage m_image; // Format_RGB32
};

class CRgn : public CGdiObject
{
public:
    CRgn() : CGdiObject(KIND_REGION) {}
    bool CreateRectRgn(int x1, int y1, int x2, int y2);
    bool CreateRectRgnIndirect(LPCRECT pRect);
    const CRect& GetRect() const { return m_rect; }

private:
    CRect m_rect;
};

// Stock objects.
enum : int {
    WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4, NULL_BRUSH = 5,
    HOLLOW_BRUSH = NULL_BRUSH, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8, ANSI_VAR_FONT = 12,
    SYSTEM_FONT = 13, DEFAULT_GUI_FONT = 17,
};
CGdiObject* GetStockObject(int nIndex);
