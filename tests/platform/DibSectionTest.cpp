// A memory context with a DIB section draws the same picture as one over a 32-bit image,
// though its rows are stored bottom-up; clipping and the raster operations.

#include "DibSection.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {
constexpr int kW = 40, kH = 30;

struct CSectionDC
{
    explicit CSectionDC(int bitCount = 24, int width = kW, int height = kH)
    {
        BITMAPINFO info;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biBitCount = WORD(bitCount);
        EXPECT_TRUE(dib.CreateDIBSection(info, &bits));
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&dib);
    }
    CDibSection dib;
    uint8_t* bits = nullptr;
    CDC dc;
};

// Pixels that differ between the section and the image.
int Differences(const std::function<void(CDC&)>& draw)
{
    CSectionDC section;
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(Qt::black);
    CDC imageDC;
    imageDC.AttachImage(&image);
    draw(section.dc);
    draw(imageDC);
    int differences = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            differences += section.dc.GetPixel(x, y) != imageDC.GetPixel(x, y);
    return differences;
}
} // namespace

TEST(DibSectionTest, ShapesLandOnTheSamePixelsAsInAnImage)
{
    CPen thin(PS_SOLID, 1, RGB(255, 255, 0)), dashed(PS_DASH, 1, RGB(0, 255, 0)), wide(PS_SOLID, 3, RGB(0, 0, 255));
    CBrush brush(RGB(200, 10, 10));
    const struct
    {
        const char* name;
        std::function<void(CDC&)> draw;
        int tolerance; // wide pens: Qt's rounding of ties may fall either way
    } cases[] = {
        {"lines", [&](CDC& dc) {
             dc.SelectObject(&thin);
             dc.MoveTo(1, 1);
             dc.LineTo(30, 17);
             dc.MoveTo(35, 2);
             dc.LineTo(3, 28);
             dc.SelectObject(&dashed);
             dc.MoveTo(0, 29);
             dc.LineTo(39, 20);
         }, 0},
        {"rectangles", [&](CDC& dc) {
             dc.SelectObject(&thin);
             dc.SelectObject(&brush);
             dc.Rectangle(2, 3, 17, 12);
             dc.SelectStockObject(NULL_PEN);
             dc.Rectangle(20, 3, 30, 9);
             const CRect frame(5, 15, 25, 28);
             dc.FrameRect(&frame, &brush);
             dc.FillSolidRect(30, 20, 5, 5, RGB(1, 2, 3));
         }, 0},
        {"ellipses", [&](CDC& dc) {
             dc.SelectObject(&thin);
             dc.SelectObject(&brush);
             dc.Ellipse(2, 3, 19, 14);
             dc.SelectStockObject(HOLLOW_BRUSH);
             dc.Ellipse(20, 10, 37, 29);
         }, 0},
        {"wide pens", [&](CDC& dc) {
             dc.SelectObject(&wide);
             dc.SelectObject(&brush);
             dc.MoveTo(3, 4);
             dc.LineTo(33, 21);
             dc.Ellipse(10, 12, 30, 28);
         }, 4},
        {"bottom-up bits", [&](CDC& dc) {
             const uint8_t bits[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
             BITMAPINFO info;
             info.bmiHeader.biWidth = 2;
             info.bmiHeader.biHeight = 2;
             dc.SetDIBitsToDevice(7, 9, 2, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS);
         }, 0},
    };
    for (const auto& c : cases)
        EXPECT_LE(Differences(c.draw), c.tolerance) << c.name;
}

// What the data views and their painters draw, drawn into a 24-bit and a 32-bit section and
// copied onto a window's image: the same pixels everywhere. (Text is not among it: Qt smooths
// glyph edges into the two formats differently, and the rulers draw theirs in 24 bits.)
TEST(DibSectionTest, ThirtyTwoBitSectionsDrawWhatTwentyFourBitSectionsDraw)
{
    constexpr int w = 181, h = 97;
    CPen dashed(PS_DASH, 1, RGB(255, 255, 0)), wide(PS_SOLID, 2, RGB(0, 0, 0)), thin(PS_SOLID, 1, RGB(0, 0, 255));
    CBrush face(RGB(240, 240, 240)), fill(RGB(90, 160, 20));
    const auto draw = [&](CDC& dc, CDC& overlay, CDC& mask) {
        dc.FillSolidRect(0, 0, w, h, RGB(240, 240, 240));
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; y += 3)
                dc.SetPixel(x, y, RGB(x, y * 2, (x * y) & 0xFF));
        dc.SelectObject(&dashed);
        dc.MoveTo(0, 50);
        dc.LineTo(w, 50);
        dc.MoveTo(90, 0);
        dc.LineTo(90, h);
        dc.SelectObject(&wide);
        const CPoint curve[] = {{10, 90}, {40, 60}, {70, 52}, {100, 60}, {130, 88}};
        dc.Polyline(curve, 5);
        dc.SelectObject(&thin);
        dc.SelectObject(&fill);
        dc.Rectangle(120, 60, 150, 80);
        dc.Ellipse(5, 5, 40, 30);
        const CRect frame(150, 40, 175, 90);
        dc.FrameRect(&frame, &face);
        dc.PatBlt(2, 70, 30, 10, DSTINVERT);
        // The painter's passes: a blend, then frames put on through a mask.
        overlay.FillSolidRect(0, 0, w, h, RGB(0, 0, 0));
        overlay.SelectObject(&fill);
        overlay.Ellipse(30, 20, 110, 80);
        BLENDFUNCTION blend;
        blend.SourceConstantAlpha = 77;
        dc.AlphaBlend(25, 15, 90, 70, &overlay, 25, 15, 90, 70, blend);
        mask.BitBlt(0, 0, w, h, nullptr, 0, 0, WHITENESS);
        mask.FillSolidRect(40, 30, 20, 20, RGB(0, 0, 0));
        dc.BitBlt(0, 0, w, h, &mask, 0, 0, SRCAND);
        dc.BitBlt(0, 0, w, h, &overlay, 0, 0, SRCPAINT);
        dc.BitBlt(100, 5, 40, 20, &dc, 90, 10, SRCCOPY);
    };
    CSectionDC old(24, w, h), oldOverlay(24, w, h), oldMask(24, w, h);
    CSectionDC now(32, w, h), nowOverlay(32, w, h), nowMask(32, w, h);
    draw(old.dc, oldOverlay.dc, oldMask.dc);
    draw(now.dc, nowOverlay.dc, nowMask.dc);
    int differences = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            differences += old.dc.GetPixel(x, y) != now.dc.GetPixel(x, y);
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(now.bits[3], 255); // the fourth byte stays opaque

    QImage fromOld(w + 4, h + 4, QImage::Format_RGB32), fromNow(w + 4, h + 4, QImage::Format_RGB32);
    for (QImage* pImage : {&fromOld, &fromNow})
        pImage->fill(Qt::white);
    CDC oldWindow, nowWindow;
    oldWindow.AttachImage(&fromOld);
    nowWindow.AttachImage(&fromNow);
    oldWindow.BitBlt(3, 2, w, h, &old.dc, 0, 0, SRCCOPY);
    nowWindow.BitBlt(3, 2, w, h, &now.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(fromOld, fromNow);
}

TEST(DibSectionTest, TextIsUprightInTheSection)
{
    CSectionDC section;
    CFont font;
    font.CreateFont(20, 0, 0, 0, FW_NORMAL, false, false, false, L"MS Sans Serif");
    section.dc.SelectObject(&font);
    section.dc.SetBkMode(TRANSPARENT);
    section.dc.SetTextColor(RGB(255, 255, 255));
    section.dc.TextOut(2, 2, L"T");
    // The bar of the T is its top: more ink in the upper rows than in the lower ones.
    int top = 0, bottom = 0;
    for (int x = 0; x < kW; ++x) {
        for (int y = 0; y < 12; ++y)
            top += section.dc.GetPixel(x, y) != 0;
        for (int y = 12; y < 22; ++y)
            bottom += section.dc.GetPixel(x, y) != 0;
    }
    EXPECT_GT(top, bottom);
    EXPECT_GT(bottom, 0);
}

TEST(DibSectionTest, PixelsAreStoredBottomUpAndTheClipHoldsEveryOperation)
{
    CSectionDC section;
    section.dc.SetPixel(1, 0, RGB(10, 20, 30));
    const uint8_t* top = section.bits + (kH - 1) * section.dib.GetStride();
    EXPECT_EQ(top[3], 30);
    EXPECT_EQ(top[4], 20);
    EXPECT_EQ(top[5], 10);

    EXPECT_EQ(section.dc.IntersectClipRect(10, 10, 20, 20), SIMPLEREGION);
    section.dc.FillSolidRect(0, 0, kW, kH, RGB(255, 255, 255));
    CSectionDC source;
    source.dc.BitBlt(0, 0, kW, kH, nullptr, 0, 0, WHITENESS);
    section.dc.BitBlt(0, 0, kW, kH, &source.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(section.dc.GetPixel(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(section.dc.GetPixel(19, 19), RGB(255, 255, 255));
    EXPECT_EQ(section.dc.GetPixel(20, 15), RGB(0, 0, 0));
    EXPECT_EQ(section.dc.GetPixel(15, 9), RGB(0, 0, 0));
    EXPECT_EQ(section.dc.IntersectClipRect(30, 30, 40, 40), NULLREGION);
    section.dc.SelectClipRgn(nullptr);
    section.dc.BitBlt(0, 0, kW, kH, nullptr, 0, 0, BLACKNESS);
    EXPECT_EQ(section.dc.GetPixel(15, 15), RGB(0, 0, 0));

    // Wrong formats and sizes make no section.
    CDibSection none;
    uint8_t* bits = section.bits;
    BITMAPINFO info;
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = 4;
    info.bmiHeader.biBitCount = 16;
    EXPECT_FALSE(none.CreateDIBSection(info, &bits));
    EXPECT_EQ(bits, nullptr);
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biHeight = -4;
    EXPECT_FALSE(none.CreateDIBSection(info, &bits));
    info.bmiHeader.biHeight = 1 << 20;
    info.bmiHeader.biWidth = 1 << 20;
    EXPECT_FALSE(none.CreateDIBSection(info, &bits));
}
