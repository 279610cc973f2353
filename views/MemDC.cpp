#include "MemDC.h"

#include "MessageLog.h"

#include <algorithm>
#include <cstring>

namespace Tovrik {

CMemDC::~CMemDC()
{
    Release();
}

void CMemDC::Create(int width, int height, int bitsPerPixel)
{
    Release();
    m_nWidth = width;
    m_nHeight = height;
    m_nBitsPerPixel = bitsPerPixel == 24 ? 24 : kBitsPerPixel;
    m_bitmapInfo = BITMAPINFO();
    m_bitmapInfo.bmiHeader.biSize = 40;
    m_bitmapInfo.bmiHeader.biPlanes = 1;
    m_bitmapInfo.bmiHeader.biBitCount = WORD(m_nBitsPerPixel);
    m_bitmapInfo.bmiHeader.biCompression = BI_RGB;
    Resize(width, height);
}

void CMemDC::Resize(int width, int height)
{
    CPen* pPen = nullptr;
    CBrush* pBrush = nullptr;
    if (m_bCreated) {
        pBrush = GetCurrentBrush();
        pPen = GetCurrentPen();
        Release();
    }
    m_nWidth = width;
    m_nHeight = height;
    m_bitmapInfo.bmiHeader.biWidth = width;
    m_bitmapInfo.bmiHeader.biHeight = height;

    if (!CreateCompatibleDC(nullptr))
        g_messageLog.Log(LOG_ERROR, "CMemDC::Resize: fail when CreateCompatibleDC.");
    auto section = std::make_unique<CDibSection>();
    uint8_t* pBits = nullptr;
    if (section->CreateDIBSection(m_bitmapInfo, &pBits))
        m_srcHBitmap = std::move(section);
    m_pSrcBuffer = pBits;
    if (!m_srcHBitmap)
        g_messageLog.Log(LOG_ERROR, "CMemDC::Resize: m_srcHBitmap is NULL");
    if (!m_pSrcBuffer)
        g_messageLog.Log(LOG_ERROR, "CMemDC::Resize: m_pSrcBuffer is NULL");

    if (m_srcHBitmap)
        m_pOldBitmap = SelectObject(m_srcHBitmap.get());
    SelectObject(pBrush);
    SelectObject(pPen);
    m_bCreated = true;
}

void CMemDC::Release()
{
    if (!m_bCreated)
        return;
    SelectStockObject(BLACK_BRUSH);
    SelectStockObject(BLACK_PEN);
    if (m_pOldBitmap)
        SelectObject(m_pOldBitmap);
    m_pOldBitmap = nullptr;
    m_srcHBitmap.reset();
    m_pSrcBuffer = nullptr;
    if (!IsAttached())
        g_messageLog.Log(LOG_ERROR, "CMemDC::Release(): unable to DeleteDC.");
    DeleteDC();
    m_bCreated = false;
    m_bValid = false;
}

void CMemDC::CopyBlock(CPoint origin, int width, int height, uint8_t* pDest) const
{
    if (!m_pSrcBuffer || !pDest || width <= 0 || height <= 0)
        return;
    const int destStride = DibStride(width, m_nBitsPerPixel);
    const int pixelBytes = GetBytesPerPixel();
    const int stride = GetStride();
    // Only the part of the block that lies on the surface.
    const int x0 = std::max(origin.x, 0), x1 = std::min(origin.x + width, m_nWidth);
    const int y0 = std::max(origin.y, 0), y1 = std::min(origin.y + height, m_nHeight);
    if (x0 >= x1 || y0 >= y1)
        return;
    const size_t rowBytes = size_t(x1 - x0) * pixelBytes;
    for (int y = y0; y < y1; ++y)
        std::memcpy(pDest + ptrdiff_t(y - origin.y) * destStride + ptrdiff_t(x0 - origin.x) * pixelBytes,
                    m_pSrcBuffer + ptrdiff_t(y) * stride + ptrdiff_t(x0) * pixelBytes, rowBytes);
}

} // namespace Tovrik
