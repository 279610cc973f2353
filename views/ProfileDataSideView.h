#pragma once
// A section view of one gridded profile line processed on the fly: running-mean removal and
// migration as the settings copy of the owning dialog switches them, so that the dialog
// previews its settings before the matrix is computed again. In hyperbola mode it draws the
// diffraction hyperbola that a point reflector at the cross-hair would give at the current
// velocity, a black curve with white edges, to fit the velocity to a reflection.

#include "DataSideView.h"

#include "Migration.h"

#include <cstdint>
#include <memory>
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
    // Kept from one render to the next, so that a slider move reuses the memory and, while
    // velocity and geometry stay, the travel-time table: the working array of the line's
    // traces and the migration of as many traces.
    std::vector<float> m_traces;
    std::unique_ptr<CMigration> m_pMigration;
};
