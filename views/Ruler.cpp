#include "Ruler.h"

#include "TruncToInt.h"

#include "Values.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr double kFeetPerMetre = 3.2808399;

// A number of decimals, limited to 0 .. most.
int ClampDecimals(double value, int most)
{
    if (std::isnan(value))
        return most;
    return int(std::clamp(value, 0.0, double(std::max(most, 0))));
}

struct COrientation
{
    int side, alignment, angle, escapement;
    bool flip;
    UINT textAlign;
};
// The first row whose side and alignment bits are both set wins.
const COrientation kOrientations[] = {
    {CRulerSettings::SIDE_TOP, CRulerSettings::ALIGN_0, 0, 0, false, TA_BOTTOM | TA_CENTER},
    {CRulerSettings::SIDE_TOP, CRulerSettings::ALIGN_180, 180, 1800, true, TA_BOTTOM | TA_CENTER},
    {CRulerSettings::SIDE_RIGHT, CRulerSettings::ALIGN_90, 90, 1800, true, TA_BOTTOM | TA_CENTER},
    {CRulerSettings::SIDE_RIGHT, CRulerSettings::ALIGN_270, 270, 0, false, TA_BOTTOM | TA_CENTER},
    {CRulerSettings::SIDE_BOTTOM, CRulerSettings::ALIGN_0, 0, 0, true, TA_TOP | TA_CENTER},
    {CRulerSettings::SIDE_BOTTOM, CRulerSettings::ALIGN_180, 180, 1800, false, TA_TOP | TA_CENTER},
    {CRulerSettings::SIDE_LEFT, CRulerSettings::ALIGN_90, 90, 0, false, TA_BOTTOM | TA_CENTER},
    {CRulerSettings::SIDE_LEFT, CRulerSettings::ALIGN_270, 270, 1800, true, TA_BOTTOM | TA_CENTER},
};
} // namespace

bool CRulerSettings::operator==(const CRulerSettings& o) const
{
    return m_nLeftInset == o.m_nLeftInset && m_nRightInset == o.m_nRightInset && m_nX == o.m_nX && m_nY == o.m_nY &&
           m_nLength == o.m_nLength && m_nThickness == o.m_nThickness && m_fRangeStart == o.m_fRangeStart &&
           m_fRangeEnd == o.m_fRangeEnd && m_fValueOffset == o.m_fValueOffset && m_nSide == o.m_nSide &&
           m_nAlignment == o.m_nAlignment && m_nMinorTickLength == o.m_nMinorTickLength &&
           m_nMajorTickLength == o.m_nMajorTickLength && m_strFontFace == o.m_strFontFace &&
           m_nFontHeight == o.m_nFontHeight && m_nLabelFlags == o.m_nLabelFlags && m_strTitle == o.m_strTitle &&
           m_nScaleKind == o.m_nScaleKind && m_nDecimals == o.m_nDecimals && m_bAutoDecimals == o.m_bAutoDecimals &&
           m_crForeground == o.m_crForeground && m_crBackground == o.m_crBackground;
}

CRuler::~CRuler()
{
    Release();
}

void CRuler::Init(bool bDepthMode)
{
    Release();
    m_settings = CRulerSettings();
    m_bDepthMode = bDepthMode;
    m_bBound = false;
    m_nSamples = 110;
    m_nZeroLevel = 20;
    m_dSampleInterval = 3.24072e-05;
    m_dVelocity = 97.0;
    m_dAntennaSeparation = 0.0;
    BuildOrientation();
    BuildFonts();
    BuildTickPen();
    BuildBackground();
    m_bResize = true;
    m_bDirty = true;
    m_bEnabled = true;
    m_bInitialised = true;
}

void CRuler::Release()
{
    m_labelFont.DeleteObject();
    m_titleFont.DeleteObject();
    m_backgroundBrush.DeleteObject();
    m_backgroundPen.DeleteObject();
    m_tickPen.DeleteObject();
    m_render.Release();
    m_output.Release();
    m_bInitialised = false;
}

void CRuler::SetSettings(const CRulerSettings& settings)
{
    if (settings == m_settings)
        return;
    const CRulerSettings old = m_settings;
    m_settings = settings;
    m_bResize = true;
    if (old.m_nSide != settings.m_nSide || old.m_nAlignment != settings.m_nAlignment ||
        old.m_strFontFace != settings.m_strFontFace || old.m_nFontHeight != settings.m_nFontHeight) {
        BuildOrientation();
        BuildFonts();
    }
    if (old.m_crForeground != settings.m_crForeground)
        BuildTickPen();
    if (old.m_crBackground != settings.m_crBackground)
        BuildBackground();
    m_bDirty = true;
}

void CRuler::SetBound(bool bBound)
{
    if (bBound != m_bBound)
        m_bDirty = true;
    m_bBound = bBound;
}

void CRuler::SetDepthParameters(int nSamples, int nZeroLevel, double dSampleInterval, double dVelocity,
                                double dAntennaSeparation)
{
    m_nSamples = nSamples;
    m_nZeroLevel = nZeroLevel;
    m_dSampleInterval = dSampleInterval;
    m_dVelocity = dVelocity;
    m_dAntennaSeparation = dAntennaSeparation;
    m_bDirty = true;
}

CSize CRuler::GetDisplaySize() const
{
    if (m_nAngle == 90 || m_nAngle == 270)
        return {m_settings.m_nThickness, m_settings.m_nLength};
    return {m_settings.m_nLength, m_settings.m_nThickness};
}

void CRuler::BuildOrientation()
{
    m_nAngle = 0;
    m_bFlip = false;
    m_nTextAlign = TA_BOTTOM | TA_CENTER;
    m_logFont.lfEscapement = m_logFont.lfOrientation = 0;
    for (const COrientation& o : kOrientations) {
        if ((m_settings.m_nSide & o.side) && (m_settings.m_nAlignment & o.alignment)) {
            m_nAngle = o.angle;
            m_bFlip = o.flip;
            m_nTextAlign = o.textAlign;
            m_logFont.lfEscapement = m_logFont.lfOrientation = o.escapement;
            break;
        }
    }
}

void CRuler::BuildFonts()
{
    m_logFont.lfFaceName = m_settings.m_strFontFace;
    m_logFont.lfHeight = m_settings.m_nFontHeight;
    m_logFont.lfWeight = FW_NORMAL;
    m_labelFont.CreateFontIndirect(m_logFont);
    LOGFONT title = m_logFont;
    title.lfWeight = 600;
    m_titleFont.CreateFontIndirect(title);
}

void CRuler::BuildTickPen()
{
    m_tickPen.CreatePen(PS_SOLID, 1, m_settings.m_crForeground);
}

void CRuler::BuildBackground()
{
    m_backgroundBrush.CreateSolidBrush(m_settings.m_crBackground);
    m_backgroundPen.CreatePen(PS_SOLID, 1, m_settings.m_crBackground);
}

void CRuler::ResizeSurfaces()
{
    m_bResize = false;
    m_bDirty = true;
    const CSize display = GetDisplaySize();
    if (m_settings.m_nLength <= 0 || m_settings.m_nThickness <= 0) {
        m_render.Release();
        m_output.Release();
        return;
    }
    if (m_render.GetWidth() != m_settings.m_nLength || m_render.GetHeight() != m_settings.m_nThickness ||
        !m_render.GetBits())
        m_render.Create(m_settings.m_nLength, m_settings.m_nThickness, kTextBitsPerPixel);
    if (m_output.GetWidth() != display.cx || m_output.GetHeight() != display.cy || !m_output.GetBits())
        m_output.Create(display.cx, display.cy, kTextBitsPerPixel);
}

void CRuler::Draw(CDC* pDC)
{
    if (!m_bEnabled || !m_bInitialised)
        return;
    if (m_bResize)
        ResizeSurfaces();
    if (!m_render.GetBits() || !m_output.GetBits())
        return;
    if (m_bDirty) {
        if (m_bBound)
            RenderFull();
        else
            RenderPlain();
        RotateDib(m_output.GetBits(), m_render.GetBits(), m_render.GetWidth(), m_render.GetHeight(), m_nAngle,
                  m_render.GetBytesPerPixel());
        m_bDirty = false;
    }
    if (pDC) {
        const CSize display = GetDisplaySize();
        pDC->BitBlt(m_settings.m_nX, m_settings.m_nY, display.cx, display.cy, &m_output, 0, 0, SRCCOPY);
    }
}

std::wstring CRuler::Label(double value, int decimals) const
{
    return FromAnsi(FormatReal(value, decimals));
}

int CRuler::TextWidth(const std::wstring& text)
{
    return m_render.GetTextExtent(text).cx;
}

void CRuler::DrawStrip(int x0, int x1, int yBase, CPen*& pOldPen, CBrush*& pOldBrush)
{
    CDC& dc = m_render;
    pOldPen = dc.SelectObject(&m_backgroundPen);
    pOldBrush = dc.SelectObject(&m_backgroundBrush);
    dc.Rectangle(0, 0, m_settings.m_nLength, m_settings.m_nThickness);
    dc.SelectObject(&m_tickPen);
    dc.MoveTo(x0, yBase);
    dc.LineTo(x1, yBase);
}

void CRuler::RenderPlain()
{
    CDC& dc = m_render;
    const int w = m_settings.m_nLength, h = m_settings.m_nThickness;
    const int x0 = m_settings.m_nLeftInset, x1 = w - m_settings.m_nRightInset;
    const int yBase = m_bFlip ? 0 : h - 1;
    const int yMajor = m_bFlip ? m_settings.m_nMajorTickLength : h - 1 - m_settings.m_nMajorTickLength;
    CPen* pOldPen = nullptr;
    CBrush* pOldBrush = nullptr;
    DrawStrip(x0, x1, yBase, pOldPen, pOldBrush);
    for (int x = x0; x < x1; x += 20) {
        dc.MoveTo(x, yMajor);
        dc.LineTo(x, yBase);
    }
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
}

void CRuler::RenderFull()
{
    CDC& dc = m_render;
    const CRulerSettings& s = m_settings;
    const int w = s.m_nLength, h = s.m_nThickness;
    const int x0 = s.m_nLeftInset, x1 = w - s.m_nRightInset;
    const int length = x1 - x0;
    const int yBase = m_bFlip ? 0 : h - 1;
    const int yMinor = m_bFlip ? s.m_nMinorTickLength : h - 1 - s.m_nMinorTickLength;
    const int yMajor = m_bFlip ? s.m_nMajorTickLength : h - 1 - s.m_nMajorTickLength;
    const int flags = s.m_nLabelFlags;

    CPen* pOldPen = nullptr;
    CBrush* pOldBrush = nullptr;
    DrawStrip(x0, x1, yBase, pOldPen, pOldBrush);
    const UINT oldAlign = dc.SetTextAlign(m_nTextAlign);
    const int oldBkMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(s.m_crForeground);
    CFont* pOldFont = dc.SelectObject(&m_titleFont);
    const int titleWidth = TextWidth(s.m_strTitle);
    dc.SelectObject(&m_labelFont);

    const double span = std::fabs(double(s.m_fRangeEnd) - double(s.m_fRangeStart));
    const double start = double(s.m_fRangeStart) + double(s.m_fValueOffset);
    // A scale without length, range or a finite start has no ticks to place.
    if (length > 0 && span > 0 && std::isfinite(span) && std::isfinite(start)) {
        const double unitsPerPixel = span / length;

        // The widest label's value.
        double widest;
        const double end = span + start;
        if (start >= 0) {
            widest = end;
        } else if (end <= 0) {
            widest = start;
        } else {
            const int k = std::max(TruncToInt(std::max(std::ceil(std::log10(std::fabs(start))) + 1, 0.0)),
                                   TruncToInt(std::max(std::floor(std::log10(end)), 0.0)));
            widest = 5 * std::pow(10.0, k);
        }

        // The smallest distance in units between two labels.
        int decimals = s.m_nDecimals;
        const auto spacingFor = [&](int d) {
            return std::trunc(1.5 * TextWidth(Label(widest, d + 1)) + 1.0) * unitsPerPixel;
        };
        double spacing = spacingFor(decimals);
        for (int i = 0; i < 2 && s.m_bAutoDecimals; ++i) {
            const int next = ClampDecimals(-std::floor(std::log10(spacing) - 1), s.m_nDecimals);
            if (next == decimals)
                break;
            decimals = next;
            spacing = spacingFor(decimals);
        }

        double major;
        const double e = std::log10(spacing);
        if (-e < s.m_nDecimals) {
            const double b = std::pow(10.0, std::floor(e));
            major = 2 * b > spacing ? 2 * b : 5 * b > spacing ? 5 * b : 10 * b;
        } else {
            major = std::pow(10.0, decimals);
        }
        const double majorPixels = length * major / span;
        // Whole in double precision also beyond the int range, so that large offsets keep
        // their first tick at the start of the scale.
        const double firstIndex = std::ceil(start / major);
        const double first = firstIndex * major;
        const double p0 = std::fabs(first - start) / unitsPerPixel + x0;
        // The first major tick lies within one major step of the scale's start; where the
        // start's precision is lost it does not, and the ticks would mark nothing. Steps
        // below a pixel (negative fixed decimals) mark nothing either.
        const bool bTicks = std::isfinite(p0) && majorPixels >= 1.0 && p0 - x0 <= majorPixels + 1.0;

        int minors = 1;
        double minorPixels = majorPixels;
        if (s.m_nScaleKind == 1 || s.m_nScaleKind == 2 || s.m_nScaleKind == 4) {
            const double q = majorPixels / 10;
            if (TruncToInt(q + 0.49) >= 2) {
                minors = 10;
                minorPixels = q;
            } else if (TruncToInt(2 * q + 0.49) >= 2) {
                minors = 5;
                minorPixels = 2 * q;
            } else if (TruncToInt(5 * q + 0.49) >= 2) {
                minors = 2;
                minorPixels = 5 * q;
            }
        }
        const int labelDecimals =
            s.m_bAutoDecimals ? ClampDecimals(std::ceil(-std::log10(major / minors)), s.m_nDecimals) : s.m_nDecimals;

        const auto tick = [&dc, yBase](int x, int yEnd) {
            dc.MoveTo(x, yEnd);
            dc.LineTo(x, yBase);
        };
        const int labelWidth = TextWidth(Label(widest, labelDecimals));
        const int halfLabel = int(std::ceil(labelWidth * 0.5));
        const int titleLeft = w - titleWidth;
        const int rightLimit = w - labelWidth / 2 - titleWidth;
        if (flags == CRulerSettings::LABELS_CLIP_TITLE)
            dc.IntersectClipRect(0, 0, titleLeft, h);
        // The first label is pushed inward or dropped when it would stick out on the left.
        const auto firstLabelX = [&](int x, bool& bShow) {
            if (!(flags & CRulerSettings::LABELS_CLIP_TITLE) && x < halfLabel) {
                if (flags & CRulerSettings::LABELS_PUSH_INWARD)
                    x = halfLabel;
                else
                    bShow = false;
            }
            return x;
        };

        if (!m_bDepthMode && bTicks) {
            if (minors > 1) {
                // Leftward: the first when right of x0, each further one while the one
                // before lay right of x0.
                int x = TruncToInt(p0 - minorPixels);
                if (x > x0) {
                    tick(x, yMinor);
                    for (int i = 2; x > x0; ++i) {
                        x = TruncToInt(p0 - i * minorPixels);
                        tick(x, yMinor);
                    }
                }
                int i = 0;
                do {
                    x = TruncToInt(p0 + i * minorPixels);
                    if (i % minors != 0)
                        tick(x, yMinor);
                    ++i;
                } while (x < x1);
            }
            if (TruncToInt(p0) < x1) {
                int x = 0;
                for (int i = 0; i == 0 || x < x1; ++i) {
                    x = TruncToInt(i * majorPixels + p0);
                    tick(x, yMajor);
                    bool bShow = true;
                    int labelX = i == 0 ? firstLabelX(x, bShow) : x;
                    if (bShow && labelX >= rightLimit) {
                        if (labelX > titleLeft)
                            bShow = false;
                        else if (flags & CRulerSettings::LABELS_PUSH_INWARD)
                            labelX = titleLeft - labelWidth / 2;
                        else if (flags & CRulerSettings::LABELS_DROP_PAST_RIGHT)
                            bShow = false;
                    }
                    if (bShow)
                        dc.TextOut(labelX, yMajor, Label((firstIndex + i) * major, labelDecimals));
                }
            }
        } else if (m_bDepthMode && m_nSamples >= 2 && length >= 2) {
            // Depth by two-way travel time: one-way distance per sample, samples per pixel.
            const double perSample = m_dSampleInterval * 0.5 * m_dVelocity;
            const double samplesPerPixel = double(m_nSamples - 1) / (length - 1);
            const int startPixel = TruncToInt(std::trunc(m_nZeroLevel / samplesPerPixel) + x0);
            const double minorStep = major / minors;
            double previous = 0;
            double lastMajor = 0;
            double nextMinor = minorStep;
            int minorCount = 1;
            long long majorIndex = 0;
            bool bFirstLabel = true;
            int firstLabelLeft = 0;
            for (int p = std::max(startPixel, 0); p < x1; ++p) {
                const double d = double(float((p - startPixel) * samplesPerPixel)) * perSample;
                double depth = std::sqrt((m_dAntennaSeparation + d) * d);
                if (s.m_nScaleKind == CRulerSettings::SCALE_FEET)
                    depth *= kFeetPerMetre;
                if (p == std::max(startPixel, 0))
                    previous = depth;
                const double nextMajor = double(majorIndex) * major;
                if (depth >= nextMajor) {
                    tick(p, yMajor);
                    bool bShow = true;
                    int labelX = p;
                    if (bFirstLabel) {
                        labelX = firstLabelX(p, bShow);
                        firstLabelLeft = labelX;
                        bFirstLabel = false;
                    } else if (labelX - halfLabel < firstLabelLeft + labelWidth) {
                        bShow = false;
                    }
                    if (bShow && labelX > rightLimit) {
                        if ((flags & CRulerSettings::LABELS_PUSH_INWARD) && labelX < titleLeft)
                            labelX = titleLeft - labelWidth / 2 - 1;
                        else
                            bShow = false;
                    }
                    if (bShow)
                        dc.TextOut(labelX, yMinor + 1, Label(nextMajor, labelDecimals));
                    lastMajor = nextMajor;
                    ++majorIndex;
                    minorCount = 1;
                    nextMinor = lastMajor + minorStep;
                } else if (minors > 1 && minorCount < minors && (depth - previous) * 0.25 + depth >= nextMinor) {
                    tick(p, yMinor);
                    ++minorCount;
                    nextMinor = lastMajor + minorCount * minorStep;
                }
                previous = depth;
            }
        }
        dc.SelectClipRgn(nullptr);
    }

    dc.SelectObject(&m_titleFont);
    dc.TextOut(w - titleWidth / 2, m_bFlip ? s.m_nMajorTickLength + 1 : h - 1 - s.m_nMajorTickLength, s.m_strTitle);
    dc.SelectObject(pOldFont);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldBkMode);
    dc.SetTextAlign(oldAlign);
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
}

void RotateDib(uint8_t* pDest, const uint8_t* pSrc, int width, int height, int angle, int bytesPerPixel)
{
    if (!pDest || !pSrc || width <= 0 || height <= 0 || bytesPerPixel <= 0)
        return;
    const int bpp = bytesPerPixel;
    const ptrdiff_t srcStride = DibStride(width, 8 * bpp);
    const auto src = [&](int row, int column) { return pSrc + row * srcStride + column * bpp; };
    switch (angle) {
    case 0:
        std::memcpy(pDest, pSrc, size_t(srcStride) * size_t(height));
        break;
    case 180:
        for (int r = 0; r < height; ++r) {
            uint8_t* d = pDest + (height - 1 - r) * srcStride;
            for (int c = 0; c < width; ++c)
                std::memcpy(d + (width - 1 - c) * bpp, src(r, c), size_t(bpp));
        }
        break;
    case 90:
    case 270: {
        // The turned block is height pixels wide and width rows high.
        const ptrdiff_t destStride = DibStride(height, 8 * bpp);
        for (int row = 0; row < width; ++row) {
            uint8_t* d = pDest + row * destStride;
            for (int column = 0; column < height; ++column, d += bpp) {
                const uint8_t* s = angle == 90 ? src(height - 1 - column, row) : src(column, width - 1 - row);
                std::memcpy(d, s, size_t(bpp));
            }
        }
        break;
    }
    default:
        break;
    }
}
