#pragma once
// The palette editor of the "Colours" page: the 256 colours of a palette as a row of boxes
// (the centre box always palette entry 128) under a row of markers, drawn off screen. A click
// on a box sets its colour through the colour dialog; markers set above boxes, enabled or not,
// bound the hue/saturation/value ramps that Interpolate fills in.

#include "ConfigTab2Dlg.h"

#include "MemDC.h"

#include "Palettes.h"
#include "ResampMap.h"

#include <string>
#include <vector>

class CConfigTab2Dlg::CPaletteDraw : public Tovrik::CMemDC
{
public:
    struct CMarker
    {
        int m_nBox;
        bool m_bEnabled;
    };

    // The colour dialog opens over pOwner.
    explicit CPaletteDraw(CWnd* pOwner);

    // Takes the current palette of the configuration and fits the boxes into the rectangle
    // (page coordinates): as many odd-numbered 10-pixel boxes as its width holds. Removes
    // every marker.
    void AllocateMaps(const CRect& rect);
    void Draw();
    void DrawBox(int nBox);
    void DrawMarker(const CMarker& marker);
    // Acts on a click at a page point inside the editor: the box row sets a colour, the marker
    // row above toggles a marker. False when the point is outside or the colour dialog was
    // cancelled; bColorChanged tells whether an entry got another colour.
    bool OnClick(CPoint point, bool& bColorChanged);
    // Adds an enabled marker, kept in box order after markers of the same box.
    void AddMarker(int nBox);
    // Fills the entries between consecutive enabled markers; shows why not and returns false
    // with fewer than two markers or two enabled ones.
    bool Interpolate();

    // Palette index shown by a box.
    int GetPaletteIndex(int nBox) const;

    int m_NBoxes = 0;                 // odd
    TPaletteTable m_palette{};        // the working palette
    std::wstring m_strName;           // the name of the palette being shown
    CResampMap m_posToBoxMap;         // x pixel relative to the editor -> box
    CResampMap m_boxToPaletteMap;     // box -> palette index
    std::vector<CMarker> m_markers;   // sorted by box
    CRect m_rect;                     // the editor on the page
    CRect m_boxRect;                  // the box row in the surface; markers above y = 5

private:
    CWnd* m_pOwner;
};
