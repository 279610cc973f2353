#pragma once
// One axis strip beside a data view: a baseline, major and minor ticks, numeric labels and a
// title. The ruler renders itself as a horizontal strip into an off-screen surface and, for
// a vertical ruler, turns the pixels into a second surface, which each Draw copies to the
// target. It renders again only after a change. In depth mode (the section's depth ruler)
// the ticks stand at the depths of two-way travel time, so that the scale follows the
// velocity, the zero level and the antenna separation.

#include "MemDC.h"

#include "GdiObjects.h"

#include <cstdint>
#include <string>

// What owners read and change; compared field by field, floats for exact equality.
struct CRulerSettings
{
    // Where the ruler lies beside its view.
    enum : int { SIDE_TOP = 1, SIDE_BOTTOM = 2, SIDE_LEFT = 4, SIDE_RIGHT = 8 };
    // How the rendered strip is turned: 0, 180, 270 or 90 degrees.
    enum : int { ALIGN_0 = 1, ALIGN_180 = 2, ALIGN_270 = 4, ALIGN_90 = 8 };
    enum : int {
        LABELS_DROP_PAST_RIGHT = 1, // a label beyond the right limit is dropped
        LABELS_PUSH_INWARD = 2,     // the first label and labels near the title move inward
        LABELS_CLIP_TITLE = 4,      // no first-label rule; alone, ticks and labels stop at the title
    };
    enum : int { SCALE_METRES = 1, SCALE_FEET = 2 };

    bool operator==(const CRulerSettings& other) const;
    bool operator!=(const CRulerSettings& other) const { return !(*this == other); }

    int m_nLeftInset = 0;  // pixels of the strip before the scale starts
    int m_nRightInset = 0; // pixels after it ends
    int m_nX = 50;         // place in the target device context
    int m_nY = 10;
    int m_nLength = 501;   // unturned width of the strip, along the scale
    int m_nThickness = 30; // unturned height
    float m_fRangeStart = 0.0f;
    float m_fRangeEnd = 0.16f;
    float m_fValueOffset = 0.0f; // added to the range start for ticks and labels
    int m_nSide = SIDE_TOP;
    int m_nAlignment = ALIGN_0;
    int m_nMinorTickLength = 3;
    int m_nMajorTickLength = 5;
    std::wstring m_strFontFace = L"Times New Roman";
    int m_nFontHeight = 14;
    int m_nLabelFlags = LABELS_PUSH_INWARD;
    std::wstring m_strTitle; // at the end of the strip, bold
    int m_nScaleKind = SCALE_METRES;
    int m_nDecimals = 5;     // fixed, or the most when automatic
    bool m_bAutoDecimals = true;
    COLORREF m_crForeground = RGB(0, 0, 0);
    COLORREF m_crBackground = RGB(255, 255, 0);
};

class CRuler
{
public:
    CRuler() = default;
    ~CRuler();
    CRuler(const CRuler&) = delete;
    CRuler& operator=(const CRuler&) = delete;

    // Every setting to its default, fonts, pens and brush made, enabled, not bound.
    void Init(bool bDepthMode);
    void Release();

    CRulerSettings GetSettings() const { return m_settings; }
    // Nothing when equal to the current settings; otherwise the ruler renders again.
    void SetSettings(const CRulerSettings& settings);

    // Renders when something changed, then copies the strip to (x, y) of the context.
    void Draw(CDC* pDC);

    // Until bound the strip is drawn plain: baseline and evenly spaced ticks.
    void SetBound(bool bBound);
    bool IsBound() const { return m_bBound; }
    void Enable(bool bEnable) { m_bEnabled = bEnable; }
    bool IsEnabled() const { return m_bEnabled; }
    // Depth mode: samples, zero-level sample, sample interval, velocity, antenna separation.
    void SetDepthParameters(int nSamples, int nZeroLevel, double dSampleInterval, double dVelocity,
                            double dAntennaSeparation);
    // Renders again at the next Draw.
    void SetDirty() { m_bDirty = true; }
    bool IsDirty() const { return m_bDirty; }

    // For the owner's layout: null until Init.
    const CFont* GetLabelFont() const { return m_labelFont.IsCreated() ? &m_labelFont : nullptr; }
    int GetAngle() const { return m_nAngle; }
    bool IsFlipped() const { return m_bFlip; }
    // Width and height on the target, after turning.
    CSize GetDisplaySize() const;
    // The strip as last rendered, before turning.
    const Tovrik::CMemDC& GetRenderSurface() const { return m_render; }

private:
    void BuildOrientation();
    void BuildFonts();
    void BuildTickPen();
    void BuildBackground();
    void ResizeSurfaces();
    void RenderPlain();
    void RenderFull();
    // Fills the strip and draws its baseline from x0 to x1; the tick pen stays selected and
    // the pen and brush it replaced are returned for the caller to put back.
    void DrawStrip(int x0, int x1, int yBase, CPen*& pOldPen, CBrush*& pOldBrush);
    // The label of a value and its width in the selected font.
    std::wstring Label(double value, int decimals) const;
    int TextWidth(const std::wstring& text);

    CRulerSettings m_settings;
    bool m_bEnabled = false;
    bool m_bInitialised = false;
    bool m_bBound = false;
    bool m_bDirty = false;
    bool m_bResize = false;
    bool m_bDepthMode = false;
    CBrush m_backgroundBrush;
    CPen m_backgroundPen;
    CPen m_tickPen;
    LOGFONT m_logFont;
    CFont m_labelFont; // weight 400
    CFont m_titleFont; // weight 600
    int m_nAngle = 0;
    bool m_bFlip = false; // baseline at the top edge instead of the bottom edge
    UINT m_nTextAlign = TA_BOTTOM | TA_CENTER;
    // The labels are drawn into 24-bit surfaces, whose glyph edges are the rulers' own.
    static constexpr int kTextBitsPerPixel = 24;
    Tovrik::CMemDC m_render; // length x thickness
    Tovrik::CMemDC m_output; // the displayed size
    int m_nSamples = 110;
    int m_nZeroLevel = 20;
    double m_dSampleInterval = 3.24072e-05;
    double m_dVelocity = 97.0;
    double m_dAntennaSeparation = 0.0;
};

// Turns a bottom-up block of width x height pixels, rows padded to multiples of 4 bytes, into
// pDest, which has the turned size and its own padded rows. 90 turns it counterclockwise as
// seen on the screen (source column c of stored row r goes to stored row c, column
// height - 1 - r), 180 reverses it, 270 turns it clockwise (to stored row width - 1 - c,
// column r), 0 copies it; any other angle leaves pDest alone.
void RotateDib(uint8_t* pDest, const uint8_t* pSrc, int width, int height, int angle, int bytesPerPixel);
