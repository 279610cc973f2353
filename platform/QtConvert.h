#pragma once
// The layer's boundary to Qt: colours (0x00BBGGRR against Qt's 0xAARRGGBB), text, rectangles,
// fonts (the GDI face names and height rule on the Liberation fonts) and key codes.

#include "GdiObjects.h"
#include "Types.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

inline QRgb ToQRgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline COLORREF FromQRgb(QRgb rgb)
{
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

inline QString ToQString(const std::wstring& text)
{
    return QString::fromStdWString(text);
}
inline std::wstring FromQString(const QString& text)
{
    return text.toStdWString();
}

inline QRect ToQRect(const CRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}
inline CRect FromQRect(const QRect& r)
{
    return CRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}

// "MS Shell Dlg", "MS Sans Serif" and "Arial" are Liberation Sans, "Times New Roman"
// Liberation Serif, "Courier New" Liberation Mono; other names pass unchanged.
QString MapFaceName(const std::wstring& faceName);

// The cell of a font as GDI reports it: ascent plus descent is the cell height.
struct CFontCell
{
    int nAscent = 0;  // pixels above the baseline
    int nDescent = 0; // pixels below it
    int Height() const { return nAscent + nDescent; }
};

// The font that draws a LOGFONT. A positive lfHeight is the cell height: the cell is exactly
// that high and the glyphs are the largest whose lines fit in it. A negative lfHeight is the
// character (em) height, 0 a default of 13 pixels. Heights are limited to kMaxFontHeight.
QFont MakeQFont(const LOGFONT& logFont);
CFontCell FontCellOf(const LOGFONT& logFont);
constexpr int kMaxFontHeight = 4096;

// The virtual key of a Qt key, 0 for keys the program does not know.
UINT VirtualKeyFromQt(int qtKey);
// The Qt key of a virtual key.
int QtKeyFromVirtualKey(UINT vk);
