// The pixels of drawing-object shapes: taken from a scratch surface as the device context draws
// them, and shifted from a shape of the same kind, size and pen drawn elsewhere.

#include "ShapeRaster.h"

#include "GuiTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <vector>

namespace {
constexpr int kWidth = 397, kHeight = 613;

// The pixels of the spans, one by one and in order.
std::vector<std::pair<int, int>> PixelsOf(const std::vector<CShapeSpan>& spans)
{
    std::vector<std::pair<int, int>> pixels;
    for (const CShapeSpan& s : spans)
        for (int x = s.x0; x < s.x1; ++x)
            pixels.emplace_back(s.y, x);
    std::sort(pixels.begin(), pixels.end());
    return pixels;
}

// The shape's pixels as the device context draws it on a surface of its own.
std::vector<std::pair<int, int>> DrawnAlone(int32_t type, const CRect& corners, int penWidth, bool bOutline)
{
    Tovrik::CMemDC dc;
    dc.Create(kWidth, kHeight);
    CPen pen(PS_SOLID, penWidth, RGB(255, 255, 255));
    CBrush brush(RGB(255, 255, 255));
    dc.SelectObject(bOutline ? &pen : static_cast<CPen*>(GetStockObject(NULL_PEN)));
    dc.SelectObject(bOutline ? static_cast<CBrush*>(GetStockObject(HOLLOW_BRUSH)) : &brush);
    const CRect box(std::min(corners.left, corners.right), std::min(corners.top, corners.bottom),
                    std::max(corners.left, corners.right), std::max(corners.top, corners.bottom));
    switch (type) {
    case CShapeRaster::SHAPE_LINE:
        dc.MoveTo(corners.left, corners.top);
        dc.LineTo(corners.right, corners.bottom);
        break;
    case CShapeRaster::SHAPE_RECT: dc.Rectangle(&box); break;
    default: dc.Ellipse(&box); break;
    }
    std::vector<std::pair<int, int>> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (dc.GetRowPixels(y)[x] & 0xFFFFFF)
                pixels.emplace_back(y, x);
    return pixels;
}

// A shape of random kind, pen and size.
struct CShapeDraw
{
    int32_t type;
    bool bOutline;
    int penWidth;
    int dx, dy;
};

template <class TUniform>
CShapeDraw RandomShape(TUniform& uniform)
{
    CShapeDraw s;
    s.type = uniform(0, 2);
    s.bOutline = s.type != CShapeRaster::SHAPE_CIRCLE || uniform(0, 1) == 1;
    s.penWidth = s.type == CShapeRaster::SHAPE_RECT ? uniform(2, 5) : uniform(1, 4);
    s.dx = uniform(-12, 12);
    s.dy = uniform(-12, 12);
    return s;
}

// The raster takes the pixels that the device context draws for the shape at (x, y).
::testing::AssertionResult TakesTheDrawnPixels(CShapeRaster& raster, const CShapeDraw& s, int x, int y)
{
    const CRect corners = s.type == CShapeRaster::SHAPE_LINE ? CRect(x, y, x + s.dx, y + s.dy)
                                                              : CRect(x, y, x + std::abs(s.dx), y + std::abs(s.dy));
    std::vector<CShapeSpan> spans;
    if (s.bOutline)
        raster.Outline(s.type, corners, s.penWidth, spans);
    else
        raster.Fill(s.type, corners, spans);
    if (PixelsOf(spans) == DrawnAlone(s.type, corners, s.penWidth, s.bOutline))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "type " << s.type << (s.bOutline ? " outline" : " fill") << ", pen "
                                         << s.penWidth << ", corners (" << corners.left << ", " << corners.top
                                         << ")-(" << corners.right << ", " << corners.bottom << ")";
}
} // namespace

// Lines, ellipse fills and outlines and wide rectangle outlines of many sizes and pens, each at
// a place of its own, then again at other places, from all over the surface and past its
// edges: the pixels taken equal those the device context draws, whether the shape was drawn
// there or shifted from one drawn before.
TEST(ShapeRasterTest, ShapesTakeThePixelsTheDeviceContextDraws)
{
    CShapeRaster raster;
    raster.SetSize(kWidth, kHeight);
    const CDC::CPass pass(raster.GetSurface());
    std::mt19937 random(25);
    const auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    int checked = 0;
    for (int shape = 0; shape < 100; ++shape) {
        const CShapeDraw s = RandomShape(uniform);
        for (int place = 0; place < 12; ++place) {
            // Mostly near the first place, so that shapes are shifted within their span.
            const int x = place == 0 || uniform(0, 3) == 0 ? uniform(-20, kWidth + 5) : uniform(160, 200);
            const int y = place == 0 || uniform(0, 3) == 0 ? uniform(-20, kHeight + 5) : uniform(290, 330);
            ASSERT_TRUE(TakesTheDrawnPixels(raster, s, x, y));
            ++checked;
        }
    }
    EXPECT_EQ(checked, 1200);
}

// Shapes whose coordinates cross a power of two on one axis (columns, window rows or device
// rows), drawn again at the same place on that axis and elsewhere on the other: the pixels
// taken equal those the device context draws there.
TEST(ShapeRasterTest, ShapesAcrossAPowerOfTwoOnOneAxisShiftAlongTheOther)
{
    CShapeRaster raster;
    raster.SetSize(kWidth, kHeight);
    const CDC::CPass pass(raster.GetSurface());
    std::mt19937 random(2025);
    const auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    // Window columns 128 and 256, window rows 256 and 512, device rows 256 and 512.
    const int columnEdges[] = {128, 256};
    const int rowEdges[] = {256, 512, kHeight - 256, kHeight - 512};
    for (int shape = 0; shape < 120; ++shape) {
        const CShapeDraw s = RandomShape(uniform);
        const bool bColumnCrossed = shape % 2 == 0;
        const int x0 = bColumnCrossed ? columnEdges[uniform(0, 1)] - uniform(0, 14) : uniform(150, 230);
        const int y0 = bColumnCrossed ? uniform(150, 230) : rowEdges[uniform(0, 3)] - uniform(0, 14);
        for (int place = 0; place < 10; ++place) {
            // The crossed axis stays; the other one moves within its span and beyond.
            const int x = bColumnCrossed || place == 0 ? x0 : place < 7 ? uniform(140, 240) : uniform(20, kWidth - 30);
            const int y = !bColumnCrossed || place == 0 ? y0 : place < 7 ? uniform(140, 240) : uniform(20, kHeight - 30);
            ASSERT_TRUE(TakesTheDrawnPixels(raster, s, x, y));
        }
    }
}
