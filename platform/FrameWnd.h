#pragma once
// The framework's frame window over a QMainWindow: the menu bar and accelerators of its
// resource id, the view as its client, the title from the active document, and the routing
// of commands (active view, its document, the frame, the application). Before a command
// runs, its update handler is asked: a disabled command does nothing, whether it came from
// the menu or from an accelerator. Menu items take their state from the update handlers
// whenever their menu opens, the bars (toolbar, status bar) in the idle update pass after
// every command and event; a menu item shows its command's status prompt while the mouse is
// over it. View > Toolbar and View > Status Bar show and hide the bars of those ids.

#include "Wnd.h"

#include <functional>
#include <vector>

class CControlBar;
class CDocument;
class CView;
class QAction;
class QMenu;
class QMainWindow;
struct CMenuItem;

// What the framework hands to a new frame: the document and how to make its view.
struct CCreateContext
{
    CDocument* m_pCurrentDoc = nullptr;
    std::function<CView*()> m_newView;
};

class CFrameWnd : public CWnd
{
public:
    CFrameWnd();

    bool LoadFrame(UINT nIDResource, DWORD dwStyle = WS_OVERLAPPEDWINDOW, CWnd* pParent = nullptr,
                   CCreateContext* pContext = nullptr);

    CView* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CView* pView) { m_pActiveView = pView; }
    // The keyboard goes to the active view whenever the frame is activated, unless another
    // window of the frame has the focus.
    void FocusActiveView();
    CDocument* GetActiveDocument() const;

    // After a new or opened document: the views' initial update, then the frame is shown.
    virtual void InitialUpdateFrame(CDocument* pDoc, bool bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    // "<document title> - <application name>".
    virtual void OnUpdateFrameTitle();

    bool OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
    // The command's state as its menu item would show it: the update handler's choice, else
    // enabled exactly when some handler takes the command.
    bool IsCommandEnabled(UINT nID);
    // The menu bar's item of a command, null when it has none (tests read the menu with it).
    QAction* FindMenuItem(UINT nID) const;
    // Runs the update handlers of a menu's items, as when it opens.
    void UpdateMenu(QMenu* pMenu);

    // The bar among the frame's children with that id, null when there is none.
    CControlBar* GetControlBar(UINT nID) const;
    void ShowControlBar(CControlBar* pBar, bool bShow);

    // The frame's own window id, the wParam of what it sends.
    static constexpr int FRAME_ID = AFX_IDW_FRAME;

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    int OnCreate(LPCREATESTRUCT pCreate) override;
    virtual bool OnCreateClient(LPCREATESTRUCT pCreate, CCreateContext* pContext);
    CView* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The main window's close: every document asked, then closed, then the frame goes.
    void OnClose() override;
    void OnDestroy() override;
    void PostNcDestroy() override;
    // The idle update pass: every bar asks the update handlers of its items.
    virtual void OnIdleUpdateCmdUI();

    QMainWindow* GetMainWindow() const;

private:
    void BuildMenu(UINT nIDResource);
    void AddMenuItems(QMenu* pMenu, const std::vector<CMenuItem>& items);
    void BuildAccelerators(UINT nIDResource);
    void UpdateRecentFileItems();
    bool OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);

    UINT m_nIDResource = 0;
    CView* m_pActiveView = nullptr;
    CCreateContext* m_pContext = nullptr; // during creation only
    std::vector<std::pair<UINT, QAction*>> m_menuItems;
    QAction* m_pRecentPlaceholder = nullptr;
    std::vector<QAction*> m_recentItems;
};
