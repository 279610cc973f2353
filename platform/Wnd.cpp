#include "Wnd.h"

#include "DC.h"
#include "QtConvert.h"
#include "Services.h"
#include "WinApp.h"
#include "WndHost.h"

#include "MessageLog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <exception>
#include <unordered_map>

namespace {
std::unordered_map<HWND, CWnd*> s_handles;
std::unordered_map<const QWidget*, CWnd*> s_widgets;
uintptr_t s_nextHandle = 1;
CWnd* s_pCapture = nullptr;
// Qt handlers on the stack: a widget is then deleted later, never under its own event.
int s_nDispatchDepth = 0;

// A paint of a widget from its window's picture is on the stack.
class CHostPaint
{
public:
    CHostPaint() { ++s_nDepth; }
    ~CHostPaint() { --s_nDepth; }
    CHostPaint(const CHostPaint&) = delete;
    CHostPaint& operator=(const CHostPaint&) = delete;
    static bool IsActive() { return s_nDepth > 0; }

private:
    static inline int s_nDepth = 0;
};

const QEvent::Type kPostedMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class CPostedMessage : public QEvent
{
public:
    CPostedMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(kPostedMessageEvent), m_hWnd(hWnd), m_message(message), m_wParam(wParam), m_lParam(lParam)
    {
    }
    HWND m_hWnd;
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

// Receives the posted messages of all windows and hands each to its window if it still exists.
class CPostTarget : public QObject
{
public:
    using QObject::QObject;
    bool event(QEvent* pEvent) override
    {
        if (pEvent->type() != kPostedMessageEvent)
            return QObject::event(pEvent);
        const auto* posted = static_cast<CPostedMessage*>(pEvent);
        if (CWnd* pWnd = CWnd::FromHandle(posted->m_hWnd))
            pWnd->Dispatch(posted->m_message, posted->m_wParam, posted->m_lParam);
        return true;
    }
};

QObject* PostTarget()
{
    static QPointer<CPostTarget> s_target;
    if (!s_target && QCoreApplication::instance())
        s_target = new CPostTarget(QCoreApplication::instance());
    return s_target;
}

UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

UINT ButtonMessage(QEvent::Type type, Qt::MouseButton button)
{
    const int index = button == Qt::LeftButton ? 0 : button == Qt::RightButton ? 1 : button == Qt::MiddleButton ? 2 : -1;
    if (index < 0)
        return WM_NULL;
    static const UINT kMessages[3][3] = {
        {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
        {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
        {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDOWN},
    };
    const int kind = type == QEvent::MouseButtonPress ? 0 : type == QEvent::MouseButtonRelease ? 1 : 2;
    return kMessages[index][kind];
}

std::vector<HWND> Handles(const std::vector<CWnd*>& windows)
{
    std::vector<HWND> handles;
    for (const CWnd* pWnd : windows)
        handles.push_back(pWnd->GetSafeHwnd());
    return handles;
}
} // namespace

int GetSystemMetrics(int nIndex)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    return nIndex == SM_CXSCREEN ? screen->geometry().width() : nIndex == SM_CYSCREEN ? screen->geometry().height() : 0;
}

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (!m_hWnd)
        return;
    // Only the base part is left: the widget stops forwarding events and nothing reaches a
    // handler, mapped or virtual, while the window goes.
    m_bDetached = true;
    m_messageMap.clear();
    if (auto* link = dynamic_cast<CWndHostLink*>(m_pWidget))
        link->m_pWnd = nullptr;
    DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    const auto it = s_handles.find(hWnd);
    return it == s_handles.end() ? nullptr : it->second;
}

CWnd* CWnd::FromWidget(const QWidget* pWidget)
{
    for (; pWidget; pWidget = pWidget->parentWidget()) {
        const auto it = s_widgets.find(pWidget);
        if (it != s_widgets.end())
            return it->second;
    }
    return nullptr;
}

void CWnd::Register()
{
    m_hWnd = reinterpret_cast<HWND>(s_nextHandle++);
    s_handles[m_hWnd] = this;
    s_widgets[m_pWidget] = this;
}

void CWnd::Unregister()
{
    s_handles.erase(m_hWnd);
    s_widgets.erase(m_pWidget);
    m_hWnd = nullptr;
}

bool CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return true;
}

QWidget* CWnd::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* widget = new CWndHost<QWidget>(this, true, pParentWidget);
    if (!(cs.style & WS_CHILD))
        widget->setWindowFlags(Qt::Window);
    return widget;
}

bool CWnd::Create(const std::wstring& windowName, DWORD dwStyle, const CRect& rect, CWnd* pParent, UINT nID)
{
    if (m_hWnd)
        return false;
    CREATESTRUCT cs;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.Width();
    cs.cy = rect.Height();
    cs.style = dwStyle;
    cs.lpszName = windowName;
    if (!PreCreateWindow(cs))
        return false;
    if ((cs.style & WS_CHILD) && (!pParent || !pParent->GetWidget()))
        return false;
    QWidget* widget = CreateWidget(cs, pParent ? pParent->GetWidget() : nullptr);
    const auto* link = dynamic_cast<CWndHostLink*>(widget);
    return FinishCreate(widget, cs, pParent, nID, link && link->m_bOwnPaint);
}

bool CWnd::FinishCreate(QWidget* pWidget, CREATESTRUCT& cs, CWnd* pParent, UINT nID, bool bOwnPaint)
{
    if (!pWidget)
        return false;
    m_pWidget = pWidget;
    m_dwStyle = cs.style;
    m_nID = int(nID);
    m_bOwnPaint = bOwnPaint;
    m_strText = cs.lpszName;
    Register();
    if (IsTopLevel()) {
        m_pOwner = pParent;
        if (pParent)
            pParent->m_owned.push_back(this);
    } else {
        m_pParent = pParent;
        pParent->m_children.push_back(this);
    }
    if (cs.cx != CW_USEDEFAULT && cs.cy != CW_USEDEFAULT) {
        if (cs.x != CW_USEDEFAULT && cs.y != CW_USEDEFAULT)
            pWidget->setGeometry(cs.x, cs.y, cs.cx, cs.cy);
        else
            pWidget->resize(cs.cx, cs.cy);
    }
    MINMAXINFO info;
    OnGetMinMaxInfo(&info);
    if (info.ptMinTrackSize.x > 0 || info.ptMinTrackSize.y > 0)
        pWidget->setMinimumSize(info.ptMinTrackSize.x, info.ptMinTrackSize.y);
    if (!m_strText.empty())
        SetWindowText(m_strText);
    if (m_bOwnPaint) {
        ResizeBacking(pWidget->width(), pWidget->height());
        // Clicked windows take the keyboard focus, so that keys reach the views.
        if (!IsTopLevel())
            pWidget->setFocusPolicy(cs.style & WS_TABSTOP ? Qt::StrongFocus : Qt::ClickFocus);
    }
    m_bCreating = true;
    const bool bCreated = Dispatch(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs), -1) != -1;
    if (!bCreated)
        DestroyWindow();
    m_bCreating = false;
    if (!bCreated)
        return false;
    if (cs.style & WS_DISABLED)
        pWidget->setEnabled(false);
    // Qt would show a child with its parent; a window without WS_VISIBLE stays hidden.
    pWidget->setVisible((cs.style & WS_VISIBLE) != 0);
    return true;
}

bool CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return false;
    if (!m_bDetached)
        Dispatch(WM_DESTROY, 0, 0);
    for (HWND hOwned : Handles(m_owned))
        if (CWnd* p = FromHandle(hOwned))
            p->DestroyWindow();
    for (HWND hChild : Handles(m_children))
        if (CWnd* p = FromHandle(hChild))
            p->DestroyWindow();
    if (s_pCapture == this)
        ReleaseCapture();
    if (m_pParent) {
        auto& list = m_pParent->m_children;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    if (m_pOwner) {
        auto& list = m_pOwner->m_owned;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    QWidget* widget = m_pWidget;
    Unregister();
    m_pWidget = nullptr;
    m_pParent = nullptr;
    m_pOwner = nullptr;
    if (auto* link = dynamic_cast<CWndHostLink*>(widget))
        link->m_pWnd = nullptr;
    widget->hide();
    if (s_nDispatchDepth > 0)
        widget->deleteLater();
    else
        delete widget;
    // A window whose creation failed is deleted by its creator, one whose object is being
    // destroyed by whoever destroys it.
    if (!m_bCreating && !m_bDetached)
        PostNcDestroy();
    return true;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd || m_bDetached)
        return 0;
    return WindowProc(message, wParam, lParam);
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    QObject* target = PostTarget();
    if (!m_hWnd || !target)
        return false;
    QCoreApplication::postEvent(target, new CPostedMessage(m_hWnd, message, wParam, lParam));
    return true;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool bDeep)
{
    for (HWND hChild : Handles(m_children)) {
        if (CWnd* pChild = FromHandle(hChild)) {
            pChild->SendMessage(message, wParam, lParam);
            if (bDeep && FromHandle(hChild))
                pChild->SendMessageToDescendants(message, wParam, lParam, true);
        }
    }
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT resultOnException)
{
    ++s_nDispatchDepth;
    LRESULT result = resultOnException;
    try {
        result = SendMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        result = resultOnException;
        g_messageLog.Log(LOG_ERROR, "CWnd::Dispatch: message 0x%04x ended by an exception: %s", message, e.what());
    } catch (...) {
        result = resultOnException;
        g_messageLog.Log(LOG_ERROR, "CWnd::Dispatch: message 0x%04x ended by an unknown exception.", message);
    }
    --s_nDispatchDepth;
    return result;
}

void CWnd::MapMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler)
{
    m_messageMap[message] = std::move(handler);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto mapped = m_messageMap.find(message);
    if (mapped != m_messageMap.end())
        return mapped->second(wParam, lParam);
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const UINT flags = UINT(wParam);
    switch (message) {
    case WM_CREATE: return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam)) ? 1 : 0;
    case WM_SIZE: OnSize(UINT(wParam), LOWORD(uint64_t(lParam)), HIWORD(uint64_t(lParam))); return 0;
    case WM_SHOWWINDOW: OnShowWindow(wParam != 0, UINT(lParam)); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_SETFOCUS: OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return 0;
    case WM_KILLFOCUS: OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return 0;
    case WM_KEYDOWN: OnKeyDown(UINT(wParam), LOWORD(uint64_t(lParam)), HIWORD(uint64_t(lParam))); return 0;
    case WM_KEYUP: OnKeyUp(UINT(wParam), LOWORD(uint64_t(lParam)), HIWORD(uint64_t(lParam))); return 0;
    case WM_CHAR: OnChar(UINT(wParam), LOWORD(uint64_t(lParam)), HIWORD(uint64_t(lParam))); return 0;
    case WM_MOUSEMOVE: OnMouseMove(flags, point); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, point); return 0;
    case WM_LBUTTONUP: OnLButtonUp(flags, point); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, point); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, point); return 0;
    case WM_RBUTTONUP: OnRButtonUp(flags, point); return 0;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(flags, point); return 0;
    case WM_MBUTTONDOWN: OnMButtonDown(flags, point); return 0;
    case WM_MBUTTONUP: OnMButtonUp(flags, point); return 0;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(LOWORD(wParam), short(HIWORD(wParam)), point) ? 1 : 0;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_COMMAND: return OnCommand(wParam, lParam) ? 1 : 0;
    default: return DefWindowProc(message, wParam, lParam);
    }
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_SETTEXT && m_pWidget) {
        const QString text = ToQString(reinterpret_cast<const wchar_t*>(lParam));
        if (m_pWidget->isWindow())
            m_pWidget->setWindowTitle(text);
        else if (auto* label = qobject_cast<QLabel*>(m_pWidget))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(m_pWidget))
            button->setText(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
            edit->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(m_pWidget))
            group->setTitle(text);
        return 1;
    }
    return 0;
}

void CWnd::OnPaint() {}

bool CWnd::OnEraseBkgnd(CDC* pDC)
{
    if (!pDC)
        return false;
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, m_crBackground);
    return true;
}

void CWnd::OnClose()
{
    DestroyWindow();
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr);
}

CWnd* CWnd::GetParent() const
{
    return m_pParent ? m_pParent : m_pOwner;
}

CWnd* CWnd::GetTopLevelParent()
{
    CWnd* pWnd = this;
    while (pWnd->m_pParent)
        pWnd = pWnd->m_pParent;
    return pWnd;
}

void CWnd::SetActiveWindow()
{
    if (!m_pWidget)
        return;
    QWidget* window = m_pWidget->window();
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    for (CWnd* pChild : m_children)
        if (pChild->m_nID == nID)
            return pChild;
    return nullptr;
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, bool bRepaint)
{
    if (!m_pWidget)
        return;
    const QRect rect(x, y, std::max(0, nWidth), std::max(0, nHeight));
    if (m_pWidget->geometry() == rect)
        return;
    m_pWidget->setGeometry(rect);
    // Qt holds the resize of a hidden widget back until it is shown.
    NotifySize();
    if (bRepaint)
        Invalidate();
}

void CWnd::MoveWindow(LPCRECT pRect, bool bRepaint)
{
    MoveWindow(pRect->left, pRect->top, pRect->Width(), pRect->Height(), bRepaint);
}

bool CWnd::ShowWindow(int nCmdShow)
{
    if (!m_pWidget)
        return false;
    const bool bWasVisible = m_pWidget->isVisible();
    switch (nCmdShow) {
    case SW_HIDE: m_pWidget->hide(); break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: m_pWidget->showMinimized(); break;
    case SW_SHOWMAXIMIZED: m_pWidget->showMaximized(); break;
    case SW_SHOWNORMAL:
    case SW_RESTORE: m_pWidget->showNormal(); break;
    default: m_pWidget->show(); break;
    }
    return bWasVisible;
}

bool CWnd::IsWindowVisible() const
{
    return m_pWidget && m_pWidget->isVisible();
}

bool CWnd::EnableWindow(bool bEnable)
{
    if (!m_pWidget)
        return false;
    const bool bWasDisabled = !m_pWidget->isEnabled();
    m_pWidget->setEnabled(bEnable);
    return bWasDisabled;
}

bool CWnd::IsWindowEnabled() const
{
    return m_pWidget && m_pWidget->isEnabled();
}

void CWnd::Invalidate(bool bErase)
{
    m_bPaintPending = true;
    m_bErasePending = m_bErasePending || bErase;
    if (m_pWidget)
        m_pWidget->update();
}

void CWnd::InvalidateRect(LPCRECT, bool bErase)
{
    // The backing image is painted whole, so the whole window is shown again.
    Invalidate(bErase);
}

bool CWnd::RedrawWindow(LPCRECT, UINT flags)
{
    if (!m_pWidget)
        return false;
    const HWND hSelf = m_hWnd;
    if (flags & RDW_INVALIDATE)
        Invalidate((flags & RDW_ERASE) != 0);
    if (flags & RDW_ALLCHILDREN)
        for (HWND hChild : Handles(m_children))
            if (CWnd* pChild = FromHandle(hChild))
                pChild->RedrawWindow(nullptr, flags & ~RDW_UPDATENOW);
    if ((flags & RDW_UPDATENOW) && FromHandle(hSelf) == this)
        UpdateWindow();
    return true;
}

void CWnd::UpdateWindow()
{
    if (!m_pWidget || !m_pWidget->isVisible())
        return;
    const HWND hSelf = m_hWnd;
    PaintTree();
    // What is invalid goes on the screen at once, and nothing else, unless Qt is painting.
    if (FromHandle(hSelf) == this && !CHostPaint::IsActive())
        QCoreApplication::sendPostedEvents(m_pWidget->window(), QEvent::UpdateRequest);
}

void CWnd::PaintTree()
{
    if (!m_pWidget || !m_pWidget->isVisible() || !PaintBacking())
        return;
    for (HWND hChild : Handles(m_children))
        if (CWnd* pChild = FromHandle(hChild))
            pChild->PaintTree();
}

void CWnd::SetPrintOnly()
{
    if (!m_pWidget)
        return;
    // Qt shows a child with WA_DontShowOnScreen all the same: the host then paints nothing
    // and lets the parent's picture through.
    m_pWidget->setAttribute(Qt::WA_DontShowOnScreen);
    m_pWidget->setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_pWidget->setAttribute(Qt::WA_NoSystemBackground, false);
    m_pWidget->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (CWnd* pChild : m_children)
        pChild->SetPrintOnly();
}

void CWnd::ShowBackingImage()
{
    if (m_pWidget)
        m_pWidget->update();
}

void CWnd::GetClientRect(LPRECT pRect) const
{
    if (!pRect)
        return;
    *pRect = m_pWidget ? CRect(0, 0, m_pWidget->width(), m_pWidget->height()) : CRect();
}

void CWnd::GetWindowRect(LPRECT pRect) const
{
    if (!pRect)
        return;
    if (!m_pWidget) {
        *pRect = CRect();
        return;
    }
    const QPoint origin = m_pWidget->isWindow() ? m_pWidget->geometry().topLeft() : m_pWidget->mapToGlobal(QPoint(0, 0));
    *pRect = CRect(origin.x(), origin.y(), origin.x() + m_pWidget->width(), origin.y() + m_pWidget->height());
}

CRect CWnd::GetNormalRect() const
{
    if (!m_pWidget)
        return CRect();
    const QRect normal = m_pWidget->normalGeometry();
    return FromQRect(normal.isValid() ? normal : m_pWidget->geometry());
}

void CWnd::ScreenToClient(CPoint* pPoint) const
{
    if (pPoint && m_pWidget) {
        const QPoint p = m_pWidget->mapFromGlobal(QPoint(pPoint->x, pPoint->y));
        *pPoint = {p.x(), p.y()};
    }
}

void CWnd::ClientToScreen(CPoint* pPoint) const
{
    if (pPoint && m_pWidget) {
        const QPoint p = m_pWidget->mapToGlobal(QPoint(pPoint->x, pPoint->y));
        *pPoint = {p.x(), p.y()};
    }
}

void CWnd::SetWindowText(const std::wstring& text)
{
    m_strText = text;
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_strText.c_str()));
}

std::wstring CWnd::GetWindowText() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        return FromQString(edit->text());
    return m_strText;
}

void CWnd::SetIcon(HICON hIcon, bool)
{
    if (m_pWidget)
        m_pWidget->setWindowIcon(hIcon ? QIcon(QString::fromUtf8(hIcon->path)) : QIcon());
}

void CWnd::SetFont(CFont* pFont, bool bRedraw)
{
    m_pFont = pFont;
    if (m_pWidget && pFont)
        m_pWidget->setFont(MakeQFont(pFont->GetLogFont()));
    if (bRedraw)
        Invalidate();
}

CWnd* CWnd::SetCapture()
{
    CWnd* previous = s_pCapture;
    if (previous && previous != this && previous->m_pWidget)
        previous->m_pWidget->releaseMouse();
    s_pCapture = this;
    if (m_pWidget)
        m_pWidget->grabMouse();
    return previous;
}

void CWnd::ReleaseCapture()
{
    if (s_pCapture && s_pCapture->m_pWidget)
        s_pCapture->m_pWidget->releaseMouse();
    s_pCapture = nullptr;
}

CWnd* CWnd::GetCapture()
{
    return s_pCapture;
}

CWnd* CWnd::SetFocus()
{
    CWnd* previous = GetFocus();
    if (m_pWidget)
        m_pWidget->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus()
{
    return FromWidget(QApplication::focusWidget());
}

void CWnd::ResizeBacking(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (m_backing.width() == width && m_backing.height() == height)
        return;
    m_backing = QImage(width, height, QImage::Format_RGB32);
    m_backing.fill(ToQRgb(m_crBackground));
    m_bPaintPending = true;
    m_bErasePending = true;
}

bool CWnd::PaintBacking()
{
    if (!m_bOwnPaint || !m_bPaintPending)
        return true;
    m_bPaintPending = false;
    const HWND hSelf = m_hWnd;
    if (m_bErasePending) {
        m_bErasePending = false;
        CDC dc;
        dc.AttachImage(&m_backing);
        Dispatch(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
        if (FromHandle(hSelf) != this)
            return false;
    }
    Dispatch(WM_PAINT, 0, 0);
    return FromHandle(hSelf) == this;
}

void CWnd::NotifySize()
{
    const int type = m_pWidget->isMaximized() ? SIZE_MAXIMIZED : m_pWidget->isMinimized() ? SIZE_MINIMIZED : SIZE_RESTORED;
    const int width = m_pWidget->width(), height = m_pWidget->height();
    if (type == m_nSizeType && width == m_nSizeWidth && height == m_nSizeHeight)
        return;
    m_nSizeType = type;
    m_nSizeWidth = width;
    m_nSizeHeight = height;
    if (m_bOwnPaint)
        ResizeBacking(width, height);
    Dispatch(WM_SIZE, WPARAM(type), MAKELPARAM(width, height));
}

void CWnd::PaintFromHost(QWidget* pWidget, QPaintEvent* pEvent)
{
    if (pWidget->testAttribute(Qt::WA_DontShowOnScreen))
        return;
    const CHostPaint hostPaint;
    if (!PaintBacking())
        return;
    QPainter painter(pWidget);
    painter.drawImage(pEvent->rect(), m_backing, pEvent->rect());
}

bool CWnd::TranslateEvent(QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::Resize:
        NotifySize();
        return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (m_pWidget->isWindow())
            Dispatch(WM_ACTIVATE, pEvent->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE, 0);
        return false;
    case QEvent::Show:
    case QEvent::Hide:
        Dispatch(WM_SHOWWINDOW, pEvent->type() == QEvent::Show ? 1 : 0, 0);
        return false;
    case QEvent::Close:
        pEvent->ignore();
        Dispatch(WM_CLOSE, 0, 0);
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(pEvent);
        const UINT message = ButtonMessage(pEvent->type(), mouse->button());
        if (message == WM_NULL)
            return false;
        const QPoint p = mouse->position().toPoint();
        Dispatch(message, MouseFlags(mouse->buttons(), mouse->modifiers()), MAKELPARAM(p.x(), p.y()));
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(pEvent);
        const QPoint p = mouse->position().toPoint();
        Dispatch(WM_MOUSEMOVE, MouseFlags(mouse->buttons(), mouse->modifiers()), MAKELPARAM(p.x(), p.y()));
        return true;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(pEvent);
        const QPoint p = wheel->globalPosition().toPoint();
        const int delta = wheel->angleDelta().y();
        if (delta == 0)
            return false;
        Dispatch(WM_MOUSEWHEEL, MAKEWPARAM(int(MouseFlags(wheel->buttons(), wheel->modifiers())), delta),
                 MAKELPARAM(p.x(), p.y()));
        return true;
    }
    case QEvent::Leave:
        Dispatch(WM_MOUSELEAVE, 0, 0);
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(pEvent);
        const UINT vk = VirtualKeyFromQt(key->key());
        const bool bDown = pEvent->type() == QEvent::KeyPress;
        const HWND hSelf = m_hWnd;
        if (vk)
            Dispatch(bDown ? WM_KEYDOWN : WM_KEYUP, vk, MAKELPARAM(1, key->isAutoRepeat() ? 0x4000 : 0));
        // The key may have closed the window; its characters then go nowhere.
        if (bDown && FromHandle(hSelf) == this)
            for (const QChar ch : key->text())
                if (FromHandle(hSelf) == this)
                    Dispatch(WM_CHAR, ch.unicode(), MAKELPARAM(1, 0));
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(pEvent)->reason();
        // Opening a menu or a pop-up takes the focus only for a moment.
        if (reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason)
            return false;
        Dispatch(pEvent->type() == QEvent::FocusIn ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
        return false;
    }
    default:
        return false;
    }
}

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;

bool CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    if (!m_pWidget)
        return false;
    const QRect now = m_pWidget->geometry();
    if (nFlags & SWP_NOMOVE) {
        x = now.x();
        y = now.y();
    }
    if (nFlags & SWP_NOSIZE) {
        cx = now.width();
        cy = now.height();
    }
    MoveWindow(x, y, cx, cy, (nFlags & SWP_NOREDRAW) == 0);
    if (!(nFlags & SWP_NOZORDER) && pWndInsertAfter) {
        if (pWndInsertAfter == &wndTop)
            m_pWidget->raise();
        else if (pWndInsertAfter == &wndBottom)
            m_pWidget->lower();
        else if (pWndInsertAfter->m_pWidget && pWndInsertAfter != this)
            m_pWidget->stackUnder(pWndInsertAfter->m_pWidget);
    }
    if (nFlags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    else if (nFlags & SWP_SHOWWINDOW)
        ShowWindow(SW_SHOWNA);
    return true;
}

int CWnd::MessageBox(const std::wstring& text, const std::wstring& caption, UINT nType)
{
    std::wstring title = caption;
    if (title.empty() && AfxGetApp())
        title = AfxGetApp()->m_strAppName;
    return AfxGetMessageBoxService().MessageBox(this, text, title, nType);
}
