#include "ViewCtrlRulers.h"

#include "Ruler.h"

#include "DC.h"
#include "Wnd.h"

#include "Project.h"
#include "Units.h"

#include <algorithm>
#include <cmath>

int PrepareRulerFont(CRuler& ruler, CWnd& owner, int nFontHeight, const std::wstring& title)
{
    CRulerSettings settings = ruler.GetSettings();
    settings.m_nLeftInset = 0;
    settings.m_nRightInset = 0;
    settings.m_strFontFace = L"Times New Roman";
    settings.m_nFontHeight = nFontHeight;
    settings.m_nSide = CRulerSettings::SIDE_TOP;
    settings.m_strTitle = title;
    ruler.SetSettings(settings);

    CFont font;
    if (const CFont* pLabelFont = ruler.GetLabelFont())
        font.CreateFontIndirect(pLabelFont->GetLogFont());
    CClientDC dc(&owner);
    if (font.IsCreated())
        dc.SelectObject(&font);
    else
        dc.SelectStockObject(ANSI_VAR_FONT);
    TEXTMETRIC metrics;
    const int textHeight = dc.GetTextMetrics(&metrics) ? metrics.tmHeight : 0;
    const int64_t thickness = int64_t(settings.m_nMajorTickLength) + textHeight;
    return int(std::clamp<int64_t>(thickness, 0, INT32_MAX));
}

std::wstring RulerTitle(const std::wstring& format, const CProject* pProject)
{
    const std::wstring unit = pProject ? L"[" + GetUnitLabel(pProject->m_settings.m_units, false) + L"]" : L"";
    std::wstring title = format;
    const size_t at = title.find(L"%s");
    if (at != std::wstring::npos)
        title.replace(at, 2, unit);
    return title;
}

int RulerScaleKind(const CProject& project)
{
    return project.m_settings.m_units == UNITS_SI ? CRulerSettings::SCALE_METRES : CRulerSettings::SCALE_FEET;
}

float RulerPositionRange(int positions, const CProject& project)
{
    const CProjectSettings& s = project.m_settings;
    const double length = double(std::max(positions - 1, 0)) * s.m_dResolution * GetUnitFactor(s.m_units);
    return std::isfinite(length) ? float(std::clamp(length, -1e30, 1e30)) : 0.0f;
}
