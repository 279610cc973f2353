#pragma once
// The image list of the list view.

#include "GdiObjects.h"
#include "Types.h"

#include <QImage>
#include <vector>

// Colour depth flag of Create.
enum : UINT { ILC_COLOR24 = 0x18 };

// Images of one size, by index. A bitmap wider than one image adds a strip of images.
class CImageList
{
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // The colour depth and the growth are the framework's memory hints: images are kept as they
    // come, in 24-bit colour.
    bool Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // The index of the first image added; -1 when the list is not created or the bitmap is
    // smaller than one image.
    int Add(const CBitmap* pImage);
    // -1 removes all.
    bool Remove(int nImage);
    int GetImageCount() const { return int(m_images.size()); }
    CSize GetImageSize() const { return {m_cx, m_cy}; }
    // Null for an index outside the list.
    const QImage* GetImage(int nImage) const;

private:
    int m_cx = 0;
    int m_cy = 0;
    std::vector<QImage> m_images;
};
