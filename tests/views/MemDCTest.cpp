// The off-screen surface: its bottom-up 32-bit rows, resizing with the pen and brush kept,
// releasing, copying blocks out and copying it to a window's image.

#include "MemDC.h"

#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

using Tovrik::CMemDC;

TEST(MemDCTest, RowsAreBottomUpBlueGreenRedOpaqueWords)
{
    const struct
    {
        int width, stride;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {5, 20}};
    for (const auto& c : cases) {
        CMemDC surface;
        surface.Create(c.width, 3);
        ASSERT_NE(surface.GetBits(), nullptr);
        EXPECT_EQ(surface.GetStride(), c.stride) << c.width;
        const BITMAPINFOHEADER& header = surface.GetBitmapInfo().bmiHeader;
        EXPECT_EQ(header.biSize, 40u);
        EXPECT_EQ(header.biWidth, c.width);
        EXPECT_EQ(header.biHeight, 3);
        EXPECT_EQ(header.biBitCount, 32);
        EXPECT_EQ(header.biPlanes, 1);
        // Opaque black before anything is drawn.
        EXPECT_EQ(surface.GetRowPixels(2)[c.width - 1], 0xFF000000u);
    }

    // Drawing at the top lands in the last buffer row; pixels written there read back.
    CMemDC surface;
    surface.Create(5, 4);
    surface.FillSolidRect(0, 0, 5, 1, RGB(10, 20, 30));
    const uint8_t* lastRow = surface.GetBits() + 3 * surface.GetStride();
    EXPECT_EQ(lastRow[0], 30);
    EXPECT_EQ(lastRow[1], 20);
    EXPECT_EQ(lastRow[2], 10);
    EXPECT_EQ(lastRow[3], 255);
    EXPECT_EQ(surface.GetBits()[0], 0); // bottom row untouched
    EXPECT_EQ(surface.GetRowBits(0), lastRow);
    surface.GetRowPixels(3)[4] = CMemDC::PixelOf(RGB(1, 2, 200)); // the bottom-right pixel
    EXPECT_EQ(surface.GetRowBits(3)[4 * 4], 200);
    EXPECT_EQ(surface.GetPixel(4, 3), RGB(1, 2, 200));
    surface.SetPixel(0, 3, RGB(7, 8, 9));
    EXPECT_EQ(surface.GetRowPixels(3)[0], 0xFF070809u);
}

TEST(MemDCTest, ResizeKeepsPenAndBrushAndReleasesTheImage)
{
    CMemDC surface;
    surface.Create(10, 10);
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush brush(RGB(0, 0, 255));
    surface.SelectObject(&pen);
    surface.SelectObject(&brush);
    surface.SetValid(true);
    surface.Resize(20, 8);
    EXPECT_FALSE(surface.IsValid());
    EXPECT_EQ(surface.GetWidth(), 20);
    EXPECT_EQ(surface.GetHeight(), 8);
    EXPECT_EQ(surface.GetCurrentPen(), &pen);
    EXPECT_EQ(surface.GetCurrentBrush(), &brush);
    surface.Rectangle(0, 0, 20, 8);
    EXPECT_EQ(surface.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(surface.GetPixel(19, 7), RGB(255, 0, 0));
    EXPECT_EQ(surface.GetPixel(5, 4), RGB(0, 0, 255));
    surface.Release();
    EXPECT_FALSE(surface.IsCreated());
    EXPECT_EQ(surface.GetBits(), nullptr);
}

TEST(MemDCTest, ReleaseOfAnEmptySurfaceDoesNothingAndAFailedSizeIsLogged)
{
    ClearLog();
    CMemDC never;
    never.Release();
    EXPECT_EQ(ReadLog(), "");

    CMemDC empty;
    empty.Create(0, 5);
    EXPECT_TRUE(empty.IsCreated());
    EXPECT_EQ(empty.GetBits(), nullptr);
    const std::string log = ReadLog();
    EXPECT_NE(log.find("CMemDC::Resize: m_srcHBitmap is NULL"), std::string::npos);
    EXPECT_NE(log.find("CMemDC::Resize: m_pSrcBuffer is NULL"), std::string::npos);
    // Drawing into a surface without bits does nothing.
    empty.FillSolidRect(0, 0, 5, 5, RGB(1, 2, 3));
    empty.SetPixel(0, 0, 0);
    uint8_t block[4] = {7, 7, 7, 7};
    empty.CopyBlock(CPoint(0, 0), 1, 1, block);
    EXPECT_EQ(block[0], 7);
}

TEST(MemDCTest, CopyBlockCopiesBufferRowsIntoABlockOfTheSurfacesFormat)
{
    CMemDC surface;
    surface.Create(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            surface.SetPixel(x, y, RGB(x, y, 9)); // window rows
    // The last pixel of the last buffer row: its 4 bytes, nothing after them.
    uint8_t one[5] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    surface.CopyBlock(CPoint(4, 2), 1, 1, one);
    EXPECT_EQ(one[0], 9);
    EXPECT_EQ(one[1], 0); // window row 0 is buffer row 2
    EXPECT_EQ(one[2], 4);
    EXPECT_EQ(one[3], 255);
    EXPECT_EQ(one[4], 0xEE);

    // A 2 x 2 block from buffer row 0 (the window's bottom row) in rows of 8 bytes.
    std::vector<uint8_t> block(16, 0xEE);
    surface.CopyBlock(CPoint(1, 0), 2, 2, block.data());
    EXPECT_EQ(block[2], 1);  // red of x 1
    EXPECT_EQ(block[1], 2);  // green: window row 2
    EXPECT_EQ(block[6], 2);  // red of x 2
    EXPECT_EQ(block[8 + 1], 1); // second block row: window row 1

    // A block reaching past the surface copies only its inside part.
    const int wideStride = DibStride(4, CMemDC::kBitsPerPixel);
    std::vector<uint8_t> wide(size_t(wideStride) * 2, 0xEE);
    surface.CopyBlock(CPoint(3, 2), 4, 2, wide.data());
    EXPECT_EQ(wide[2], 3);
    EXPECT_EQ(wide[6], 4);
    EXPECT_EQ(wide[8], 0xEE);
    EXPECT_EQ(wide[size_t(wideStride)], 0xEE); // buffer row 3 does not exist
    surface.CopyBlock(CPoint(0, 0), 0, 1, wide.data());
}

TEST(MemDCTest, SurfacesBlitAndBlendOntoEachOtherAndOntoAWindowImage)
{
    CMemDC a, b;
    a.Create(8, 6);
    b.Create(8, 6);
    a.FillSolidRect(0, 0, 8, 6, RGB(100, 100, 100));
    b.FillSolidRect(0, 0, 8, 6, RGB(200, 0, 100));
    b.FillSolidRect(2, 1, 3, 2, RGB(0, 0, 0));

    BLENDFUNCTION blend;
    blend.SourceConstantAlpha = 128;
    ASSERT_TRUE(a.AlphaBlend(0, 0, 8, 6, &b, 0, 0, 8, 6, blend));
    // 100 + (100 * 128 + 127) / 255 up, 100 + (-100 * 128 + 127) / 255 down
    EXPECT_EQ(a.GetPixel(0, 0), RGB(150, 51, 100));
    EXPECT_EQ(a.GetPixel(3, 2), RGB(51, 51, 51));

    CMemDC mask;
    mask.Create(8, 6);
    mask.BitBlt(0, 0, 8, 6, nullptr, 0, 0, WHITENESS);
    mask.FillSolidRect(0, 0, 1, 1, RGB(0, 0, 0));
    a.BitBlt(0, 0, 8, 6, &mask, 0, 0, SRCAND);
    EXPECT_EQ(a.GetPixel(0, 0), RGB(0, 0, 0));
    a.BitBlt(0, 0, 8, 6, &b, 0, 0, SRCPAINT);
    EXPECT_EQ(a.GetPixel(0, 0), RGB(200, 0, 100));
    EXPECT_EQ(a.GetPixel(7, 5), RGB(150 | 200, 51, 100));

    // Onto a window's 32-bit image the right way up, at an offset.
    QImage window(12, 10, QImage::Format_RGB32);
    window.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&window);
    ASSERT_TRUE(dc.BitBlt(1, 2, 8, 6, &b, 0, 0, SRCCOPY));
    EXPECT_EQ(dc.GetPixel(3, 3), RGB(0, 0, 0));     // b's (2, 1)
    EXPECT_EQ(dc.GetPixel(1, 2), RGB(200, 0, 100)); // b's (0, 0)
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(qAlpha(window.pixel(1, 2)), 255);
}
