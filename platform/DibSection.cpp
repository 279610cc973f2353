#include "DibSection.h"

#include <QImage>
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {
// The largest section: far beyond any window, well inside what QImage can address.
constexpr int64_t kMaxSectionBytes = int64_t(1) << 30;

CRect Intersect(const CRect& a, const CRect& b)
{
    return CRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom));
}

// The block in destination coordinates, limited to both row sets and the clip; false when
// nothing of it remains.
bool ClipBlock(const CPixelRows& dst, int& x, int& y, const CPixelRows& src, int& xSrc, int& ySrc, int& w, int& h,
               const CRect* pClip)
{
    if (dst.IsNull() || src.IsNull() || w <= 0 || h <= 0)
        return false;
    CRect block(x, y, x + w, y + h);
    block = Intersect(block, CRect(0, 0, dst.m_nWidth, dst.m_nHeight));
    block = Intersect(block, CRect(x - xSrc, y - ySrc, x - xSrc + src.m_nWidth, y - ySrc + src.m_nHeight));
    if (pClip)
        block = Intersect(block, *pClip);
    if (block.IsRectEmpty())
        return false;
    xSrc += block.left - x;
    ySrc += block.top - y;
    x = block.left;
    y = block.top;
    w = block.Width();
    h = block.Height();
    return true;
}

// The source block on its own, for a copy within one buffer.
CPixelRows CopyOut(const CPixelRows& src, int xSrc, int ySrc, int w, int h, std::vector<uint8_t>& store)
{
    const size_t rowBytes = size_t(w) * size_t(src.m_nPixelBytes);
    store.resize(rowBytes * size_t(h));
    for (int r = 0; r < h; ++r)
        std::memcpy(store.data() + rowBytes * size_t(r), src.Row(ySrc + r) + xSrc * src.m_nPixelBytes, rowBytes);
    CPixelRows copy;
    copy.m_pTop = store.data();
    copy.m_nStep = ptrdiff_t(rowBytes);
    copy.m_nWidth = w;
    copy.m_nHeight = h;
    copy.m_nPixelBytes = src.m_nPixelBytes;
    return copy;
}

// Clips the block to both surfaces; when they are one surface the source block is taken out
// first, so that an overlapping copy reads what was there before.
bool PrepareBlock(const CPixelRows& dst, int& x, int& y, const CPixelRows& srcRows, int& xSrc, int& ySrc, int& w,
                  int& h, const CRect* pClip, std::vector<uint8_t>& store, CPixelRows& src)
{
    if (!ClipBlock(dst, x, y, srcRows, xSrc, ySrc, w, h, pClip))
        return false;
    src = srcRows;
    if (src.m_pTop == dst.m_pTop) {
        src = CopyOut(srcRows, xSrc, ySrc, w, h, store);
        xSrc = ySrc = 0;
    }
    return true;
}

} // namespace

bool CDibSection::CreateDIBSection(const BITMAPINFO& info, uint8_t** ppBits)
{
    DeleteObject();
    if (ppBits)
        *ppBits = nullptr;
    const BITMAPINFOHEADER& header = info.bmiHeader;
    if (header.biBitCount != 24 || header.biCompression != BI_RGB || header.biPlanes != 1 || header.biWidth <= 0 ||
        header.biHeight <= 0)
        return false;
    const int64_t stride = ((int64_t(header.biWidth) * 24 + 31) / 32) * 4;
    const int64_t bytes = stride * int64_t(header.biHeight);
    if (bytes > kMaxSectionBytes)
        return false;
    m_bits.reset(new (std::nothrow) uint8_t[size_t(bytes)]());
    if (!m_bits)
        return false;
    m_nWidth = header.biWidth;
    m_nHeight = header.biHeight;
    m_nStride = int(stride);
    // The device context's view of the pixels: memory order, so the picture upside down.
    GetImage() = QImage(m_bits.get(), m_nWidth, m_nHeight, m_nStride, QImage::Format_BGR888);
    m_bCreated = true;
    if (ppBits)
        *ppBits = m_bits.get();
    return true;
}

void CDibSection::DeleteObject()
{
    CBitmap::DeleteObject();
    m_bits.reset();
    m_nWidth = m_nHeight = m_nStride = 0;
}

CPixelRows PixelRowsOf(CDibSection& dib)
{
    CPixelRows rows;
    if (!dib.GetBits())
        return rows;
    rows.m_nStep = -ptrdiff_t(dib.GetStride());
    rows.m_pTop = dib.GetBits() + ptrdiff_t(dib.GetHeight() - 1) * dib.GetStride();
    rows.m_nWidth = dib.GetWidth();
    rows.m_nHeight = dib.GetHeight();
    rows.m_nPixelBytes = 3;
    return rows;
}

CPixelRows PixelRowsOf(QImage& image, bool bForWriting)
{
    CPixelRows rows;
    const QImage::Format format = image.format();
    if (image.isNull() || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
                           format != QImage::Format_ARGB32_Premultiplied))
        return rows;
    rows.m_pTop = bForWriting ? image.bits() : const_cast<uint8_t*>(image.constBits());
    rows.m_nStep = ptrdiff_t(image.bytesPerLine());
    rows.m_nWidth = image.width();
    rows.m_nHeight = image.height();
    rows.m_nPixelBytes = 4;
    return rows;
}

void BlitPixelRows(const CPixelRows& dst, int x, int y, const CPixelRows& srcRows, int xSrc, int ySrc, int w, int h,
                   DWORD dwRop, const CRect* pClip)
{
    std::vector<uint8_t> store;
    CPixelRows src;
    if (!PrepareBlock(dst, x, y, srcRows, xSrc, ySrc, w, h, pClip, store, src))
        return;
    const int sb = src.m_nPixelBytes, db = dst.m_nPixelBytes;
    for (int r = 0; r < h; ++r) {
        const uint8_t* s = src.Row(ySrc + r) + xSrc * sb;
        uint8_t* d = dst.Row(y + r) + x * db;
        if (dwRop == SRCCOPY && sb == db) {
            std::memcpy(d, s, size_t(w) * size_t(db));
            continue;
        }
        for (int i = 0; i < w; ++i, s += sb, d += db) {
            if (dwRop == SRCAND) {
                d[0] &= s[0];
                d[1] &= s[1];
                d[2] &= s[2];
            } else if (dwRop == SRCPAINT) {
                d[0] |= s[0];
                d[1] |= s[1];
                d[2] |= s[2];
            } else {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                if (db == 4)
                    d[3] = 0xFF;
            }
        }
    }
}

void BlendPixelRows(const CPixelRows& dst, int x, int y, const CPixelRows& srcRows, int xSrc, int ySrc, int w, int h,
                    int alpha, const CRect* pClip)
{
    std::vector<uint8_t> store;
    CPixelRows src;
    if (!PrepareBlock(dst, x, y, srcRows, xSrc, ySrc, w, h, pClip, store, src))
        return;
    // The change of a byte for each difference src - dst, in C's division as the rule has it;
    // kept for the next blend, which mostly has the same alpha.
    thread_local int tableAlpha = -1;
    thread_local int delta[511];
    if (alpha != tableAlpha) {
        for (int diff = -255; diff <= 255; ++diff)
            delta[diff + 255] = (diff * alpha + 127) / 255;
        tableAlpha = alpha;
    }
    const int sb = src.m_nPixelBytes, db = dst.m_nPixelBytes;
    for (int r = 0; r < h; ++r) {
        const uint8_t* s = src.Row(ySrc + r) + xSrc * sb;
        uint8_t* d = dst.Row(y + r) + x * db;
        for (int i = 0; i < w; ++i, s += sb, d += db) {
            d[0] = uint8_t(d[0] + delta[s[0] - d[0] + 255]);
            d[1] = uint8_t(d[1] + delta[s[1] - d[1] + 255]);
            d[2] = uint8_t(d[2] + delta[s[2] - d[2] + 255]);
        }
    }
}
