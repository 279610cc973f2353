#include "PrintProjectHeader.h"

#include "DC.h"
#include "TruncToInt.h"

#include "Project.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {
std::wstring Format(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

int Scale(int offset, int dpi)
{
    return int(int64_t(offset) * dpi / CPrintProjectHeader::REFERENCE_DPI);
}
} // namespace

std::vector<CPrintProjectHeader::CText> CPrintProjectHeader::GetTexts() const
{
    if (!m_pProject)
        return {};
    const CProjectSettings& s = m_pProject->m_settings;
    const float sizeX = float((s.m_iSizeX - 1) * s.m_dResolution);
    const float sizeY = float((s.m_iSizeY - 1) * s.m_dResolution);
    const double totalDepth = s.SampleToDepth(float(s.m_iSamples - 1));
    const float depth = float(s.SampleToDepth(m_pProject->m_fCursorDepth));
    const int rows[] = {40, 150, 260, 370, 480};
    return {
        {10, rows[0], L"Project:"},
        {10, rows[1], L"Size:"},
        {10, rows[2], L"Tot.Depth:"},
        {10, rows[3], L"Velocity:"},
        {10, rows[4], L"Depth:"},
        {550, rows[0], m_pProject->m_strName},
        {550, rows[1], Format("%.2fx%.2f[m]", double(sizeX), double(sizeY))},
        {550, rows[2], Format("%.3f [m]", totalDepth)},
        {550, rows[3], Format("%d[m/us]", TruncToInt(s.m_dVelocity))},
        {550, rows[4], Format("%.3f [m]", double(depth))},
        {1300, rows[1], L"Data size:"},
        {1300, rows[2], L"Samples:"},
        {1300, rows[3], L"Point int:"},
        {1300, rows[4], L"Zero level:"},
        {1900, rows[1], Format("%dx%d", s.m_iSizeX, s.m_iSizeY)},
        {1900, rows[2], Format("%d", s.m_iSamples)},
        {1900, rows[3], Format("%.3f[m]", s.m_dResolution)},
        {1900, rows[4], Format("%d", s.m_iZeroLevel)},
    };
}

void CPrintProjectHeader::Draw(CDC* pDC) const
{
    if (!pDC)
        return;
    const int dpiX = pDC->GetDeviceCaps(LOGPIXELSX);
    const int dpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    for (const CText& text : GetTexts())
        pDC->TextOut(m_rect.left + Scale(text.x, dpiX), m_rect.top + Scale(text.y, dpiY), text.text);
}
