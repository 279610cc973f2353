#include "ImageList.h"

#include <algorithm>

bool CImageList::Create(int cx, int cy, UINT, int nInitial, int)
{
    if (cx <= 0 || cy <= 0)
        return false;
    m_cx = cx;
    m_cy = cy;
    m_images.clear();
    m_images.reserve(size_t(std::max(0, std::min(nInitial, 4096))));
    return true;
}

int CImageList::Add(const CBitmap* pImage)
{
    if (m_cx <= 0 || !pImage || pImage->GetImage().width() < m_cx || pImage->GetImage().height() < m_cy)
        return -1;
    const QImage& strip = pImage->GetImage();
    const int first = GetImageCount();
    for (int x = 0; x + m_cx <= strip.width(); x += m_cx)
        m_images.push_back(strip.copy(x, 0, m_cx, m_cy).convertToFormat(QImage::Format_RGB888));
    return first;
}

bool CImageList::Remove(int nImage)
{
    if (nImage == -1) {
        m_images.clear();
        return true;
    }
    if (nImage < 0 || nImage >= GetImageCount())
        return false;
    m_images.erase(m_images.begin() + nImage);
    return true;
}

const QImage* CImageList::GetImage(int nImage) const
{
    return nImage >= 0 && nImage < GetImageCount() ? &m_images[size_t(nImage)] : nullptr;
}
