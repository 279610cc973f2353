#pragma once
// The window in the framework's manner, over a Qt widget. Every window has an integer control
// id, a parent (child windows, kept by the parent in creation order) or an owner (top-level
// windows: frames, dialogs, tool windows), a handle that is never reused, and one message
// entry point, WindowProc, which the standard messages reach as virtual handlers (OnPaint,
// OnSize, OnLButtonDown, ...) and private ones through MapMessage. SendMessage calls it
// directly; PostMessage queues the message, and a message for a window that has been
// destroyed meanwhile is dropped. Qt's events come in through Dispatch, which lets no
// exception pass into Qt's event loop. A window that paints itself keeps a backing image:
// a paint erases and paints into it and shows it, drawing outside a paint (CClientDC) goes
// into it and is shown at the next update; it takes the keyboard focus when clicked (and by
// Tab with WS_TABSTOP). A window object destroyed while its window exists takes the window
// with it without calling any of its handlers: the parts of a derived class are gone by then.

#include "CmdTarget.h"
#include "Resources.h"
#include "Types.h"

#include <QImage>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDC;
class CFont;
class QEvent;
class QPaintEvent;
class QWidget;

// Screen size of the primary screen, in pixels.
enum : int { SM_CXSCREEN = 0, SM_CYSCREEN = 1 };
int GetSystemMetrics(int nIndex);

// What RedrawWindow does: invalidate (with erasing), also in every descendant, and paint at once.
enum : UINT { RDW_INVALIDATE = 0x0001, RDW_ERASE = 0x0004, RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100 };

// What SetWindowPos leaves as it is, and whether it shows or hides the window.
enum : UINT {
    SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010, SWP_SHOWWINDOW = 0x0040, SWP_HIDEWINDOW = 0x0080,
};

class CWnd : public CCmdTarget
{
public:
    CWnd();
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // Null once the window has been destroyed.
    static CWnd* FromHandle(HWND hWnd);
    // The window of a widget or of its nearest ancestor that has one.
    static CWnd* FromWidget(const QWidget* pWidget);

    // A child window (WS_CHILD) of pParent, or a top-level window owned by pParent.
    bool Create(const std::wstring& windowName, DWORD dwStyle, const CRect& rect, CWnd* pParent, UINT nID);
    bool DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // To every descendant, parent before children, in creation order; neither this window nor
    // top-level windows it owns receive it.
    void SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool bDeep = true);
    // The entry point of Qt's events and posted messages: exceptions are logged and dropped,
    // and the message then gives resultOnException.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT resultOnException = 0);

    // The parent of a child window, the owner of a top-level one.
    CWnd* GetParent() const;
    CWnd* GetOwner() const { return m_pOwner; }
    CWnd* GetTopLevelParent();
    bool IsTopLevel() const { return (m_dwStyle & WS_CHILD) == 0; }
    const std::vector<CWnd*>& GetChildren() const { return m_children; }
    CWnd* GetDlgItem(int nID) const;
    // Checks the radio button nIDCheck of the child buttons nIDFirst..nIDLast and clears the
    // others, telling nobody (defined with the buttons).
    void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck);
    // Brings a top-level window (an owned tool window) to the front with the keyboard.
    void SetActiveWindow();
    int GetDlgCtrlID() const { return m_nID; }
    void SetDlgCtrlID(int nID) { m_nID = nID; }
    DWORD GetStyle() const { return m_dwStyle; }

    // A new size is told by WM_SIZE before the call returns, also to a hidden window. Without
    // bRepaint nothing is invalidated: a window that keeps its size shows its last picture
    // at the new place (a new size always needs a new picture).
    void MoveWindow(int x, int y, int nWidth, int nHeight, bool bRepaint = true);
    void MoveWindow(LPCRECT pRect, bool bRepaint = true);
    bool ShowWindow(int nCmdShow);
    bool IsWindowVisible() const;
    bool EnableWindow(bool bEnable = true);
    bool IsWindowEnabled() const;
    void Invalidate(bool bErase = true);
    void InvalidateRect(LPCRECT pRect, bool bErase = true);
    // RDW_INVALIDATE marks the window (RDW_ERASE: erased first), RDW_ALLCHILDREN its visible
    // and hidden descendants too, RDW_UPDATENOW paints them before it returns. The backing
    // image is painted whole, so the rectangle only says that something is to be redrawn.
    bool RedrawWindow(LPCRECT pRectUpdate = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    // Paints what is invalid in this window and its visible descendants before it returns.
    void UpdateWindow();
    void GetClientRect(LPRECT pRect) const;
    // Screen coordinates; for a top-level window the rectangle of its client area.
    void GetWindowRect(LPRECT pRect) const;
    // The rectangle of a top-level window in its normal state, also while it is minimised
    // or maximised.
    CRect GetNormalRect() const;
    void ScreenToClient(CPoint* pPoint) const;
    void ClientToScreen(CPoint* pPoint) const;
    void SetWindowText(const std::wstring& text);
    std::wstring GetWindowText() const;
    // The icon of a top-level window's title bar and task bar entry; Qt has one for both sizes.
    void SetIcon(HICON hIcon, bool bBigIcon);
    void SetFont(CFont* pFont, bool bRedraw = true);
    CFont* GetFont() const { return m_pFont; }

    CWnd* SetCapture();
    static void ReleaseCapture();
    static CWnd* GetCapture();
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // A window that exists only for printing: it and its children never show on the screen;
    // the parent shows through and receives the mouse.
    void SetPrintOnly();

    QWidget* GetWidget() const { return m_pWidget; }
    // Null for windows that Qt paints (frames, standard controls).
    QImage* GetBackingImage() { return m_bOwnPaint ? &m_backing : nullptr; }
    // Shows what was drawn into the backing image outside a paint.
    void ShowBackingImage();

    // Called by the widget host: a Qt event as window messages; true when it is consumed.
    bool TranslateEvent(QEvent* pEvent);
    void PaintFromHost(QWidget* pWidget, QPaintEvent* pEvent);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // ON_MESSAGE: a handler of one message, ahead of the standard ones.
    void MapMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler);

    virtual bool PreCreateWindow(CREATESTRUCT& cs);
    // Makes the Qt widget: the host of a window that paints itself, unless overridden.
    virtual QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget);
    // Creation steps shared by every kind of window once its widget exists.
    bool FinishCreate(QWidget* pWidget, CREATESTRUCT& cs, CWnd* pParent, UINT nID, bool bOwnPaint);
    // Runs after the window is gone; frames and views delete themselves here. Not run when
    // creation fails: the creator then deletes the object.
    virtual void PostNcDestroy() {}

    virtual int OnCreate(LPCREATESTRUCT) { return 0; }
    virtual void OnDestroy() {}
    virtual void OnPaint();
    virtual bool OnEraseBkgnd(CDC* pDC);
    virtual void OnSize(UINT, int, int) {}
    virtual void OnShowWindow(bool, UINT) {}
    virtual void OnClose();
    virtual void OnSetFocus(CWnd*) {}
    virtual void OnKillFocus(CWnd*) {}
    virtual void OnKeyDown(UINT, UINT, UINT) {}
    virtual void OnKeyUp(UINT, UINT, UINT) {}
    virtual void OnChar(UINT, UINT, UINT) {}
    virtual void OnMouseMove(UINT, CPoint) {}
    virtual void OnLButtonDown(UINT, CPoint) {}
    virtual void OnLButtonUp(UINT, CPoint) {}
    virtual void OnLButtonDblClk(UINT, CPoint) {}
    virtual void OnRButtonDown(UINT, CPoint) {}
    virtual void OnRButtonUp(UINT, CPoint) {}
    virtual void OnRButtonDblClk(UINT, CPoint) {}
    virtual void OnMButtonDown(UINT, CPoint) {}
    virtual void OnMButtonUp(UINT, CPoint) {}
    virtual bool OnMouseWheel(UINT, short, CPoint) { return false; }
    virtual void OnMouseLeave() {}
    virtual void OnGetMinMaxInfo(MINMAXINFO*) {}
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    COLORREF m_crBackground = COLOR_BTNFACE_VALUE; // what the default erase fills with

private:
    void Register();
    void Unregister();
    void ResizeBacking(int width, int height);
    // WM_SIZE when the widget's size or state differs from what was last told.
    void NotifySize();
    // Erases and paints into the backing image when it is invalid; false when the window
    // went meanwhile.
    bool PaintBacking();
    void PaintTree();

    QWidget* m_pWidget = nullptr;
    CWnd* m_pParent = nullptr;
    CWnd* m_pOwner = nullptr;
    std::vector<CWnd*> m_children;
    std::vector<CWnd*> m_owned;
    int m_nID = 0;
    DWORD m_dwStyle = 0;
    std::wstring m_strText;
    CFont* m_pFont = nullptr;
    bool m_bOwnPaint = false;
    bool m_bCreating = false;
    bool m_bDetached = false; // the object is being destroyed: no handler runs any more
    int m_nSizeType = -1;     // the WM_SIZE last sent: type, width and height
    int m_nSizeWidth = -1;
    int m_nSizeHeight = -1;
    bool m_bPaintPending = true;
    bool m_bErasePending = true;
    QImage m_backing;
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> m_messageMap;

public:
    // The places in the z-order that SetWindowPos takes besides a sibling.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    // Moves and sizes the window as MoveWindow does and places it in the z-order of its
    // siblings (top-level windows: of the screen): at the top, at the bottom or just below
    // pWndInsertAfter. The window is never activated.
    bool SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    // A message box owned by this window; an empty caption is the application's name.
    int MessageBox(const std::wstring& text, const std::wstring& caption = std::wstring(), UINT nType = MB_OK);
};
