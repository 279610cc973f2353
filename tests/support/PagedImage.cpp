#include "PagedImage.h"

#include <QPoint>

// The page keeps no page layout of its own: nothing of a print job asks for one.
CPagedImage::CPagedImage(int width, int height, int dpi)
    : QPagedPaintDevice(nullptr), m_image(width, height, QImage::Format_RGB32), m_nDpi(dpi)
{
    m_image.fill(Qt::white);
    const int dotsPerMetre = int(dpi / 0.0254 + 0.5);
    m_image.setDotsPerMeterX(dotsPerMetre);
    m_image.setDotsPerMeterY(dotsPerMetre);
}

bool CPagedImage::newPage()
{
    return false;
}

QPaintEngine* CPagedImage::paintEngine() const
{
    return m_image.paintEngine();
}

int CPagedImage::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_image.width();
    case PdmHeight: return m_image.height();
    case PdmWidthMM: return int(m_image.width() * 25.4 / m_nDpi);
    case PdmHeightMM: return int(m_image.height() * 25.4 / m_nDpi);
    case PdmNumColors: return 0;
    case PdmDepth: return m_image.depth();
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return m_nDpi;
    default: return QPagedPaintDevice::metric(metric);
    }
}

QPaintDevice* CPagedImage::redirected(QPoint* pOffset) const
{
    if (pOffset)
        *pOffset = QPoint();
    return const_cast<QImage*>(&m_image);
}
