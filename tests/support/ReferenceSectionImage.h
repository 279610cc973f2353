#pragma once
// A section image rendered the plain way, column by column: for each new grid position the
// four traces of the column (line A and line B, the position and its right neighbour) are
// resampled onto the pixel rows, and each pixel is coloured through the palette with the
// index rule written out. The yardstick for the section views' table-driven row renderer.

#include "ResampMap.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

struct CReferenceSection
{
    const CResampMap* pColumnMap = nullptr; // pixel columns onto grid positions
    const CResampMap* pDepthMap = nullptr;  // pixel rows onto samples
    const std::vector<float>* pGain = nullptr; // per pixel row
    std::vector<const float*> tracesA;
    std::vector<const float*> tracesB;
    float weightA = 1.0f;
    float weightB = 0.0f;
    int samples = 0;
    int contrast = 0;
    int width = 0;
    int height = 0;
};

// Colours (0x00BBGGRR) row by row, width x height.
inline std::vector<uint32_t> ReferenceSectionImage(const CReferenceSection& s, const std::array<uint32_t, 256>& palette,
                                                   bool bWrap)
{
    std::vector<uint32_t> image(size_t(s.width) * size_t(s.height), 0);
    const int traces = int(std::min(s.tracesA.size(), s.tracesB.size()));
    if (traces < 1)
        return image;
    const float contrast = float(0.3 * std::pow(1.11, s.contrast));
    const bool bBlend = s.weightB != 0.0f && s.tracesB != s.tracesA;
    const size_t h = size_t(s.height);
    std::vector<float> a0(h), a1(h), b0(h), b1(h);
    int previous = -1;
    for (int q = 0; q < s.width; ++q) {
        const int t = std::min(int(s.pColumnMap->m_index[size_t(q)]), traces - 1);
        const float g = s.pColumnMap->m_fraction[size_t(q)];
        if (t != previous) {
            const int t1 = std::min(t + 1, traces - 1);
            ResampleTrace(*s.pDepthMap, s.tracesA[size_t(t)], size_t(s.samples), a0.data(), h);
            ResampleTrace(*s.pDepthMap, s.tracesA[size_t(t1)], size_t(s.samples), a1.data(), h);
            if (bBlend) {
                ResampleTrace(*s.pDepthMap, s.tracesB[size_t(t)], size_t(s.samples), b0.data(), h);
                ResampleTrace(*s.pDepthMap, s.tracesB[size_t(t1)], size_t(s.samples), b1.data(), h);
            }
            previous = t;
        }
        for (int r = 0; r < s.height; ++r) {
            const float scale = (*s.pGain)[size_t(r)] * contrast;
            float v = (a0[size_t(r)] * (1.0f - g) + a1[size_t(r)] * g) * s.weightA;
            if (bBlend)
                v += (b0[size_t(r)] * (1.0f - g) + b1[size_t(r)] * g) * s.weightB;
            v *= scale;
            const int index = int(LimitFloat(v, -1.0f, 1.0f) * 127.0f + 128.0f);
            image[size_t(r) * size_t(s.width) + size_t(q)] =
                palette[size_t(bWrap ? index % 256 : std::min(index, 255))];
        }
    }
    return image;
}
