#include "PrintProjectHeader.h"

#include "DC.h"
#include "TruncToInt.h"

#include "Project.h"
#include "Values.h"

#include <cstdint>
#include <string>

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
        {550, rows[1], FromAnsi(FormatReal(sizeX, 2) + "x" + FormatReal(sizeY, 2) + "[m]")},
        {550, rows[2], FromAnsi(FormatReal(totalDepth, 3) + " [m]")},
        {550, rows[3], FromAnsi(FormatInt(TruncToInt(s.m_dVelocity)) + "[m/us]")},
        {550, rows[4], FromAnsi(FormatReal(depth, 3) + " [m]")},
        {1300, rows[1], L"Data size:"},
        {1300, rows[2], L"Samples:"},
        {1300, rows[3], L"Point int:"},
        {1300, rows[4], L"Zero level:"},
        {1900, rows[1], FromAnsi(FormatInt(s.m_iSizeX) + "x" + FormatInt(s.m_iSizeY))},
        {1900, rows[2], FromAnsi(FormatInt(s.m_iSamples))},
        {1900, rows[3], FromAnsi(FormatReal(s.m_dResolution, 3) + "[m]")},
        {1900, rows[4], FromAnsi(FormatInt(s.m_iZeroLevel))},
    };
}

void CPrintProjectHeader::Draw(CDC* pDC) const
{
    if (!pDC)
        return;
    const int dpiX = pDC->GetDeviceCaps(LOGPIXELSX);
    const int dpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    for (const CText& text : GetTexts())
        pDC->TextOut(m_rect.left + ToDevice(text.x, dpiX), m_rect.top + ToDevice(text.y, dpiY), text.text);
}

int CPrintProjectHeader::ToDevice(int length, int dpi)
{
    return int(int64_t(length) * dpi / REFERENCE_DPI);
}
