#pragma once
// A printer page in memory: a paged paint device whose painting lands in a white image of the
// given size at the given resolution, so that tests can look at what a print job drew. A
// context on a painter of it counts as printing.

#include <QImage>
#include <QPagedPaintDevice>

class CPagedImage : public QPagedPaintDevice
{
public:
    CPagedImage(int width, int height, int dpi);

    // One page only: there is no next one.
    bool newPage() override;
    QPaintEngine* paintEngine() const override;

    const QImage& GetImage() const { return m_image; }

protected:
    int metric(PaintDeviceMetric metric) const override;
    // The painting goes to the image, while the painter's device stays this page.
    QPaintDevice* redirected(QPoint* pOffset) const override;

private:
    QImage m_image;
    int m_nDpi;
};
