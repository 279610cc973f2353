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

QWidget* CDialog::CreateWidget(const CREATESTRUCT&, QWidget* pParentWidget)
{
    auto* dialog = new CWndHost<QDialog>(this, true, pParentWidget);
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    return dialog;
}

bool CDialog::CreateFromTemplate(CWnd* pOwner)
{
    const CDialogTemplate* dialog = AfxFindDialogTemplate(m_nIDTemplate);
    if (!dialog) {
        g_messageLog.Log(LOG_ERROR, "CDialog: no dialog template %u.", m_nIDTemplate);
        return false;
    }
    const CRect rect(0, 0, DialogUnitsToPixelsX(dialog->cx), DialogUnitsToPixelsY(dialog->cy));
    if (!CWnd::Create(dialog->caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, rect, pOwner, m_nIDTemplate))
        return false;
    GetWidget()->setFixedSize(rect.Width(), rect.Height());
    CenterWindow(pOwner);
    m_pFont = std::make_unique<CFont>();
    m_pFont->CreatePointFont(dialog->nPointSize, dialog->fontName);
    SetFont(m_pFont.get(), false);
    for (const CDialogItem& item : dialog->items) {
        DWORD style = WS_CHILD | WS_VISIBLE;
        std::unique_ptr<CWnd> control;
        switch (item.kind) {
        case TDialogControl::LText: style |= SS_LEFT; control = std::make_unique<CStatic>(); break;
        case TDialogControl::CText: style |= SS_CENTER; control = std::make_unique<CStatic>(); break;
        case TDialogControl::RText: style |= SS_RIGHT; control = std::make_unique<CStatic>(); break;
        case TDialogControl::PushButton: style |= BS_PUSHBUTTON | WS_TABSTOP; control = std::make_unique<CButton>(); break;
        case TDialogControl::DefPushButton:
            style |= BS_DEFPUSHBUTTON | WS_TABSTOP;
            control = std::make_unique<CButton>();
            m_nDefaultID = item.nID;
            break;
        case TDialogControl::GroupBox: style |= BS_GROUPBOX; control = std::make_unique<CButton>(); break;
        case TDialogControl::Edit: control = std::make_unique<CEdit>(); break;
        case TDialogControl::Trackbar: control = std::make_unique<CSliderCtrl>(); break;
        }
        style |= item.style;
        const CRect at(DialogUnitsToPixelsX(item.x), DialogUnitsToPixelsY(item.y),
                       DialogUnitsToPixelsX(item.x + item.cx), DialogUnitsToPixelsY(item.y + item.cy));
        if (!control->Create(item.text, style, at, this, UINT(item.nID)))
            return false;
        m_controls.push_back(std::move(control));
    }
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
    CWnd* pFocus = GetFocus();
    if (auto* pButton = dynamic_cast<CButton*>(pFocus); pButton && pButton->GetParent() == this &&
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
