// The device context's GDI rules, read pixel by pixel from an image.

#include "DC.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

namespace {
constexpr COLORREF kGround = RGB(128, 128, 128);
constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kFill = RGB(255, 255, 255);

struct CCanvas
{
    CCanvas() : image(20, 20, QImage::Format_RGB32)
    {
        image.fill(qRgb(128, 128, 128));
        dc.AttachImage(&image);
    }
    // One character per pixel of a row: '#' ink, 'o' fill, '.' ground, '?' anything else.
    std::string Row(int y, int from, int to) const
    {
        std::string row;
        for (int x = from; x < to; ++x) {
            const COLORREF c = dc.GetPixel(x, y);
            row += c == kInk ? '#' : c == kFill ? 'o' : c == kGround ? '.' : '?';
        }
        return row;
    }
    QImage image;
    CDC dc;
};
} // namespace

TEST(DCTest, RectangleLeavesOutTheRightAndBottomEdge)
{
    CCanvas canvas;
    CPen pen(PS_SOLID, 1, kInk);
    CBrush brush(kFill);
    canvas.dc.SelectObject(&pen);
    canvas.dc.SelectObject(&brush);
    canvas.dc.Rectangle(2, 2, 7, 6);
    EXPECT_EQ(canvas.Row(1, 1, 9), "........");
    EXPECT_EQ(canvas.Row(2, 1, 9), ".#####..");
    EXPECT_EQ(canvas.Row(3, 1, 9), ".#ooo#..");
    EXPECT_EQ(canvas.Row(5, 1, 9), ".#####..");
    EXPECT_EQ(canvas.Row(6, 1, 9), "........");

    // Without a pen the fill stops one pixel short of right and bottom as well.
    canvas.dc.SelectStockObject(NULL_PEN);
    canvas.dc.Rectangle(10, 10, 14, 13);
    EXPECT_EQ(canvas.Row(10, 9, 15), ".ooo..");
    EXPECT_EQ(canvas.Row(11, 9, 15), ".ooo..");
    EXPECT_EQ(canvas.Row(12, 9, 15), "......");
}

TEST(DCTest, LineToLeavesOutItsEndPoint)
{
    CCanvas canvas;
    CPen pen(PS_SOLID, 1, kInk);
    canvas.dc.SelectObject(&pen);
    canvas.dc.MoveTo(2, 1);
    canvas.dc.LineTo(7, 1);
    EXPECT_EQ(canvas.Row(1, 1, 9), ".#####..");
    EXPECT_EQ(canvas.dc.GetCurrentPosition(), CPoint(7, 1));
    canvas.dc.MoveTo(0, 5);
    canvas.dc.LineTo(3, 8);
    EXPECT_EQ(canvas.Row(5, 0, 4), "#...");
    EXPECT_EQ(canvas.Row(7, 0, 4), "..#.");
    EXPECT_EQ(canvas.Row(8, 0, 4), "....");
}

TEST(DCTest, FillRectFillsFromLeftTopUpToRightBottom)
{
    CCanvas canvas;
    CBrush brush(kFill);
    const CRect rect(3, 3, 6, 5);
    canvas.dc.FillRect(&rect, &brush);
    EXPECT_EQ(canvas.Row(2, 2, 7), ".....");
    EXPECT_EQ(canvas.Row(3, 2, 7), ".ooo.");
    EXPECT_EQ(canvas.Row(4, 2, 7), ".ooo.");
    EXPECT_EQ(canvas.Row(5, 2, 7), ".....");
}

TEST(DCTest, ColoursCrossTheBoundaryAsBlueGreenRed)
{
    CCanvas canvas;
    canvas.dc.SetPixel(1, 1, RGB(10, 20, 30));
    EXPECT_EQ(canvas.image.pixel(1, 1) & 0xFFFFFF, 0x0A141Eu);
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), 0x001E140Au);
    EXPECT_EQ(canvas.dc.GetPixel(20, 0), CDC::CLR_INVALID);
}

TEST(DCTest, ConstantAlphaBlendsEachByteAndKeepsEqualPixels)
{
    struct Case
    {
        int dst, src, alpha, expected;
    };
    const Case cases[] = {{100, 200, 128, 150}, {200, 100, 128, 151}, {77, 77, 200, 77}, {40, 90, 0, 40}};
    for (const Case& c : cases) {
        QImage dstImage(1, 1, QImage::Format_RGB32), srcImage(1, 1, QImage::Format_RGB32);
        dstImage.fill(qRgb(c.dst, c.dst, c.dst));
        srcImage.fill(qRgb(c.src, 0, c.dst));
        CDC dst, src;
        dst.AttachImage(&dstImage);
        src.AttachImage(&srcImage);
        BLENDFUNCTION blend;
        blend.SourceConstantAlpha = BYTE(c.alpha);
        ASSERT_TRUE(dst.AlphaBlend(0, 0, 1, 1, &src, 0, 0, 1, 1, blend));
        EXPECT_EQ(qRed(dstImage.pixel(0, 0)), c.expected) << c.dst << " " << c.src << " " << c.alpha;
        EXPECT_EQ(qBlue(dstImage.pixel(0, 0)), c.dst); // source equal to destination
    }
}

TEST(DCTest, BottomUpDibLandsTheRightWayUp)
{
    // 2 x 2 pixels, 24 bits, rows of 8 bytes, the bottom row first.
    const uint8_t bits[16] = {0, 0, 255, 0, 255, 0, 0, 0, /* bottom: red, green */
                              255, 0, 0, 255, 255, 255, 0, 0 /* top: blue, white */};
    BITMAPINFO info;
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = 2;
    CCanvas canvas;
    EXPECT_EQ(canvas.dc.SetDIBitsToDevice(4, 4, 2, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS), 2);
    EXPECT_EQ(canvas.dc.GetPixel(4, 4), RGB(0, 0, 255));
    EXPECT_EQ(canvas.dc.GetPixel(5, 4), RGB(255, 255, 255));
    EXPECT_EQ(canvas.dc.GetPixel(4, 5), RGB(255, 0, 0));
    EXPECT_EQ(canvas.dc.GetPixel(5, 5), RGB(0, 255, 0));
    EXPECT_EQ(DibStride(5, 24), 16);
}

TEST(DCTest, BitBltCopiesABlockBetweenContexts)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(4, 4));
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    memory.SelectObject(&bitmap);
    memory.FillSolidRect(1, 1, 2, 2, kFill);
    CCanvas canvas;
    ASSERT_TRUE(canvas.dc.BitBlt(10, 10, 3, 3, &memory, 1, 1, SRCCOPY));
    EXPECT_EQ(canvas.Row(10, 9, 14), ".oo#.");
    EXPECT_EQ(canvas.Row(12, 9, 14), ".###.");
}

namespace {
// The box of the pixels that are not the ground colour.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0x808080)
                box |= QRect(x, y, 1, 1);
    return box;
}
} // namespace

TEST(DCTest, TextFollowsAlignmentEscapementAndBackgroundMode)
{
    QImage image(200, 100, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    CFont font;
    font.CreateFont(20, 0, 0, 0, FW_NORMAL, false, false, false, L"MS Sans Serif");
    dc.SelectObject(&font);
    TEXTMETRIC metrics;
    dc.GetTextMetrics(&metrics);
    EXPECT_NEAR(metrics.tmHeight, 20, 1); // a positive height is the cell height

    dc.SetBkMode(TRANSPARENT);
    image.fill(qRgb(128, 128, 128));
    dc.TextOut(100, 50, L"Wg");
    const QRect upright = InkBox(image);
    EXPECT_GE(upright.left(), 100);
    EXPECT_GE(upright.top(), 50);

    image.fill(qRgb(128, 128, 128));
    dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc.TextOut(100, 50, L"Wg");
    EXPECT_LE(InkBox(image).right(), 100);
    EXPECT_LE(InkBox(image).bottom(), 50);

    // Escapement 1800 turns the text upside down around its reference point.
    LOGFONT turned = font.GetLogFont();
    turned.lfEscapement = 1800;
    CFont upsideDown;
    upsideDown.CreateFontIndirect(turned);
    dc.SelectObject(&upsideDown);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    image.fill(qRgb(128, 128, 128));
    dc.TextOut(100, 50, L"Wg");
    const QRect flipped = InkBox(image);
    EXPECT_LE(flipped.right(), 100);
    EXPECT_LE(flipped.bottom(), 50);
    EXPECT_NEAR(flipped.width(), upright.width(), 2);

    // An opaque background fills the text cell.
    dc.SelectObject(&font);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(0, 0, 255));
    image.fill(qRgb(128, 128, 128));
    dc.TextOut(10, 10, L"i");
    EXPECT_EQ(dc.GetPixel(10, 10), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetTextExtent(L"Wg").cy, metrics.tmHeight);
}
