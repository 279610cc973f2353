#pragma once
// A section view of one gridded profile line processed on the fly: running-mean removal and
// migration as the settings copy of the owning dialog switches them, so that the dialog
// previews its settings before the matrix is computed again. In hyperbola mode it draws the
// diffraction hyperbola that a point reflector at the cross-hair would give at the current
// velocity, a black curve with white edges, to fit the velocity to a reflection.

#include "DataSideView.h"
#include "ProcessedProfile.h"

#include "Palettes.h"

#include <cstdint>
#include <vector>

class CProfileDataSideView : public CDataSideView
{
public:
    enum TDisplayMode : int32_t { DISPLAY_PLAIN = 1, DISPLAY_MIGRATION = 2, DISPLAY_HYPERBOLAS = 3 };

    CProfileDataSideView() = default;
    ~CProfileDataSideView() override;

    void Render(const CRect& rect) override;
    void RenderProfile(const CRect& rect);
    void DrawHyperbolas(const CRect& rect);
    // The columns of one hyperbola with its apex at the cross-hair: one vertex per column, the
    // row offset by offset rows; empty when there is no curve.
    std::vector<CPoint> HyperbolaPoints(const CRect& rect, int offset) const;

    // Written directly by the owning dialogs, which then invalidate the image.
    int32_t m_nDisplayMode = DISPLAY_PLAIN;
    float m_fGainFactor = 0.0f; // applies while the settings switch migration on

private:
    // Everything the profile's image is rendered from besides the processed traces' values.
    struct CRenderInputs
    {
        uint64_t generation = 0; // of the processed traces
        CRect rect;
        CSize size;
        float weight = 0;
        int32_t contrast = 0;
        CResampMap columns;
        CResampMap rows;
        std::vector<float> gain;
        TPaletteTable palette{};
        bool bWrap = false;
        bool operator==(const CRenderInputs& other) const;
    };

    // The line's traces processed as the settings say, kept from one render to the next.
    CProcessedProfile m_processed;
    // The last image rendered over the whole view, before the hyperbolas, with its inputs: a
    // render from the same inputs (a velocity move while fitting hyperbolas) copies it back.
    CRenderInputs m_keptInputs;
    std::vector<uint8_t> m_keptPixels;
};