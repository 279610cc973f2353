#include "QtConvert.h"

#include <QFontMetricsF>
#include <QHash>
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
// Cell height of a family per pixel of em size, measured once per family.
double CellHeightPerEm(const QString& family)
{
    static QHash<QString, double> s_ratios;
    auto it = s_ratios.find(family);
    if (it != s_ratios.end())
        return *it;
    QFont probe(family);
    probe.setPixelSize(1000);
    const double ratio = QFontMetricsF(probe).height() / 1000.0;
    return *s_ratios.insert(family, ratio > 0 ? ratio : 1.0);
}
} // namespace

QFont MakeQFont(const LOGFONT& logFont)
{
    QFont font(MapFaceName(logFont.lfFaceName));
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    int pixelSize = 13; // a default height
    if (logFont.lfHeight < 0)
        pixelSize = -logFont.lfHeight;
    else if (logFont.lfHeight > 0)
        pixelSize = std::max(1, int(std::lround(logFont.lfHeight / CellHeightPerEm(font.family()))));
    font.setPixelSize(pixelSize);
    font.setWeight(logFont.lfWeight >= FW_BOLD ? QFont::Bold : QFont::Normal);
    font.setItalic(logFont.lfItalic);
    font.setUnderline(logFont.lfUnderline);
    font.setStrikeOut(logFont.lfStrikeOut);
    return font;
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
