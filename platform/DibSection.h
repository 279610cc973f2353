#pragma once
// The DIB section: a 24-bit bitmap whose pixels the program also writes directly, stored as
// the platform's device-independent bitmaps are: 3 bytes a pixel (blue, green, red), rows of
// DibStride(width, 24) bytes, the first row in memory the bottom row of the picture. A memory
// device context with a section selected draws into it the right way up. Beside it, the
// pixel rows that the device context copies and blends between without Qt: sections and
// 32-bit images alike, addressed by picture row.

#include "DC.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CDibSection : public CBitmap
{
public:
    CDibSection() = default;

    // A 24-bit BI_RGB section of the header's size (a positive height: bottom-up) with its
    // pixels black. False, with *ppBits null, for any other format, a size below 1 x 1 or
    // one too large to allocate.
    bool CreateDIBSection(const BITMAPINFO& info, uint8_t** ppBits);
    void DeleteObject() override;

    uint8_t* GetBits() const { return m_bits.get(); }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetStride() const { return m_nStride; }

private:
    std::unique_ptr<uint8_t[]> m_bits;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nStride = 0;
};

// Rows of pixels whose first three bytes are blue, green and red: 3 bytes a pixel in a DIB
// section, 4 in a 32-bit image (whose fourth byte is kept opaque).
struct CPixelRows
{
    uint8_t* m_pTop = nullptr; // picture row 0
    ptrdiff_t m_nStep = 0;     // bytes from one picture row to the next; negative bottom-up
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nPixelBytes = 0;

    bool IsNull() const { return m_pTop == nullptr; }
    uint8_t* Row(int y) const { return m_pTop + y * m_nStep; }
};

CPixelRows PixelRowsOf(CDibSection& dib);
// Only 32-bit formats; null rows for any other. Writing detaches a shared image first.
CPixelRows PixelRowsOf(QImage& image, bool bForWriting);

// SRCCOPY, SRCAND or SRCPAINT of a w x h block from (xSrc, ySrc) to (x, y), clipped to both
// rows and to pClip; the source may be the destination itself.
void BlitPixelRows(const CPixelRows& dst, int x, int y, const CPixelRows& src, int xSrc, int ySrc, int w, int h,
                   DWORD dwRop, const CRect* pClip);
// Constant alpha: each byte becomes dst + ((src - dst) * alpha + 127) / 255.
void BlendPixelRows(const CPixelRows& dst, int x, int y, const CPixelRows& src, int xSrc, int ySrc, int w, int h,
                    int alpha, const CRect* pClip);
