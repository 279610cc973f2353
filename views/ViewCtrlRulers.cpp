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

void LayOutRulers(CRuler& horizontal, CRuler& vertical, const CRect& client, int thickness, int verticalInset,
                  int verticalAlignment, const std::wstring& verticalTitle)
{
    CRulerSettings h = horizontal.GetSettings();
    h.m_nX = 0;
    h.m_nY = 0;
    h.m_nLength = client.Width();
    h.m_nThickness = thickness;
    h.m_nLeftInset = thickness;
    h.m_nRightInset = 0;
    h.m_nLabelFlags = CRulerSettings::LABELS_PUSH_INWARD;
    h.m_crBackground = RGB(255, 255, 255);
    h.m_nScaleKind = CRulerSettings::SCALE_METRES;
    h.m_nAlignment = CRulerSettings::ALIGN_0;
    horizontal.SetSettings(h);

    CRulerSettings v = vertical.GetSettings();
    v.m_nThickness = thickness;
    v.m_nLength = client.Height();
    v.m_nX = 0;
    v.m_nY = 0;
    v.m_nLabelFlags = CRulerSettings::LABELS_PUSH_INWARD;
    v.m_crBackground = RGB(255, 255, 255);
    v.m_nScaleKind = CRulerSettings::SCALE_METRES;
    v.m_nLeftInset = verticalInset;
    v.m_nSide = CRulerSettings::SIDE_LEFT;
    v.m_nAlignment = verticalAlignment;
    v.m_strFontFace = h.m_strFontFace;
    v.m_nFontHeight = h.m_nFontHeight;
    v.m_strTitle = verticalTitle;
    vertical.SetSettings(v);
}

void PlaceRuler(CRuler& ruler, int x, int y, int length, int thickness)
{
    CRulerSettings settings = ruler.GetSettings();
    settings.m_nX = x;
    settings.m_nY = y;
    settings.m_nLength = length;
    settings.m_nThickness = thickness;
    ruler.SetSettings(settings);
}
