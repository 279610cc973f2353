#pragma once
// The off-screen drawing surface of every data window: a memory device context with a 32-bit
// bottom-up DIB section selected into it. A renderer draws on it with the device context's
// operations and writes pixels straight into its bits: one 32-bit word a pixel, bytes blue,
// green, red and 255 (PixelOf), rows of GetStride() = width x 4 bytes, buffer row 0 the bottom
// row of the image, so that window row y is buffer row height - 1 - y. The format is that of
// the windows' backing images, so that copying the surface to a window moves whole rows.
// A surface for text may be made 24-bit (3 bytes a pixel, rows rounded up to 4 bytes): Qt
// smooths glyph edges into the two formats differently, and the rulers' labels keep the
// pixels they have always had. Owners copy a surface to a window or printer with BitBlt. The
// surface itself never draws anything.

#include "DC.h"
#include "DibSection.h"

#include <cstdint>
#include <memory>

namespace Tovrik {

class CMemDC : public CDC
{
public:
    static constexpr int kBitsPerPixel = 32;

    // The stored word of a colour 0x00BBGGRR.
    static constexpr uint32_t PixelOf(COLORREF colour)
    {
        return 0xFF000000u | (colour & 0xFFu) << 16 | (colour & 0xFF00u) | (colour >> 16 & 0xFFu);
    }

    CMemDC() = default;
    ~CMemDC() override;

    // Releases what exists, then makes a surface of the size and format (32 or 24 bits).
    void Create(int width, int height, int bitsPerPixel = kBitsPerPixel);
    // Makes the DC and section again at the new size, keeping the selected pen and brush.
    // A failure is logged and leaves the surface without bits (GetBits() null).
    void Resize(int width, int height);
    // Puts back the old bitmap, frees the section and the DC and clears the valid flag.
    void Release();

    // Copies the block of width x height pixels whose lower-left corner is origin, in buffer
    // order (bottom-up), into pDest laid out as a DIB of the surface's format and the block's
    // size: block row r at pDest + r x DibStride(width, GetBitsPerPixel()). The part of the
    // block outside the surface is not copied, nor the fill bytes at the end of a 24-bit row.
    void CopyBlock(CPoint origin, int width, int height, uint8_t* pDest) const;

    bool IsCreated() const { return m_bCreated; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    // The owner's image-is-current flag; every release clears it.
    bool IsValid() const { return m_bValid; }
    void SetValid(bool bValid) { m_bValid = bValid; }

    const BITMAPINFO& GetBitmapInfo() const { return m_bitmapInfo; }
    uint8_t* GetBits() const { return m_pSrcBuffer; }
    int GetStride() const { return DibStride(m_nWidth, m_nBitsPerPixel); }
    int GetBitsPerPixel() const { return m_nBitsPerPixel; }
    int GetBytesPerPixel() const { return m_nBitsPerPixel / 8; }
    // The first byte of window row y (0 = top); null without bits.
    uint8_t* GetRowBits(int y) const
    {
        return m_pSrcBuffer ? m_pSrcBuffer + ptrdiff_t(m_nHeight - 1 - y) * GetStride() : nullptr;
    }
    // The pixels of window row y (0 = top) of a 32-bit surface; null without bits.
    uint32_t* GetRowPixels(int y) const { return reinterpret_cast<uint32_t*>(GetRowBits(y)); }

private:
    bool m_bCreated = false;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    bool m_bValid = false;
    BITMAPINFO m_bitmapInfo;
    std::unique_ptr<CDibSection> m_srcHBitmap;
    CBitmap* m_pOldBitmap = nullptr;
    uint8_t* m_pSrcBuffer = nullptr;
    int32_t m_nBitsPerPixel = kBitsPerPixel;
};

} // namespace Tovrik
