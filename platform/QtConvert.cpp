#include "QtConvert.h"

#include "MessageLog.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <cmath>

QString MapFaceName(const std::wstring& faceName)
{
    if (faceName.empty() || faceName == L"MS Shell Dlg" || faceName == L"MS Shell Dlg 2" ||
        faceName == L"MS Sans Serif" || faceName == L"Arial")
        return QStringLiteral("Liberation Sans");
    if (faceName == L"Times New Roman")
        return QStringLiteral("Liberation Serif");
    if (faceName == L"Courier New")
        return QStringLiteral("Liberation Mono");
    return ToQString(faceName);
}

namespace {
// A LOGFONT resolved for Qt: the pixel size to draw with and the cell to report.
struct CResolvedFont
{
    int nPixelSize = 13;
    CFontCell cell;
};

QFont FontWithoutSize(const LOGFONT& logFont)
{
    QFont font(MapFaceName(logFont.lfFaceName));
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    // GDI and Qt 6 share the weight scale; 0 is the default weight.
    font.setWeight(logFont.lfWeight <= 0 ? QFont::Normal : QFont::Weight(std::min(logFont.lfWeight, 900)));
    font.setItalic(logFont.lfItalic);
    font.setUnderline(logFont.lfUnderline);
    font.setStrikeOut(logFont.lfStrikeOut);
    return font;
}

int LimitedHeight(int height)
{
    if (height >= -kMaxFontHeight && height <= kMaxFontHeight)
        return height;
    g_messageLog.Log(LOG_PROGRAM, "Font height %d limited to %d pixels", height, kMaxFontHeight);
    return height < 0 ? -kMaxFontHeight : kMaxFontHeight;
}

CResolvedFont Resolve(const LOGFONT& logFont)
{
    static QHash<QString, CResolvedFont> s_fonts;
    QFont font = FontWithoutSize(logFont);
    const int height = LimitedHeight(logFont.lfHeight);
    const QString key = font.key() + QLatin1Char('/') + QString::number(height);
    auto it = s_fonts.find(key);
    if (it != s_fonts.end())
        return *it;
    CResolvedFont resolved;
    if (height <= 0) {
        resolved.nPixelSize = height < 0 ? -height : 13;
        font.setPixelSize(resolved.nPixelSize);
        const QFontMetrics metrics(font);
        resolved.cell = {metrics.ascent(), metrics.descent()};
        return *s_fonts.insert(key, resolved);
    }
    // The cell of the design per pixel of em size, and the ascent's share of it.
    font.setPixelSize(1000);
    const QFontMetricsF design(font);
    const double cellPerEm = design.height() > 0 ? design.height() / 1000.0 : 1.0;
    const double ascentShare = design.height() > 0 ? design.ascent() / design.height() : 0.8;
    // The largest glyphs that fit in the cell, their ascent and descent rounded up.
    int pixelSize = std::max(1, int(height / cellPerEm) + 1);
    int glyphAscent = 0, glyphDescent = 0;
    for (;; --pixelSize) {
        font.setPixelSize(pixelSize);
        const QFontMetricsF metrics(font);
        glyphAscent = int(std::ceil(metrics.ascent()));
        glyphDescent = int(std::ceil(metrics.descent()));
        if (pixelSize == 1 || glyphAscent + glyphDescent <= height)
            break;
    }
    resolved.nPixelSize = pixelSize;
    // The baseline where the design puts it, moved as far as the glyphs need.
    const int lowest = std::min(glyphAscent, height), highest = std::max(lowest, height - glyphDescent);
    resolved.cell.nAscent = std::clamp(int(std::lround(height * ascentShare)), lowest, highest);
    resolved.cell.nDescent = height - resolved.cell.nAscent;
    return *s_fonts.insert(key, resolved);
}
} // namespace

QFont MakeQFont(const LOGFONT& logFont)
{
    QFont font = FontWithoutSize(logFont);
    font.setPixelSize(Resolve(logFont).nPixelSize);
    return font;
}

CFontCell FontCellOf(const LOGFONT& logFont)
{
    return Resolve(logFont).cell;
}

namespace {
struct CKeyPair
{
    int qt;
    UINT vk;
};
const CKeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Shift, VK_SHIFT},   {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},       {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},     {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
};
} // namespace

UINT VirtualKeyFromQt(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return UINT(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return VK_F1 + UINT(qtKey - Qt::Key_F1);
    for (const CKeyPair& pair : kKeys)
        if (pair.qt == qtKey)
            return pair.vk;
    return 0;
}

int QtKeyFromVirtualKey(UINT vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return int(vk);
    if (vk >= VK_F1 && vk <= VK_F12)
        return Qt::Key_F1 + int(vk - VK_F1);
    for (const CKeyPair& pair : kKeys)
        if (pair.vk == vk)
            return pair.qt;
    return 0;
}
