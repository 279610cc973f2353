#pragma once
// The Qt side of a window: a widget class (a plain widget, a main window or a dialog) that
// hands its events to its CWnd. Used by the layer only.

#include "Wnd.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QWidget>

// What the layer knows of every host, whatever its widget class.
struct CWndHostLink
{
    virtual ~CWndHostLink() = default;
    CWnd* m_pWnd = nullptr;
    bool m_bOwnPaint = false; // painted through the window's backing image
};

template <typename TBase>
class CWndHost : public TBase, public CWndHostLink
{
public:
    template <typename... TArgs>
    explicit CWndHost(CWnd* pWnd, bool bOwnPaint, TArgs&&... args)
        : TBase(std::forward<TArgs>(args)...)
    {
        m_pWnd = pWnd;
        m_bOwnPaint = bOwnPaint;
        if (bOwnPaint) {
            this->setAttribute(Qt::WA_OpaquePaintEvent);
            this->setAttribute(Qt::WA_NoSystemBackground);
        }
        this->setMouseTracking(true);
    }

protected:
    bool event(QEvent* pEvent) override
    {
        if (m_pWnd && m_pWnd->TranslateEvent(pEvent))
            return true;
        return TBase::event(pEvent);
    }

    void paintEvent(QPaintEvent* pEvent) override
    {
        if (m_pWnd && m_bOwnPaint)
            m_pWnd->PaintFromHost(this, pEvent);
        else
            TBase::paintEvent(pEvent);
    }
};

// Qt's handling of an event for a widget that wraps its own event handling, then the wrapper's
// work after it. Qt's handling may delete the widget (a deferred delete always does, a handler
// may destroy its window), and the work after it then never runs.
template <typename TQtHandling, typename TAfter>
bool HandleThenIfAlive(QObject* pReceiver, TQtHandling qtHandling, TAfter after)
{
    const QPointer<QObject> receiver(pReceiver);
    const bool bHandled = qtHandling();
    if (receiver)
        after();
    return bHandled;
}

// The window of exactly this widget, of the control class asked for.
template <typename TControl>
TControl* ControlOf(const QWidget* pWidget)
{
    auto* pControl = dynamic_cast<TControl*>(CWnd::FromWidget(pWidget));
    return pControl && pControl->GetWidget() == pWidget ? pControl : nullptr;
}
