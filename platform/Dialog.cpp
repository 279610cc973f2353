#include "Dialog.h"

#include "Controls.h"
#include "GdiObjects.h"
#include "QtConvert.h"
#include "Resources.h"
#include "WinApp.h"
#include "WndHost.h"

#include "MessageLog.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {
std::function<void(CDialog&)> s_modalHook;
} // namespace

int DialogUnitsToPixelsX(int units)
{
    return int(std::lround(units * 1.5));
}

int DialogUnitsToPixelsY(int units)
{
    return int(std::lround(units * 1.625));
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParent) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParent) {}

CDialog::~CDialog()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

void CDialog::SetModalHook(std::function<void(CDialog&)> hook)
{
    s_modalHook = std::move(hook);
}

QWidget* CDialog::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    if (cs.style & WS_CHILD)
        return new CWndHost<QWidget>(this, true, pParentWidget);
    auto* dialog = new CWndHost<QDialog>(this, true, pParentWidget);
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (cs.style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (cs.style & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    dialog->setWindowFlags(flags);
    return dialog;
}

void CDialog::AttachDlgItem(int nID, CWnd& control)
{
    m_attached[nID] = &control;
}

void CDialog::MapNotify(int nID, UINT nCode, std::function<LRESULT(NMHDR*)> handler)
{
    m_notifyMap[{nID, nCode}] = std::move(handler);
}

bool CDialog::HasFocus(int nID) const
{
    const CWnd* pItem = GetDlgItem(nID);
    if (!pItem || !pItem->GetWidget() || !GetWidget())
        return false;
    const QWidget* focus = FocusWidget();
    return focus && (focus == pItem->GetWidget() || pItem->GetWidget()->isAncestorOf(focus));
}

QWidget* CDialog::FocusWidget() const
{
    // The window's own focus, also while another window is active.
    return GetWidget() ? GetWidget()->window()->focusWidget() : nullptr;
}

namespace {
// The layer's control of a template item, and the styles the item kind gives it.
std::unique_ptr<CWnd> MakeControl(TDialogControl kind, DWORD& style)
{
    switch (kind) {
    case TDialogControl::LText: style |= SS_LEFT; return std::make_unique<CStatic>();
    case TDialogControl::CText: style |= SS_CENTER; return std::make_unique<CStatic>();
    case TDialogControl::RText: style |= SS_RIGHT; return std::make_unique<CStatic>();
    case TDialogControl::PushButton: style |= BS_PUSHBUTTON | WS_TABSTOP; return std::make_unique<CButton>();
    case TDialogControl::DefPushButton: style |= BS_DEFPUSHBUTTON | WS_TABSTOP; return std::make_unique<CButton>();
    case TDialogControl::GroupBox: style |= BS_GROUPBOX; return std::make_unique<CButton>();
    case TDialogControl::AutoCheckBox: style |= BS_AUTOCHECKBOX | WS_TABSTOP; return std::make_unique<CButton>();
    case TDialogControl::AutoRadioButton: style |= BS_AUTORADIOBUTTON; return std::make_unique<CButton>();
    case TDialogControl::Edit: return std::make_unique<CEdit>();
    case TDialogControl::Trackbar: return std::make_unique<CSliderCtrl>();
    case TDialogControl::ComboBox: style |= WS_TABSTOP; return std::make_unique<CComboBox>();
    case TDialogControl::ListView: style |= WS_TABSTOP; return std::make_unique<CListCtrl>();
    case TDialogControl::TabControl: style |= WS_TABSTOP; return std::make_unique<CTabCtrl>();
    }
    return nullptr;
}

// Whether a dialog's own object can stand for an item of this kind.
bool IsControlOf(TDialogControl kind, CWnd* pControl)
{
    switch (kind) {
    case TDialogControl::LText:
    case TDialogControl::CText:
    case TDialogControl::RText: return dynamic_cast<CStatic*>(pControl) != nullptr;
    case TDialogControl::PushButton:
    case TDialogControl::DefPushButton:
    case TDialogControl::GroupBox:
    case TDialogControl::AutoCheckBox:
    case TDialogControl::AutoRadioButton: return dynamic_cast<CButton*>(pControl) != nullptr;
    case TDialogControl::Edit: return dynamic_cast<CEdit*>(pControl) != nullptr;
    case TDialogControl::Trackbar: return dynamic_cast<CSliderCtrl*>(pControl) != nullptr;
    case TDialogControl::ComboBox: return dynamic_cast<CComboBox*>(pControl) != nullptr;
    case TDialogControl::ListView: return dynamic_cast<CListCtrl*>(pControl) != nullptr;
    case TDialogControl::TabControl: return dynamic_cast<CTabCtrl*>(pControl) != nullptr;
    }
    return false;
}
} // namespace

bool CDialog::CreateItem(const CDialogItem& item)
{
    DWORD style = WS_CHILD | WS_VISIBLE;
    std::unique_ptr<CWnd> made = MakeControl(item.kind, style);
    CWnd* pControl = made.get();
    if (const auto attached = m_attached.find(item.nID); attached != m_attached.end()) {
        pControl = attached->second;
        if (!IsControlOf(item.kind, pControl) || pControl->GetSafeHwnd()) {
            g_messageLog.Log(LOG_ERROR, "CDialog: dialog %u cannot take its own control for item %d.", m_nIDTemplate,
                             item.nID);
            return false;
        }
    }
    if (item.kind == TDialogControl::DefPushButton)
        m_nDefaultID = item.nID;
    style = (style | item.style) & ~item.notStyle;
    const CRect at(DialogUnitsToPixelsX(item.x), DialogUnitsToPixelsY(item.y), DialogUnitsToPixelsX(item.x + item.cx),
                   DialogUnitsToPixelsY(item.y + item.cy));
    if (!pControl || !pControl->Create(item.text, style, at, this, UINT(item.nID)))
        return false;
    if (pControl == made.get())
        m_controls.push_back(std::move(made));
    return true;
}

bool CDialog::CreateFromTemplate(CWnd* pOwner)
{
    const CDialogTemplate* dialog = AfxFindDialogTemplate(m_nIDTemplate);
    if (!dialog) {
        g_messageLog.Log(LOG_ERROR, "CDialog: no dialog template %u.", m_nIDTemplate);
        return false;
    }
    const bool bPage = (dialog->style & WS_CHILD) != 0;
    const DWORD style = bPage ? dialog->style : (dialog->style | WS_POPUP | WS_CAPTION | WS_SYSMENU) & ~WS_VISIBLE;
    const CRect rect(0, 0, DialogUnitsToPixelsX(dialog->cx), DialogUnitsToPixelsY(dialog->cy));
    if (!CWnd::Create(bPage ? std::wstring() : dialog->caption, style, rect, pOwner, m_nIDTemplate))
        return false;
    if (!bPage) {
        if (style & WS_THICKFRAME) {
            MINMAXINFO info;
            SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
            GetWidget()->setMinimumSize(std::max(0, info.ptMinTrackSize.x), std::max(0, info.ptMinTrackSize.y));
        } else {
            GetWidget()->setFixedSize(rect.Width(), rect.Height());
        }
        CenterWindow(pOwner);
    }
    m_pFont = std::make_unique<CFont>();
    m_pFont->CreatePointFont(dialog->nPointSize, dialog->fontName);
    SetFont(m_pFont.get(), false);
    for (const CDialogItem& item : dialog->items)
        if (!CreateItem(item))
            return false;
    // The default button first takes the focus, as the dialog manager gives it.
    if (CWnd* pDefault = GetDlgItem(m_nDefaultID))
        pDefault->SetFocus();
    return true;
}

void CDialog::CenterWindow(CWnd* pAlternateOwner)
{
    QWidget* dialog = GetWidget();
    const QWidget* owner = pAlternateOwner && pAlternateOwner->GetWidget() ? pAlternateOwner->GetWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QPoint centre = owner && owner->isVisible() ? owner->geometry().center() : area.center();
    QRect placed(QPoint(0, 0), dialog->size());
    placed.moveCenter(centre);
    // Kept on the screen, its top-left corner first.
    placed.moveLeft(std::max(area.left(), std::min(placed.left(), area.right() + 1 - placed.width())));
    placed.moveTop(std::max(area.top(), std::min(placed.top(), area.bottom() + 1 - placed.height())));
    dialog->setGeometry(placed);
}

CWnd* CDialog::DefaultOwner() const
{
    if (m_pParentWnd)
        return m_pParentWnd;
    return AfxGetApp() ? AfxGetApp()->GetMainWnd() : nullptr;
}

bool CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    if (GetSafeHwnd())
        return false;
    m_nIDTemplate = nIDTemplate;
    m_bEnded = false;
    m_controls.clear();
    if (!CreateFromTemplate(pParentWnd ? pParentWnd : DefaultOwner())) {
        m_controls.clear();
        if (GetSafeHwnd())
            DestroyWindow();
        return false;
    }
    SendMessage(WM_INITDIALOG, 0, 0);
    return true;
}

INT_PTR CDialog::DoModal()
{
    if (const CDialogTemplate* dialog = AfxFindDialogTemplate(m_nIDTemplate); dialog && (dialog->style & WS_CHILD)) {
        g_messageLog.Log(LOG_ERROR, "CDialog: the page %u cannot run as a modal dialog.", m_nIDTemplate);
        return -1;
    }
    CWnd* pOwner = DefaultOwner();
    m_bEnded = false;
    m_nResult = IDCANCEL;
    if (!CreateFromTemplate(pOwner)) {
        m_controls.clear();
        if (GetSafeHwnd())
            DestroyWindow();
        return -1;
    }
    SendMessage(WM_INITDIALOG, 0, 0);
    if (s_modalHook && !m_bEnded)
        s_modalHook(*this);
    if (!m_bEnded) {
        auto* dialog = static_cast<QDialog*>(GetWidget());
        m_bInLoop = true;
        dialog->exec();
        m_bInLoop = false;
    }
    m_controls.clear();
    DestroyWindow();
    return m_nResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    m_bEnded = true;
    if (m_bInLoop && GetWidget())
        static_cast<QDialog*>(GetWidget())->done(nResult);
}

void CDialog::PressButton(int nID)
{
    SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
}

void CDialog::OnReturnKey()
{
    CWnd* pFocus = FromWidget(FocusWidget());
    if (auto* pButton = dynamic_cast<CButton*>(pFocus); pButton && pButton->GetTopLevelParent() == this &&
                                                         qobject_cast<QPushButton*>(pButton->GetWidget()))
        pButton->Click();
    else
        PressButton(m_nDefaultID);
}

void CDialog::OnEscapeKey()
{
    PressButton(IDCANCEL);
}

void CDialog::OnClose()
{
    PressButton(IDCANCEL);
}

bool CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog() ? 1 : 0;
    if (message == WM_NOTIFY && lParam) {
        const auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
        const auto handler = m_notifyMap.find({int(pHeader->idFrom), pHeader->code});
        if (handler != m_notifyMap.end())
            return handler->second(reinterpret_cast<NMHDR*>(lParam));
    }
    // A page leaves Return and Escape to the dialog it sits in.
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE) && !IsTopLevel())
        return GetParent() ? GetParent()->SendMessage(message, wParam, lParam) : 0;
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        OnReturnKey();
        return 0;
    }
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        OnEscapeKey();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
