// The device context's GDI rules, read pixel by pixel from an image.

#include "DC.h"
#include "DibSection.h"
#include "QtConvert.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>
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

// Every destination and source byte under every alpha, in packed 24-bit rows and in 32-bit
// rows, whose fourth byte stays as it was.
TEST(DCTest, ConstantAlphaBlendFollowsTheRuleForEveryByteAndAlpha)
{
    constexpr int kPairs = 256 * 256;
    for (const int pixelBytes : {3, 4}) {
        const int width = (kPairs + 2) / 3;
        std::vector<uint8_t> dstBytes(size_t(width) * size_t(pixelBytes)), srcBytes(dstBytes.size());
        const auto colourByte = [pixelBytes](int pair) { return size_t(pair / 3 * pixelBytes + pair % 3); };
        for (int alpha = 0; alpha < 256; ++alpha) {
            std::fill(dstBytes.begin(), dstBytes.end(), uint8_t(0x5A));
            for (int pair = 0; pair < kPairs; ++pair) {
                dstBytes[colourByte(pair)] = uint8_t(pair >> 8);
                srcBytes[colourByte(pair)] = uint8_t(pair & 0xFF);
            }
            const CPixelRows dst{dstBytes.data(), ptrdiff_t(dstBytes.size()), width, 1, pixelBytes};
            const CPixelRows src{srcBytes.data(), ptrdiff_t(srcBytes.size()), width, 1, pixelBytes};
            BlendPixelRows(dst, 0, 0, src, 0, 0, width, 1, alpha, nullptr);
            for (int pair = 0; pair < kPairs; ++pair) {
                const int d = pair >> 8, s = pair & 0xFF;
                ASSERT_EQ(dstBytes[colourByte(pair)], uint8_t(d + ((s - d) * alpha + 127) / 255))
                    << pixelBytes << " bytes, alpha " << alpha << ", " << d << " under " << s;
            }
            if (pixelBytes == 4) {
                for (int i = 0; i < width; ++i)
                    ASSERT_EQ(dstBytes[size_t(i) * 4 + 3], 0x5A);
            }
        }
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

namespace {
constexpr int kSurfaceW = 48, kSurfaceH = 32;

// The three kinds of target a context draws on.
enum TBacking { BACK_IMAGE, BACK_PAINTER, BACK_SECTION };
const char* const kBackingNames[] = {"image", "painter", "section"};

struct CSurface
{
    explicit CSurface(TBacking kind) : backing(kind), image(kSurfaceW, kSurfaceH, QImage::Format_RGB32)
    {
        image.fill(qRgb(128, 128, 128));
        if (backing == BACK_IMAGE) {
            dc.AttachImage(&image);
        } else if (backing == BACK_PAINTER) {
            painter.begin(&image);
            dc.AttachPainter(&painter);
        } else {
            BITMAPINFO info;
            info.bmiHeader.biWidth = kSurfaceW;
            info.bmiHeader.biHeight = kSurfaceH;
            uint8_t* bits = nullptr;
            EXPECT_TRUE(dib.CreateDIBSection(info, &bits));
            dc.CreateCompatibleDC(nullptr);
            dc.SelectObject(&dib);
            dc.FillSolidRect(0, 0, kSurfaceW, kSurfaceH, kGround);
        }
    }
    // The picture the right way up, once drawing is over.
    QImage Picture()
    {
        if (painter.isActive())
            painter.end();
        if (backing != BACK_SECTION)
            return image;
        QImage picture(kSurfaceW, kSurfaceH, QImage::Format_RGB32);
        for (int y = 0; y < kSurfaceH; ++y) {
            const uint8_t* row = dib.GetBits() + (kSurfaceH - 1 - y) * dib.GetStride();
            for (int x = 0; x < kSurfaceW; ++x)
                picture.setPixel(x, y, qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
        }
        return picture;
    }
    TBacking backing;
    QImage image;
    QPainter painter;
    CDibSection dib;
    CDC dc;
};

int InkCount(const QImage& picture)
{
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += (picture.pixel(x, y) & 0xFFFFFF) != 0x808080;
    return count;
}
} // namespace

TEST(DCTest, ViewportOriginMovesEveryDrawingCall)
{
    // Drawing at p with the origin at o lands where drawing at p + o does without one.
    const CPoint origin(7, 5);
    CPen thin(PS_SOLID, 1, kInk), wide(PS_SOLID, 2, RGB(0, 0, 255));
    CBrush brush(kFill);
    CBitmap source;
    ASSERT_TRUE(source.CreateBitmap(6, 6));
    CDC sourceDC;
    sourceDC.CreateCompatibleDC(nullptr);
    sourceDC.SelectObject(&source);
    sourceDC.FillSolidRect(1, 1, 3, 3, RGB(255, 0, 0));
    const uint8_t bits[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    BITMAPINFO info;
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = 2;
    CFont font;
    font.CreateFont(14, 0, 0, 0, FW_NORMAL, false, false, false, L"Times New Roman");
    const struct
    {
        const char* name;
        std::function<void(CDC&, CPoint)> draw;
    } cases[] = {
        {"line and current position", [&](CDC& dc, CPoint at) {
             dc.SelectObject(&thin);
             dc.MoveTo(at.x + 1, at.y + 1);
             dc.LineTo(at.x + 20, at.y + 9);
             dc.LineTo(at.x + 2, at.y + 15);
         }},
        {"polyline", [&](CDC& dc, CPoint at) {
             dc.SelectObject(&wide);
             const CPoint chain[] = {at + CPoint(0, 0), at + CPoint(10, 12), at + CPoint(20, 3)};
             dc.Polyline(chain, 3);
         }},
        {"rectangle and ellipse", [&](CDC& dc, CPoint at) {
             dc.SelectObject(&thin);
             dc.SelectObject(&brush);
             dc.Rectangle(at.x + 1, at.y + 1, at.x + 9, at.y + 7);
             dc.Ellipse(at.x + 10, at.y + 2, at.x + 22, at.y + 14);
         }},
        {"fills and frames", [&](CDC& dc, CPoint at) {
             const CRect rect(at.x + 2, at.y + 2, at.x + 12, at.y + 8);
             dc.FillSolidRect(&rect, RGB(0, 200, 0));
             dc.FrameRect(&rect, &brush);
             dc.SetPixel(at.x + 20, at.y + 20, kInk);
         }},
        {"pattern", [&](CDC& dc, CPoint at) {
             dc.SelectObject(&brush);
             dc.PatBlt(at.x + 3, at.y + 3, 9, 4, PATCOPY);
             dc.BitBlt(at.x + 15, at.y + 3, 4, 4, nullptr, 0, 0, BLACKNESS);
         }},
        {"text", [&](CDC& dc, CPoint at) {
             dc.SelectObject(&font);
             dc.SetBkMode(TRANSPARENT);
             dc.TextOut(at.x + 1, at.y + 1, L"Ag");
             CRect rect(at.x + 10, at.y + 10, at.x + 40, at.y + 26);
             dc.DrawText(L"Ag", &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
         }},
        {"blocks", [&](CDC& dc, CPoint at) {
             dc.BitBlt(at.x + 1, at.y + 1, 5, 5, &sourceDC, 0, 0, SRCCOPY);
             dc.SetDIBitsToDevice(at.x + 10, at.y + 1, 2, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS);
             BLENDFUNCTION blend;
             blend.SourceConstantAlpha = 100;
             dc.AlphaBlend(at.x + 15, at.y + 1, 5, 5, &sourceDC, 0, 0, 5, 5, blend);
         }},
        {"clip", [&](CDC& dc, CPoint at) {
             dc.IntersectClipRect(at.x + 4, at.y + 2, at.x + 11, at.y + 9);
             dc.FillSolidRect(0, 0, kSurfaceW, kSurfaceH, RGB(0, 0, 255));
             dc.SelectClipRgn(nullptr);
         }},
    };
    for (TBacking backing : {BACK_IMAGE, BACK_PAINTER, BACK_SECTION})
        for (const auto& c : cases) {
            CSurface moved(backing), placed(backing);
            EXPECT_EQ(moved.dc.SetViewportOrg(origin), CPoint(0, 0));
            c.draw(moved.dc, CPoint());
            c.draw(placed.dc, origin);
            const QImage picture = moved.Picture();
            EXPECT_GT(InkCount(picture), 0) << c.name << " on " << kBackingNames[backing];
            EXPECT_EQ(picture, placed.Picture()) << c.name << " on " << kBackingNames[backing];
        }
}

TEST(DCTest, ClipStaysWhereItWasSetAndPixelsAreLogical)
{
    CCanvas canvas;
    canvas.dc.IntersectClipRect(0, 0, 6, 20);
    EXPECT_EQ(canvas.dc.SetViewportOrg(3, 2), CPoint(0, 0));
    EXPECT_EQ(canvas.dc.GetViewportOrg(), CPoint(3, 2));
    canvas.dc.FillSolidRect(0, 0, 10, 1, kFill);
    canvas.dc.SelectClipRgn(nullptr);
    canvas.dc.SetPixel(1, 1, kInk);
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), kInk);
    EXPECT_EQ(canvas.dc.SetViewportOrg(0, 0), CPoint(3, 2));
    // Device columns 3 .. 5: the clip's right edge at 6 did not move with the origin.
    EXPECT_EQ(canvas.Row(2, 0, 9), "...ooo...");
    EXPECT_EQ(canvas.Row(3, 0, 9), "....#....");
}

TEST(DCTest, PolylineIsAChainOfLinesWithoutItsLastPoint)
{
    CPen pen(PS_SOLID, 1, kInk);
    const std::vector<std::vector<CPoint>> chains = {
        {{1, 1}, {6, 1}, {6, 5}},                  // a corner
        {{2, 2}, {9, 7}, {2, 12}, {12, 14}},       // a zigzag
        {{3, 3}, {12, 3}, {7, 10}, {3, 3}},        // closed: the first point is drawn once
        {{15, 15}, {15, 15}, {18, 15}},            // a repeated point adds nothing
    };
    for (const auto& chain : chains) {
        CCanvas poly, lines;
        poly.dc.SelectObject(&pen);
        lines.dc.SelectObject(&pen);
        poly.dc.MoveTo(19, 0);
        EXPECT_TRUE(poly.dc.Polyline(chain.data(), int(chain.size())));
        EXPECT_EQ(poly.dc.GetCurrentPosition(), CPoint(19, 0));
        lines.dc.MoveTo(chain.front());
        for (size_t i = 1; i < chain.size(); ++i)
            lines.dc.LineTo(chain[i]);
        EXPECT_EQ(poly.image, lines.image) << chain.size() << " points from " << chain[0].x << "," << chain[0].y;
    }
    CCanvas corner;
    corner.dc.SelectObject(&pen);
    corner.dc.Polyline(chains[0].data(), 3);
    EXPECT_EQ(corner.Row(1, 0, 8), ".######.");
    EXPECT_EQ(corner.Row(4, 0, 8), "......#.");
    EXPECT_EQ(corner.Row(5, 0, 8), "........");

    // Fewer than two points draw nothing.
    CCanvas none;
    EXPECT_FALSE(none.dc.Polyline(chains[0].data(), 1));
    EXPECT_FALSE(none.dc.Polyline(nullptr, 3));
    EXPECT_EQ(InkCount(none.image), 0);
}

TEST(DCTest, PolylineWithAWidePenAndFarPoints)
{
    // The pen of the hyperbola's middle curve: two pixels wide through every vertex.
    CCanvas canvas;
    CPen wide(PS_SOLID, 2, kInk);
    canvas.dc.SelectObject(&wide);
    const CPoint curve[] = {{2, 2}, {6, 8}, {10, 10}, {14, 8}, {18, 2}};
    ASSERT_TRUE(canvas.dc.Polyline(curve, 5));
    for (const CPoint& p : {curve[1], curve[2], curve[3]})
        EXPECT_EQ(canvas.dc.GetPixel(p.x, p.y), kInk) << p.x << "," << p.y;
    EXPECT_EQ(canvas.dc.GetPixel(10, 14), kGround);

    // A segment far beyond the device is clipped, not walked pixel by pixel.
    CPen thin(PS_SOLID, 1, kInk);
    canvas.dc.SelectObject(&thin);
    const CPoint far[] = {{-2000000000, 17}, {2000000000, 17}};
    ASSERT_TRUE(canvas.dc.Polyline(far, 2));
    EXPECT_EQ(canvas.Row(17, 0, 20), std::string(20, '#'));
}

TEST(DCTest, PatBltFillsWithTheBrushOrInverts)
{
    CBrush brush(kFill), hollow;
    hollow.CreateNullBrush();
    const struct
    {
        DWORD rop;
        CBrush* brush;
        int x, y, w, h;
        bool result;
        const char* row3; // columns 0 .. 9 of row 3
    } cases[] = {
        {PATCOPY, &brush, 2, 3, 4, 2, true, "..oooo...."},
        {PATCOPY, &brush, 6, 4, -4, -2, true, "..oooo...."}, // extends left and up from (6, 4)
        {PATCOPY, &hollow, 2, 3, 4, 2, true, ".........."},
        {BLACKNESS, &brush, 1, 3, 3, 1, true, ".###......"},
        {WHITENESS, &brush, 7, 0, 3, 4, true, ".......ooo"},
        {DSTINVERT, &brush, 0, 3, 2, 1, true, "??........"},
        {SRCCOPY, &brush, 0, 0, 5, 5, false, ".........."},
    };
    for (const auto& c : cases) {
        CCanvas canvas;
        canvas.dc.SelectObject(c.brush);
        EXPECT_EQ(canvas.dc.PatBlt(c.x, c.y, c.w, c.h, c.rop), c.result) << std::hex << c.rop;
        EXPECT_EQ(canvas.Row(3, 0, 10), c.row3) << std::hex << c.rop << " " << c.w;
        EXPECT_EQ(canvas.Row(5, 0, 10), "..........");
    }
    // Inverting twice restores the picture; a printer's paper cannot be inverted.
    CCanvas canvas;
    canvas.dc.SetPixel(1, 1, RGB(10, 20, 30));
    canvas.dc.PatBlt(0, 0, 3, 3, DSTINVERT);
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), RGB(245, 235, 225));
    canvas.dc.BitBlt(0, 0, 3, 3, nullptr, 0, 0, DSTINVERT);
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), RGB(10, 20, 30));
    CSurface printer(BACK_PAINTER);
    EXPECT_FALSE(printer.dc.PatBlt(0, 0, 3, 3, DSTINVERT));
}

namespace {
// The ink of one short text drawn at the middle of a clear picture.
struct CTextInk
{
    QRect box;
    int heaviestRow = 0;    // the row with the most ink
    int heaviestColumn = 0; // the column with the most ink
};

CTextInk InkOf(const QImage& image)
{
    CTextInk ink;
    ink.box = InkBox(image);
    int bestRow = -1, bestColumn = -1;
    for (int y = 0; y < image.height(); ++y) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) < 64;
        if (count > bestRow)
            bestRow = count, ink.heaviestRow = y;
    }
    for (int x = 0; x < image.width(); ++x) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            count += qGray(image.pixel(x, y)) < 64;
        if (count > bestColumn)
            bestColumn = count, ink.heaviestColumn = x;
    }
    return ink;
}

LOGFONT LabelFont(int escapement)
{
    LOGFONT lf;
    lf.lfHeight = 40;
    lf.lfEscapement = lf.lfOrientation = escapement;
    lf.lfFaceName = L"Times New Roman";
    return lf;
}
} // namespace

TEST(DCTest, EscapementTurnsTextUpsideDownAboutItsReferencePoint)
{
    // "L" shows its turn: upright its stem is left and its foot at the bottom; upside down
    // the stem is right and the foot at the top.
    const CPoint ref(100, 60);
    const UINT alignments[] = {TA_LEFT | TA_TOP, TA_CENTER | TA_BOTTOM, TA_RIGHT | TA_BASELINE, TA_CENTER | TA_TOP};
    for (UINT align : alignments) {
        CTextInk ink[2];
        for (int turned = 0; turned < 2; ++turned) {
            QImage image(200, 120, QImage::Format_RGB32);
            image.fill(qRgb(128, 128, 128));
            CDC dc;
            dc.AttachImage(&image);
            CFont font;
            font.CreateFontIndirect(LabelFont(turned ? 1800 : 0));
            dc.SelectObject(&font);
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextAlign(align);
            dc.TextOut(ref.x, ref.y, L"L");
            ink[turned] = InkOf(image);
        }
        const QRect& up = ink[0].box;
        const QRect& down = ink[1].box;
        ASSERT_FALSE(up.isEmpty()) << align;
        // The box turned half a circle about the reference point, to within a pixel.
        EXPECT_NEAR(down.left(), 2 * ref.x - up.right() - 1, 1) << align;
        EXPECT_NEAR(down.right(), 2 * ref.x - up.left() - 1, 1) << align;
        EXPECT_NEAR(down.top(), 2 * ref.y - up.bottom() - 1, 1) << align;
        EXPECT_NEAR(down.bottom(), 2 * ref.y - up.top() - 1, 1) << align;
        EXPECT_LT(ink[0].heaviestColumn, up.center().x());
        EXPECT_GT(ink[1].heaviestColumn, down.center().x());
        EXPECT_GT(ink[0].heaviestRow, up.center().y());
        EXPECT_LT(ink[1].heaviestRow, down.center().y());
    }
}

TEST(DCTest, DrawTextTurnsUpsideDownInsideItsRectangle)
{
    const CRect frame(20, 20, 180, 100);
    CTextInk ink[2];
    for (int turned = 0; turned < 2; ++turned) {
        QImage image(200, 120, QImage::Format_RGB32);
        image.fill(qRgb(128, 128, 128));
        CDC dc;
        dc.AttachImage(&image);
        CFont font;
        font.CreateFontIndirect(LabelFont(turned ? 1800 : 0));
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        CRect rect = frame;
        dc.DrawText(L"L", &rect, DT_LEFT | DT_TOP | DT_SINGLELINE);
        ink[turned] = InkOf(image);
    }
    const QRect& up = ink[0].box;
    const QRect& down = ink[1].box;
    EXPECT_TRUE(ToQRect(frame).contains(down));
    EXPECT_NEAR(down.left(), frame.left + frame.right - up.right() - 1, 1);
    EXPECT_NEAR(down.top(), frame.top + frame.bottom - up.bottom() - 1, 1);
    EXPECT_GT(ink[1].heaviestColumn, down.center().x());
    EXPECT_LT(ink[1].heaviestRow, down.center().y());
}

TEST(DCTest, FontsMapToLiberationAndAPositiveHeightIsTheCell)
{
    const struct
    {
        std::wstring face;
        const char* family;
    } faces[] = {{L"Times New Roman", "Liberation Serif"}, {L"MS Shell Dlg", "Liberation Sans"},
                 {L"MS Sans Serif", "Liberation Sans"}};
    QImage image(300, 200, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    for (const auto& f : faces) {
        for (int height : {8, 13, 14, 18, 24, 55, 120}) {
            LOGFONT lf;
            lf.lfHeight = height;
            lf.lfFaceName = f.face;
            EXPECT_EQ(QFontInfo(MakeQFont(lf)).family().toStdString(), f.family);
            CFont font;
            font.CreateFontIndirect(lf);
            dc.SelectObject(&font);
            TEXTMETRIC tm;
            ASSERT_TRUE(dc.GetTextMetrics(&tm));
            EXPECT_EQ(tm.tmHeight, height) << f.family << " " << height;
            EXPECT_EQ(tm.tmAscent + tm.tmDescent, height) << f.family << " " << height;
            EXPECT_EQ(dc.GetTextExtent(L"Hg").cy, height);
            // The glyphs stay inside the cell below a top-aligned reference point.
            image.fill(qRgb(128, 128, 128));
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextAlign(TA_LEFT | TA_TOP);
            dc.TextOut(4, 20, L"Hgjpq");
            const QRect ink = InkBox(image);
            EXPECT_GE(ink.top(), 20) << f.family << " " << height;
            EXPECT_LT(ink.bottom(), 20 + height) << f.family << " " << height;
        }
        // A negative height is the character height: the cell less its internal leading.
        LOGFONT lf;
        lf.lfHeight = -11;
        lf.lfFaceName = f.face;
        CFont font;
        font.CreateFontIndirect(lf);
        dc.SelectObject(&font);
        TEXTMETRIC tm;
        dc.GetTextMetrics(&tm);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11) << f.family;
        EXPECT_GT(tm.tmInternalLeading, 0) << f.family;
    }
    auto* stock = static_cast<CFont*>(GetStockObject(ANSI_VAR_FONT));
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(QFontInfo(MakeQFont(stock->GetLogFont())).family(), "Liberation Sans");

    // An absurd height is limited, not honoured.
    LOGFONT huge;
    huge.lfHeight = 2000000000;
    EXPECT_EQ(FontCellOf(huge).Height(), kMaxFontHeight);
}

TEST(DCTest, OnlyAContextOnAPrinterIsPrinting)
{
    QImage image(10, 10, QImage::Format_RGB32);
    CDC dc;
    EXPECT_FALSE(dc.IsPrinting());
    dc.AttachImage(&image);
    EXPECT_FALSE(dc.IsPrinting());

    QPainter imagePainter(&image);
    dc.AttachPainter(&imagePainter);
    EXPECT_FALSE(dc.IsPrinting());
    imagePainter.end();

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("page.pdf"));
    QPainter printerPainter;
    ASSERT_TRUE(printerPainter.begin(&printer));
    dc.AttachPainter(&printerPainter);
    EXPECT_TRUE(dc.IsPrinting());
    EXPECT_GT(dc.GetDeviceCaps(HORZRES), 0);
    dc.AttachImage(&image);
    EXPECT_FALSE(dc.IsPrinting());
    printerPainter.end();
}

TEST(DCTest, ClipRegionHoldsDrawingInsideItOnTheDevice)
{
    CCanvas canvas;
    CRgn region;
    EXPECT_EQ(canvas.dc.SelectClipRgn(&region), ERROR); // never made: the context keeps no clip
    ASSERT_TRUE(region.CreateRectRgn(6, 4, 2, 1));       // corners in any order
    EXPECT_EQ(canvas.dc.SelectClipRgn(&region), SIMPLEREGION);
    region.CreateRectRgn(0, 0, 20, 20); // the context took a copy
    // The region is on the device: the viewport origin does not move it.
    canvas.dc.SetViewportOrg(1, 0);
    canvas.dc.FillSolidRect(-1, 0, 20, 20, kFill);
    canvas.dc.SetViewportOrg(0, 0);
    EXPECT_EQ(canvas.Row(0, 0, 8), "........");
    EXPECT_EQ(canvas.Row(1, 0, 8), "..oooo..");
    EXPECT_EQ(canvas.Row(3, 0, 8), "..oooo..");
    EXPECT_EQ(canvas.Row(4, 0, 8), "........");

    CRgn empty;
    empty.CreateRectRgn(3, 3, 3, 9);
    EXPECT_EQ(canvas.dc.SelectClipRgn(&empty), NULLREGION);
    canvas.dc.FillSolidRect(0, 0, 20, 20, kInk);
    EXPECT_EQ(canvas.Row(5, 0, 8), "........");
    EXPECT_EQ(canvas.dc.SelectClipRgn(nullptr), SIMPLEREGION);
    canvas.dc.FillSolidRect(0, 5, 20, 1, kInk);
    EXPECT_EQ(canvas.Row(5, 0, 8), "########");
}

TEST(DCTest, ClipBoxIsTheReachablePartInLogicalCoordinates)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("page.pdf"));
    QPainter printerPainter;
    ASSERT_TRUE(printerPainter.begin(&printer));
    CDC printerDC;
    printerDC.AttachPainter(&printerPainter);
    const CRect page(0, 0, printer.width(), printer.height());
    CRect box;
    EXPECT_EQ(printerDC.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, page);
    printerPainter.end();

    const struct
    {
        const char* name;
        std::function<void(CDC&)> set;
        int type;
        CRect expected;
    } cases[] = {
        {"none", [](CDC&) {}, SIMPLEREGION, CRect(0, 0, 20, 20)},
        {"origin", [](CDC& dc) { dc.SetViewportOrg(5, 3); }, SIMPLEREGION, CRect(-5, -3, 15, 17)},
        {"rectangle", [](CDC& dc) { dc.IntersectClipRect(2, 3, 40, 9); }, SIMPLEREGION, CRect(2, 3, 20, 9)},
        {"region and origin",
         [](CDC& dc) {
             CRgn region;
             region.CreateRectRgn(4, 4, 10, 12);
             dc.SelectClipRgn(&region);
             dc.SetViewportOrg(2, 1);
         },
         SIMPLEREGION, CRect(2, 3, 8, 11)},
        {"outside", [](CDC& dc) { dc.IntersectClipRect(30, 30, 40, 40); }, NULLREGION, CRect()},
    };
    for (const auto& c : cases) {
        CCanvas canvas;
        c.set(canvas.dc);
        CRect clipBox(-1, -1, -1, -1);
        EXPECT_EQ(canvas.dc.GetClipBox(&clipBox), c.type) << c.name;
        EXPECT_EQ(clipBox, c.expected) << c.name;
    }
    CDC unattached;
    EXPECT_EQ(unattached.GetClipBox(&box), NULLREGION);
}

TEST(DCTest, RestoreDCBringsBackAKeptStateAndDropsTheLaterOnes)
{
    CCanvas canvas;
    CDC& dc = canvas.dc;
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush blue(RGB(0, 0, 255));
    // What each level keeps, read back after a restore.
    auto state = [&dc] {
        CRect clip;
        dc.GetClipBox(&clip);
        return std::vector<int>{int(dc.GetCurrentPen()->GetLogPen().lopnColor),
                                int(dc.GetCurrentBrush()->GetLogBrush().lbColor),
                                int(dc.GetTextColor()),
                                dc.GetBkMode(),
                                int(dc.GetTextAlign()),
                                dc.GetCurrentPosition().x,
                                dc.GetViewportOrg().x,
                                clip.right};
    };
    const std::vector<int> first = state();
    EXPECT_EQ(dc.SaveDC(), 1);
    dc.SelectObject(&red);
    dc.SelectObject(&blue);
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_RIGHT);
    dc.MoveTo(7, 7);
    dc.SetViewportOrg(2, 2);
    dc.IntersectClipRect(0, 0, 10, 10);
    const std::vector<int> second = state();
    EXPECT_NE(second, first);
    EXPECT_EQ(dc.SaveDC(), 2);
    CRgn cell;
    cell.CreateRectRgn(0, 0, 4, 4);
    dc.SelectClipRgn(&cell);
    dc.SelectStockObject(BLACK_PEN);
    dc.SetViewportOrg(0, 0);
    EXPECT_EQ(dc.SaveDC(), 3);

    const struct
    {
        int level;
        bool restored;
        std::vector<int> expected;
    } steps[] = {
        {0, false, {}}, {4, false, {}}, {-4, false, {}},
        {2, true, second}, // drops levels 2 and 3
        {2, false, {}},    {-1, true, first}, {-1, false, {}},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(dc.RestoreDC(step.level), step.restored) << step.level;
        if (step.restored) {
            EXPECT_EQ(state(), step.expected) << step.level;
        }
    }
    // The restored clip is gone again: drawing reaches the whole image.
    dc.FillSolidRect(0, 19, 20, 1, kInk);
    EXPECT_EQ(canvas.Row(19, 14, 20), "######");
}

namespace {
// Two 60 x 40 surfaces, one of each kind the program draws on: a 32-bit image and a memory
// context with a bottom-up section selected.
struct CSurfaces
{
    CSurfaces() : image(60, 40, QImage::Format_RGB32)
    {
        image.fill(qRgb(128, 128, 128));
        imageDc.AttachImage(&image);
        BITMAPINFO info;
        info.bmiHeader.biWidth = 60;
        info.bmiHeader.biHeight = 40;
        uint8_t* pBits = nullptr;
        EXPECT_TRUE(dib.CreateDIBSection(info, &pBits));
        dibDc.CreateCompatibleDC(nullptr);
        dibDc.SelectObject(&dib);
    }
    std::vector<COLORREF> Pixels() const
    {
        std::vector<COLORREF> pixels;
        for (const CDC* pDc : {&imageDc, &dibDc})
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 60; ++x)
                    pixels.push_back(pDc->GetPixel(x, y));
        return pixels;
    }
    QImage image;
    CDC imageDc;
    CDibSection dib;
    CDC dibDc;
};

// Every kind of drawing call, with pixel reads and writes between them and each call's own
// state changes (composition, opacity, transform, clip) before the next.
void DrawScene(CDC& dc, CDC& other)
{
    dc.FillSolidRect(0, 0, 60, 40, RGB(30, 60, 90));
    CPen thin(PS_SOLID, 1, RGB(250, 10, 10));
    CPen wide(PS_SOLID, 3, RGB(10, 250, 10));
    CPen dotted(PS_DOT, 1, RGB(240, 240, 0));
    CBrush brush(RGB(10, 10, 250));
    dc.SelectObject(&thin);
    dc.SelectObject(&brush);
    dc.MoveTo(1, 1);
    dc.LineTo(58, 37);
    dc.Rectangle(4, 4, 20, 15);
    dc.SelectObject(&wide);
    dc.Ellipse(22, 3, 45, 20);
    dc.MoveTo(2, 30);
    dc.LineTo(50, 22);
    const CPoint chain[4] = {{5, 35}, {15, 25}, {25, 35}, {35, 25}};
    dc.SelectObject(&dotted);
    dc.Polyline(chain, 4);
    dc.SelectStockObject(HOLLOW_BRUSH);
    dc.Ellipse(40, 20, 58, 38);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectObject(&brush);
    dc.Rectangle(46, 2, 56, 9);
    const CRect frame(30, 24, 44, 34);
    dc.FrameRect(&frame, &brush);
    dc.SetPixel(3, 38, RGB(1, 2, 3));
    dc.BitBlt(10, 18, 12, 8, &other, 5, 5, SRCAND);
    dc.BitBlt(12, 20, 12, 8, &other, 25, 5, SRCPAINT);
    BLENDFUNCTION blend;
    blend.SourceConstantAlpha = 100;
    dc.AlphaBlend(20, 10, 20, 12, &other, 0, 0, 20, 12, blend);
    // Scaled: through Qt's opacity, which the next call must not inherit.
    dc.AlphaBlend(0, 20, 16, 10, &other, 30, 10, 8, 5, blend);
    dc.FillSolidRect(16, 30, 6, 6, RGB(200, 100, 50));
    dc.PatBlt(48, 12, 8, 6, DSTINVERT);
    const uint8_t bits[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    BITMAPINFO info;
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = 2;
    dc.SetDIBitsToDevice(56, 36, 2, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS);
    dc.SetViewportOrg(3, 2);
    dc.SelectObject(&thin);
    dc.Rectangle(0, 0, 8, 6);
    dc.SetViewportOrg(0, 0);
    dc.IntersectClipRect(24, 5, 36, 15);
    dc.Ellipse(20, 0, 40, 20);
    dc.SelectClipRgn(nullptr);
    CFont font;
    font.CreateFont(14, 0, 0, 0, FW_NORMAL, false, false, false, L"MS Sans Serif");
    LOGFONT turned = font.GetLogFont();
    turned.lfEscapement = 1800;
    CFont upsideDown;
    upsideDown.CreateFontIndirect(turned);
    dc.SelectObject(&font);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkColor(RGB(90, 0, 90));
    dc.TextOut(2, 2, L"Wg1");
    dc.SetBkMode(TRANSPARENT);
    dc.SelectObject(&upsideDown);
    dc.SetTextAlign(TA_CENTER | TA_BASELINE);
    dc.TextOut(40, 30, L"Ab");
    CRect box(30, 0, 60, 14);
    dc.SelectObject(&font);
    dc.DrawText(L"xy", &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}
} // namespace

TEST(DCTest, APassDrawsEveryCallAsItWouldAlone)
{
    CSurfaces alone;
    DrawScene(alone.imageDc, alone.dibDc);
    DrawScene(alone.dibDc, alone.imageDc);

    CSurfaces inPass;
    {
        const CDC::CPass imagePass(inPass.imageDc), dibPass(inPass.dibDc);
        DrawScene(inPass.imageDc, inPass.dibDc);
        // The painter stays on the image between the calls, and nested passes share it.
        EXPECT_TRUE(inPass.image.paintingActive());
        const CDC::CPass nested(inPass.dibDc);
        DrawScene(inPass.dibDc, inPass.imageDc);
    }
    EXPECT_FALSE(inPass.image.paintingActive());
    EXPECT_FALSE(inPass.dib.GetImage().paintingActive());
    EXPECT_EQ(inPass.Pixels(), alone.Pixels());
    // Another painter may paint the image once the pass is over.
    QPainter after(&inPass.image);
    EXPECT_TRUE(after.isActive());
}

// A rectangle whose pen and brush have one colour, in both surfaces and in every small size,
// sets the pixels of its outline and its interior drawn one after the other.
TEST(DCTest, OneColourRectangleIsItsOutlineAndInterior)
{
    const COLORREF colour = RGB(30, 160, 90);
    CPen pen(PS_SOLID, 1, colour), thin(PS_SOLID, 0, colour);
    CBrush brush(colour);
    auto* pNullPen = static_cast<CPen*>(GetStockObject(NULL_PEN));
    auto* pHollow = static_cast<CBrush*>(GetStockObject(HOLLOW_BRUSH));
    const CRect boxes[] = {{5, 5, 5, 5},   {5, 5, 6, 6},   {5, 5, 7, 7},  {5, 5, 8, 6}, {5, 5, 6, 9},
                           {5, 5, 17, 12}, {17, 12, 5, 5}, {-3, -2, 4, 3}, {55, 35, 64, 44}};
    for (CPen* pPen : {&pen, &thin}) {
        for (const CRect& box : boxes) {
            CSurfaces oneCall, twoCalls;
            for (CDC* pDc : {&oneCall.imageDc, &oneCall.dibDc}) {
                pDc->SelectObject(pPen);
                pDc->SelectObject(&brush);
                pDc->Rectangle(&box);
            }
            for (CDC* pDc : {&twoCalls.imageDc, &twoCalls.dibDc}) {
                pDc->SelectObject(pPen);
                pDc->SelectObject(pHollow);
                pDc->Rectangle(&box);
                pDc->SelectObject(pNullPen);
                pDc->SelectObject(&brush);
                pDc->Rectangle(&box);
            }
            EXPECT_EQ(oneCall.Pixels(), twoCalls.Pixels())
                << box.left << "," << box.top << "," << box.right << "," << box.bottom;
        }
    }
}

TEST(DCTest, APassFollowsTheBitmapSelectedIntoItsContext)
{
    CSurfaces surfaces;
    CDibSection other;
    BITMAPINFO info;
    info.bmiHeader.biWidth = 8;
    info.bmiHeader.biHeight = 8;
    uint8_t* pBits = nullptr;
    ASSERT_TRUE(other.CreateDIBSection(info, &pBits));
    const CDC::CPass pass(surfaces.dibDc);
    surfaces.dibDc.FillSolidRect(0, 0, 4, 4, RGB(0, 255, 0));
    CBitmap* pOld = surfaces.dibDc.SelectObject(&other);
    EXPECT_FALSE(surfaces.dib.GetImage().paintingActive());
    surfaces.dibDc.FillSolidRect(0, 0, 2, 2, RGB(255, 0, 0));
    EXPECT_EQ(surfaces.dibDc.GetPixel(1, 1), RGB(255, 0, 0));
    surfaces.dibDc.SelectObject(pOld);
    EXPECT_EQ(surfaces.dibDc.GetPixel(1, 1), RGB(0, 255, 0));
    EXPECT_EQ(surfaces.dibDc.GetPixel(5, 5), RGB(0, 0, 0));
}
