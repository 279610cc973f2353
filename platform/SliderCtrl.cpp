#include "SliderCtrl.h"

#include "WndHost.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>
#include <climits>

// The trackbar's widget; it draws the selection band along the groove.
class CSliderWidget : public QSlider
{
public:
    using QSlider::QSlider;
    bool m_bSelRange = false;
    int m_nSelMin = 0;
    int m_nSelMax = 0;
    bool m_bEndTicks = false; // ticks at the first and the last position only

    void SetEndTicks()
    {
        m_bEndTicks = true;
        setTickInterval(std::max(1, int(std::min<long long>(static_cast<long long>(maximum()) - minimum(), INT_MAX))));
    }

protected:
    void paintEvent(QPaintEvent* pEvent) override
    {
        QSlider::paintEvent(pEvent);
        if (!m_bSelRange || m_nSelMax <= m_nSelMin)
            return;
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        const bool bHorizontal = orientation() == Qt::Horizontal;
        const int length = bHorizontal ? handle.width() : handle.height();
        const int space = (bHorizontal ? groove.width() : groove.height()) - length;
        const int origin = (bHorizontal ? groove.x() : groove.y()) + length / 2;
        auto at = [&](int value) {
            return origin + QStyle::sliderPositionFromValue(minimum(), maximum(), value, space, option.upsideDown);
        };
        const int from = std::min(at(m_nSelMin), at(m_nSelMax));
        const int to = std::max(at(m_nSelMin), at(m_nSelMax));
        QPainter painter(this);
        painter.setClipRegion(QRegion(rect()).subtracted(handle));
        const QRect band = bHorizontal ? QRect(from, groove.center().y() - 1, to - from + 1, 3)
                                       : QRect(groove.center().x() - 1, from, 3, to - from + 1);
        painter.fillRect(band, palette().color(QPalette::Highlight));
    }
};

QWidget* CSliderCtrl::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    const bool bVertical = (cs.style & TBS_VERT) != 0;
    auto* slider = new CSliderWidget(bVertical ? Qt::Vertical : Qt::Horizontal, pParentWidget);
    if (bVertical) {
        // The minimum at the top, and Up moves toward it.
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
    }
    slider->setRange(0, 100);
    slider->setSingleStep(1);
    slider->setPageStep(20);
    // A tick for every step with TBS_AUTOTICKS, else the first and the last only; none with
    // TBS_NOTICKS.
    if (!(cs.style & TBS_NOTICKS)) {
        slider->setTickPosition((cs.style & TBS_BOTH) ? QSlider::TicksBothSides
                                : (cs.style & TBS_TOP) ? QSlider::TicksAbove : QSlider::TicksBelow);
        if (cs.style & TBS_AUTOTICKS)
            slider->setTickInterval(0);
        else
            slider->SetEndTicks();
    }
    slider->m_bSelRange = (cs.style & TBS_ENABLESELRANGE) != 0;
    QObject::connect(slider, &QAbstractSlider::actionTriggered, slider, [slider](int action) {
        CSliderCtrl* pSlider = ControlOf<CSliderCtrl>(slider);
        if (!pSlider)
            return;
        UINT code = TB_ENDTRACK;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: code = TB_LINEDOWN; break;
        case QAbstractSlider::SliderSingleStepSub: code = TB_LINEUP; break;
        case QAbstractSlider::SliderPageStepAdd: code = TB_PAGEDOWN; break;
        case QAbstractSlider::SliderPageStepSub: code = TB_PAGEUP; break;
        case QAbstractSlider::SliderToMinimum: code = TB_TOP; break;
        case QAbstractSlider::SliderToMaximum: code = TB_BOTTOM; break;
        case QAbstractSlider::SliderMove:
            // Dragged, or the wheel.
            if (slider->isSliderDown()) {
                pSlider->Notify(TB_THUMBTRACK);
                return;
            }
            code = TB_THUMBPOSITION;
            break;
        default: return;
        }
        const HWND hSlider = pSlider->GetSafeHwnd();
        pSlider->Notify(code);
        if (CWnd::FromHandle(hSlider) == pSlider)
            pSlider->Notify(TB_ENDTRACK);
    });
    QObject::connect(slider, &QAbstractSlider::sliderReleased, slider, [slider] {
        CSliderCtrl* pSlider = ControlOf<CSliderCtrl>(slider);
        if (!pSlider)
            return;
        const HWND hSlider = pSlider->GetSafeHwnd();
        pSlider->Notify(TB_THUMBPOSITION);
        if (CWnd::FromHandle(hSlider) == pSlider)
            pSlider->Notify(TB_ENDTRACK);
    });
    return slider;
}

void CSliderCtrl::Notify(UINT nCode)
{
    if (CWnd* pParent = GetParent())
        pParent->Dispatch((GetStyle() & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL, MakeScrollParam(nCode, GetPos()),
                          reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

void CSliderCtrl::SetRange(int nMin, int nMax, bool bRedraw)
{
    auto* slider = static_cast<CSliderWidget*>(GetWidget());
    if (!slider)
        return;
    const QSignalBlocker blocker(slider);
    slider->setRange(nMin, nMax);
    slider->setPageStep(std::max(1, int((static_cast<long long>(nMax) - nMin) / 5)));
    if (slider->m_bEndTicks)
        slider->SetEndTicks();
    if (bRedraw)
        slider->update();
}

int CSliderCtrl::GetRangeMin() const
{
    const auto* slider = static_cast<const CSliderWidget*>(GetWidget());
    return slider ? slider->minimum() : 0;
}

int CSliderCtrl::GetRangeMax() const
{
    const auto* slider = static_cast<const CSliderWidget*>(GetWidget());
    return slider ? slider->maximum() : 0;
}

void CSliderCtrl::SetPos(int nPos)
{
    auto* slider = static_cast<CSliderWidget*>(GetWidget());
    if (!slider)
        return;
    const QSignalBlocker blocker(slider);
    slider->setValue(nPos);
}

int CSliderCtrl::GetPos() const
{
    // While the user's action is being reported the thumb is already where it goes.
    const auto* slider = static_cast<const CSliderWidget*>(GetWidget());
    return slider ? slider->sliderPosition() : 0;
}

void CSliderCtrl::SetSelection(int nMin, int nMax)
{
    auto* slider = static_cast<CSliderWidget*>(GetWidget());
    if (!slider)
        return;
    slider->m_nSelMin = nMin;
    slider->m_nSelMax = nMax;
    slider->update();
}

void CSliderCtrl::GetSelection(int& nMin, int& nMax) const
{
    const auto* slider = static_cast<const CSliderWidget*>(GetWidget());
    nMin = slider ? slider->m_nSelMin : 0;
    nMax = slider ? slider->m_nSelMax : 0;
}

void CSliderCtrl::ClearTics(bool bRedraw)
{
    auto* slider = static_cast<CSliderWidget*>(GetWidget());
    if (!slider)
        return;
    // The first and the last tick stay.
    if (slider->tickPosition() != QSlider::NoTicks)
        slider->SetEndTicks();
    if (bRedraw)
        slider->update();
}
