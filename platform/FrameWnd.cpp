#include "FrameWnd.h"

#include "ControlBar.h"
#include "Document.h"
#include "QtConvert.h"
#include "RecentFileList.h"
#include "Resources.h"
#include "View.h"
#include "WinApp.h"
#include "WndHost.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace {
// A menu item as an update handler sees it.
class CMenuCmdUI : public CCmdUI
{
public:
    CMenuCmdUI(UINT nID, QAction* pAction) : CCmdUI(nID), m_pAction(pAction) {}
    void Enable(bool bOn) override
    {
        CCmdUI::Enable(bOn);
        m_pAction->setEnabled(bOn);
    }
    void SetCheck(int nCheck) override
    {
        CCmdUI::SetCheck(nCheck);
        m_pAction->setCheckable(true);
        m_pAction->setChecked(nCheck != 0);
    }
    void SetText(const std::wstring& text) override { m_pAction->setText(ToQString(text)); }

private:
    QAction* m_pAction;
};

// The status prompt of a command: its string up to the line feed.
QString StatusPrompt(UINT nID)
{
    const std::wstring text = AfxLoadString(nID);
    return ToQString(text.substr(0, text.find(L'\n')));
}

void SendCommand(HWND hFrame, UINT nID, int nSource)
{
    if (CWnd* pFrame = CWnd::FromHandle(hFrame))
        pFrame->Dispatch(WM_COMMAND, MAKEWPARAM(int(nID), nSource), 0);
}
} // namespace

CFrameWnd::CFrameWnd()
{
    MapCommandRange(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, [this](UINT nID) { return OnBarCheck(nID); });
    MapUpdateRange(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, [this](CCmdUI* pCmdUI) { OnUpdateControlBarMenu(pCmdUI); });
}

QWidget* CFrameWnd::CreateWidget(const CREATESTRUCT&, QWidget* pParentWidget)
{
    auto* window = new CWndHost<QMainWindow>(this, false, pParentWidget);
    window->setWindowFlags(Qt::Window);
    return window;
}

QMainWindow* CFrameWnd::GetMainWindow() const
{
    return static_cast<QMainWindow*>(GetWidget());
}

bool CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwStyle, CWnd* pParent, CCreateContext* pContext)
{
    if (GetSafeHwnd())
        return false;
    CREATESTRUCT cs;
    cs.style = dwStyle & ~WS_CHILD;
    if (AfxGetApp())
        cs.lpszName = AfxGetApp()->m_strAppName;
    if (!PreCreateWindow(cs))
        return false;
    m_pContext = pContext;
    m_nIDResource = nIDResource;
    QWidget* widget = CreateWidget(cs, pParent ? pParent->GetWidget() : nullptr);
    const bool bCreated = FinishCreate(widget, cs, pParent, FRAME_ID, false);
    m_pContext = nullptr;
    if (bCreated)
        OnUpdateFrameTitle();
    return bCreated;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT pCreate)
{
    BuildMenu(m_nIDResource);
    BuildAccelerators(m_nIDResource);
    return OnCreateClient(pCreate, m_pContext) ? 0 : -1;
}

bool CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (!pContext || !pContext->m_newView)
        return true;
    return CreateView(pContext) != nullptr;
}

CView* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CView* pView = pContext->m_newView();
    if (!pView)
        return nullptr;
    if (pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(pView);
    if (!pView->Create(std::wstring(), WS_CHILD | WS_VISIBLE, CRect(), this, nID)) {
        delete pView;
        return nullptr;
    }
    GetMainWindow()->setCentralWidget(pView->GetWidget());
    if (!m_pActiveView)
        m_pActiveView = pView;
    return pView;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pActiveView ? m_pActiveView->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, bool bMakeVisible)
{
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, true);
    OnUpdateFrameTitle();
    if (bMakeVisible)
        ActivateFrame();
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    if (GetWidget()) {
        GetWidget()->raise();
        GetWidget()->activateWindow();
    }
    FocusActiveView();
}

void CFrameWnd::FocusActiveView()
{
    // A window inside the frame that has the focus keeps it.
    CWnd* pFocus = GetFocus();
    if (pFocus && pFocus != this && pFocus->GetTopLevelParent() == this)
        return;
    if (m_pActiveView)
        m_pActiveView->SetFocus();
}

void CFrameWnd::OnUpdateFrameTitle()
{
    const std::wstring appName = AfxGetApp() ? AfxGetApp()->m_strAppName : std::wstring();
    const CDocument* pDoc = GetActiveDocument();
    SetWindowText(pDoc ? pDoc->GetTitle() + L" - " + appName : appName);
}

bool CFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    if (m_pActiveView && m_pActiveView->OnCmdMsg(nID, nCode, pCmdUI))
        return true;
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI))
        return true;
    return AfxGetApp() && AfxGetApp()->OnCmdMsg(nID, nCode, pCmdUI);
}

bool CFrameWnd::IsCommandEnabled(UINT nID)
{
    CCmdUI state(nID);
    state.DoUpdate(this, true);
    return state.m_bEnabled;
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    return dynamic_cast<CControlBar*>(GetDlgItem(int(nID)));
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, bool bShow)
{
    if (pBar)
        pBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

bool CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (!pBar)
        return false;
    ShowControlBar(pBar, !pBar->IsVisible());
    return true;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    const CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    pCmdUI->Enable(pBar != nullptr);
    pCmdUI->SetCheck(pBar && pBar->IsVisible() ? 1 : 0);
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    // An update handler may change the children: the bars are looked up by handle.
    std::vector<HWND> bars;
    for (CWnd* pChild : GetChildren())
        if (dynamic_cast<CControlBar*>(pChild))
            bars.push_back(pChild->GetSafeHwnd());
    for (HWND hBar : bars)
        if (auto* pBar = dynamic_cast<CControlBar*>(FromHandle(hBar)))
            pBar->OnUpdateCmdUI(this, true);
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITMENUPOPUP) {
        UpdateMenu(reinterpret_cast<QMenu*>(wParam));
        return 0;
    }
    if (message == WM_IDLEUPDATECMDUI) {
        OnIdleUpdateCmdUI();
        return 0;
    }
    if (message == WM_ACTIVATE) {
        if (wParam != WA_INACTIVE)
            FocusActiveView();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0)
        return CWnd::OnCommand(wParam, lParam);
    // A menu item or an accelerator: nothing happens while the command is disabled.
    const UINT nID = LOWORD(wParam);
    if (!IsCommandEnabled(nID))
        return true;
    return OnCmdMsg(nID, CN_COMMAND, nullptr);
}

void CFrameWnd::OnClose()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->GetMainWnd() == this) {
        if (!pApp->SaveAllModified())
            return;
        pApp->CloseAllDocuments();
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->GetMainWnd() == this) {
        pApp->m_pMainWnd = nullptr;
        AfxPostQuitMessage(0);
    }
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

QAction* CFrameWnd::FindMenuItem(UINT nID) const
{
    for (const auto& [id, action] : m_menuItems)
        if (id == nID)
            return action;
    return nullptr;
}

void CFrameWnd::BuildMenu(UINT nIDResource)
{
    const CMenuResource* menu = AfxFindMenu(nIDResource);
    if (!menu)
        return;
    QMenuBar* bar = GetMainWindow()->menuBar();
    for (const CMenuItem& item : menu->items) {
        QMenu* popup = bar->addMenu(ToQString(item.text));
        AddMenuItems(popup, item.items);
    }
}

void CFrameWnd::AddMenuItems(QMenu* pMenu, const std::vector<CMenuItem>& items)
{
    QObject::connect(pMenu, &QMenu::aboutToShow, pMenu, [hFrame = GetSafeHwnd(), pMenu] {
        if (CWnd* pFrame = CWnd::FromHandle(hFrame))
            pFrame->Dispatch(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pMenu), 0);
    });
    for (const CMenuItem& item : items) {
        switch (item.kind) {
        case CMenuItem::ITEM_SEPARATOR:
            pMenu->addSeparator();
            break;
        case CMenuItem::ITEM_POPUP:
            AddMenuItems(pMenu->addMenu(ToQString(item.text)), item.items);
            break;
        case CMenuItem::ITEM_COMMAND: {
            QAction* action = pMenu->addAction(ToQString(item.text));
            action->setData(item.nID);
            action->setStatusTip(StatusPrompt(item.nID));
            QObject::connect(action, &QAction::triggered, action,
                             [hFrame = GetSafeHwnd(), nID = item.nID] { SendCommand(hFrame, nID, 0); });
            m_menuItems.emplace_back(item.nID, action);
            if (item.nID == ID_FILE_MRU_FILE1)
                m_pRecentPlaceholder = action;
            break;
        }
        }
    }
}

void CFrameWnd::BuildAccelerators(UINT nIDResource)
{
    const CAcceleratorResource* table = AfxFindAccelerators(nIDResource);
    if (!table)
        return;
    for (const CAccelEntry& entry : table->entries) {
        int keys = QtKeyFromVirtualKey(entry.key);
        if (!keys)
            continue;
        if (entry.fVirt & FCONTROL)
            keys |= Qt::ControlModifier;
        if (entry.fVirt & FSHIFT)
            keys |= Qt::ShiftModifier;
        if (entry.fVirt & FALT)
            keys |= Qt::AltModifier;
        auto* shortcut = new QShortcut(QKeySequence(keys), GetMainWindow());
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, shortcut,
                         [hFrame = GetSafeHwnd(), nID = entry.cmd] { SendCommand(hFrame, nID, 1); });
    }
}

void CFrameWnd::UpdateMenu(QMenu* pMenu)
{
    if (m_pRecentPlaceholder && pMenu->actions().contains(m_pRecentPlaceholder))
        UpdateRecentFileItems();
    for (QAction* action : pMenu->actions()) {
        const UINT nID = action->data().toUInt();
        if (nID == 0 || action->isSeparator() || action->menu())
            continue;
        CMenuCmdUI state(nID, action);
        state.DoUpdate(this, true);
    }
}

void CFrameWnd::UpdateRecentFileItems()
{
    for (QAction* action : m_recentItems)
        delete action;
    m_recentItems.clear();
    CRecentFileList* list = AfxGetApp() ? AfxGetApp()->GetRecentFileList() : nullptr;
    const int count = list ? list->GetCount() : 0;
    m_pRecentPlaceholder->setVisible(count == 0);
    QMenu* menu = qobject_cast<QMenu*>(m_pRecentPlaceholder->parent());
    if (!menu)
        return;
    for (int i = 0; i < count; ++i) {
        const UINT nID = ID_FILE_MRU_FILE1 + UINT(i);
        QString path = ToQString((*list)[i]);
        path.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path), menu);
        action->setData(nID);
        action->setStatusTip(StatusPrompt(nID));
        QObject::connect(action, &QAction::triggered, action,
                         [hFrame = GetSafeHwnd(), nID] { SendCommand(hFrame, nID, 0); });
        menu->insertAction(m_pRecentPlaceholder, action);
        m_recentItems.push_back(action);
    }
}
