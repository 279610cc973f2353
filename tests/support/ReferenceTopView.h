#pragma once
// The depth-slice image computed the long way: the slice of each line set read trace by trace,
// both sets blended over the whole grid column by column and row by row, then every pixel
// interpolated from that grid. The yardstick for the top view's pixel-resolution rendering,
// which must give the same image to the bit.

#include "DataTopView.h"
#include "ReferenceSlice.h"

#include "Cfg.h"
#include "ResampMap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// The shift rounding of the angled blend.
inline int ReferenceRoundShift(float v)
{
    if (std::fabs(v) < 0.0001f)
        return 0;
    return int(v > 0 ? std::floor(double(v) + 0.5001) : -std::floor(-double(v) + 0.5001));
}

// Every pixel of a width x height view from the whole grid's slice by bilinear interpolation
// through the pixel maps, times the scale, through colour(value): 0x00BBGGRR per pixel, buffer
// row after buffer row (buffer row 0 is the bottom of the window).
template <typename TColour>
std::vector<uint32_t> ReferencePixels(const std::vector<float>& slice, const CProjectSettings& s, int width, int height,
                                      float scale, TColour colour)
{
    const int columns = s.m_iGridSizeX, rows = s.m_iGridSizeY;
    CResampMap pixelColumnMap, pixelRowMap;
    CreateResampleMapRange(pixelColumnMap, std::max(s.m_iSizeX - 1, 0), width);
    CreateResampleMapRange(pixelRowMap, std::max(s.m_iSizeY - 1, 0), height);
    std::vector<uint32_t> image(size_t(width) * height);
    for (int p = 0; p < height; ++p) {
        const int y = std::min(int(pixelRowMap.m_index[size_t(p)]), rows - 1);
        const int y1 = y < rows - 1 ? y + 1 : y;
        const float fy = pixelRowMap.m_fraction[size_t(p)];
        for (int q = 0; q < width; ++q) {
            const int x = std::min(int(pixelColumnMap.m_index[size_t(q)]), columns - 1);
            const int x1 = std::min(x + 1, columns - 1);
            const float fx = pixelColumnMap.m_fraction[size_t(q)];
            const float low = slice[size_t(y) * columns + x] * (1.0f - fy) + slice[size_t(y1) * columns + x] * fy;
            const float high = slice[size_t(y) * columns + x1] * (1.0f - fy) + slice[size_t(y1) * columns + x1] * fy;
            image[size_t(p) * width + q] = colour((high * fx + low * (1.0f - fx)) * scale);
        }
    }
    return image;
}

// The radar slice of a width x height top view; weights are the view's time-gain weights.
inline std::vector<uint32_t> ReferenceTopViewImage(const C3DMatrix& matrix, const CProjectSettings& s,
                                                   const std::vector<float>& weights, int width, int height)
{
    const int columns = s.m_iGridSizeX, rows = s.m_iGridSizeY;
    const int vertLines = std::max(s.GetXLineCount(), 1), horzLines = std::max(s.GetYLineCount(), 1);
    const std::vector<float> vertSlice = ReferenceSetSlice(matrix, s, true);
    const std::vector<float> horzSlice = ReferenceSetSlice(matrix, s, false);
    auto vert = [&](int line, int row) {
        return line < int(matrix.m_nVertLines) && row < int(matrix.m_nNY) ? vertSlice[size_t(line) * matrix.m_nNY + row]
                                                                           : 0.0f;
    };
    auto horz = [&](int line, int column) {
        return line < int(matrix.m_nHorzLines) && column < int(matrix.m_nNX)
                   ? horzSlice[size_t(line) * matrix.m_nNX + column] : 0.0f;
    };

    CResampMap columnMap, rowMap;
    CreateResampleMapRange(columnMap, vertLines - 1, columns);
    CreateResampleMapRange(rowMap, horzLines - 1, rows);

    const float shift = float(std::tan(s.m_iAngle * 3.14159265358979323846 / 180.0) * s.m_iProfileSpacing);
    std::vector<float> slice(size_t(columns) * rows);
    for (int x = 0; x < columns; ++x) {
        const int i = std::min(int(columnMap.m_index[size_t(x)]), vertLines - 1);
        const int i1 = std::min(i + 1, vertLines - 1);
        const float f = columnMap.m_fraction[size_t(x)];
        for (int y = 0; y < rows; ++y) {
            const int ya = y + ReferenceRoundShift(-f * shift), yb = y + ReferenceRoundShift((1.0f - f) * shift);
            const float a = ya >= 0 && ya < rows ? vert(i, ya) : 0.0f;
            const float b = yb >= 0 && yb < rows ? vert(i1, yb) : 0.0f;
            slice[size_t(y) * columns + x] = b * f + a * (1.0f - f);
        }
    }
    for (int y = 0; y < rows; ++y) {
        const int j = std::min(int(rowMap.m_index[size_t(y)]), horzLines - 1);
        const int j1 = std::min(j + 1, horzLines - 1);
        const float g = rowMap.m_fraction[size_t(y)];
        for (int x = 0; x < columns; ++x) {
            const int xa = x + ReferenceRoundShift(g * shift), xb = x + ReferenceRoundShift(-(1.0f - g) * shift);
            const float a = xa >= 0 && xa < columns ? horz(j, xa) : 0.0f;
            const float b = xb >= 0 && xb < columns ? horz(j1, xb) : 0.0f;
            slice[size_t(y) * columns + x] += b * g + a * (1.0f - g);
        }
    }

    const int threshold = std::clamp(s.m_params.m_iThreshold, -255, 255);
    TPaletteTable palette = g_cfg.m_curColors;
    if (threshold != 0)
        CDataTopView::BuildThresholdPalette(threshold, palette);
    const bool bWrap = threshold == 0 && g_cfg.m_bPaletteWrap;
    const float weight =
        s.m_iDepthIndex >= 0 && size_t(s.m_iDepthIndex) < weights.size() ? weights[size_t(s.m_iDepthIndex)] : 1.0f;
    return ReferencePixels(slice, s, width, height, weight * 0.5f * float(0.3 * std::pow(1.11, s.m_iContrast)),
                           [&](float v) {
                               // Limited to -1 .. 1, then v x 127 + 128 truncated, wrapped into 0 .. 255 or held at 255.
                               const int index = int(LimitFloat(v, -1.0f, 1.0f) * 127.0f + 128.0f);
                               return palette[size_t(bWrap ? index & 0xFF : std::min(index, 255))];
                           });
}

// The EM overlay of a width x height top view, laid out as above.
inline std::vector<uint32_t> ReferenceEmImage(const C3DMatrix& matrix, const CProjectSettings& s, int width, int height)
{
    const int columns = s.m_iGridSizeX, rows = s.m_iGridSizeY;
    const int vertLines = std::max(s.GetXLineCount(), 1), horzLines = std::max(s.GetYLineCount(), 1);
    const int halfLag = int(0.5 * s.m_antenna.m_dEmLagDistance / s.m_dResolution);
    CEMResampMap mapX, mapY;
    mapX.Create(vertLines, s.m_iProfileSpacing, halfLag, columns);
    mapY.Create(horzLines, s.m_iProfileSpacing, halfLag, rows);
    // EM row k, value n of a set; 0 outside its EM area.
    auto em = [&](bool bVertical, int k, int n) {
        const int emRows = int(2 * (bVertical ? matrix.m_nVertLines : matrix.m_nHorzLines));
        const int perRow = int(bVertical ? matrix.m_nNY : matrix.m_nNX);
        if (k < 0 || k >= emRows || n >= perRow)
            return 0.0f;
        return (bVertical ? matrix.GetVertEm(0) : matrix.GetHorzEm(0))[size_t(k) * perRow + n];
    };
    std::vector<float> slice(size_t(columns) * rows);
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y)
            slice[size_t(y) * columns + x] =
                em(true, mapX.Row(x) + 1, y) * mapX.Fraction(x) + em(true, mapX.Row(x), y) * (1.0f - mapX.Fraction(x));
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) {
            float& value = slice[size_t(y) * columns + x];
            value = (em(false, mapY.Row(y) + 1, x) * mapY.Fraction(y) + em(false, mapY.Row(y), x) * (1.0f - mapY.Fraction(y)) +
                     value) * 0.5f;
        }
    return ReferencePixels(slice, s, width, height, float(0.3 * std::pow(1.11, s.m_iContrast)) * 7.0f, [](float v) {
        return g_cfg.m_curColors[size_t(std::clamp(int(LimitFloat(v, 0.0f, 1.0f) * 255.0f), 0, 255))];
    });
}
