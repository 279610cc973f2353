#include "Edit.h"

#include "QtConvert.h"
#include "WndHost.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace {
bool IsMomentaryFocusChange(const QFocusEvent* pEvent)
{
    return pEvent->reason() == Qt::PopupFocusReason || pEvent->reason() == Qt::MenuBarFocusReason;
}
} // namespace

// The edit box's widget: keys and focus changes go to its window first.
class CEditWidget : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;
    void DefaultKey(QKeyEvent* pEvent) { QLineEdit::keyPressEvent(pEvent); }

protected:
    void keyPressEvent(QKeyEvent* pEvent) override
    {
        if (CEdit* pEdit = ControlOf<CEdit>(this))
            pEvent->setAccepted(pEdit->TranslateKey(pEvent));
        else
            QLineEdit::keyPressEvent(pEvent);
    }
    void focusInEvent(QFocusEvent* pEvent) override
    {
        QLineEdit::focusInEvent(pEvent);
        if (CEdit* pEdit = ControlOf<CEdit>(this); pEdit && !IsMomentaryFocusChange(pEvent))
            pEdit->Dispatch(WM_SETFOCUS, 0, 0);
    }
    void focusOutEvent(QFocusEvent* pEvent) override
    {
        if (CEdit* pEdit = ControlOf<CEdit>(this); pEdit && !IsMomentaryFocusChange(pEvent))
            pEdit->Dispatch(WM_KILLFOCUS, 0, 0);
        QLineEdit::focusOutEvent(pEvent);
    }
};

QWidget* CEdit::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* edit = new CEditWidget(ToQString(cs.lpszName), pParentWidget);
    edit->setFrame((cs.style & WS_BORDER) != 0);
    const DWORD align = cs.style & 0x3;
    edit->setAlignment((align == ES_CENTER ? Qt::AlignHCenter : align == ES_RIGHT ? Qt::AlignRight : Qt::AlignLeft) |
                       Qt::AlignVCenter);
    edit->setReadOnly((cs.style & ES_READONLY) != 0);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit] {
        if (CEdit* pEdit = ControlOf<CEdit>(edit))
            pEdit->Notify(EN_CHANGE);
    });
    return edit;
}

LRESULT CEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return OnGetDlgCode();
    return CWnd::WindowProc(message, wParam, lParam);
}

UINT CEdit::OnGetDlgCode()
{
    return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
}

bool CEdit::TranslateKey(QKeyEvent* pEvent)
{
    const UINT vk = VirtualKeyFromQt(pEvent->key());
    const bool bEscape = vk == VK_ESCAPE;
    if (bEscape && (SendMessage(WM_GETDLGCODE, vk, 0) & DLGC_WANTALLKEYS) == 0)
        return false;
    const HWND hSelf = m_hWnd;
    m_pKey = pEvent;
    m_bKeyPassed = false;
    pEvent->accept();
    if (vk)
        Dispatch(WM_KEYDOWN, vk, MAKELPARAM(1, pEvent->isAutoRepeat() ? 0x4000 : 0));
    for (const QChar ch : pEvent->text())
        if (FromHandle(hSelf) == this)
            Dispatch(WM_CHAR, ch.unicode(), MAKELPARAM(1, 0));
    // A handler may have destroyed the box.
    if (FromHandle(hSelf) != this)
        return true;
    if (!vk && pEvent->text().isEmpty())
        PassKey(pEvent->key(), 0);
    const bool bPassed = m_bKeyPassed;
    m_pKey = nullptr;
    m_bKeyPassed = false;
    if (vk == VK_RETURN || bEscape || !bPassed)
        return true;
    return pEvent->isAccepted();
}

void CEdit::PassKey(int qtKey, UINT nChar)
{
    auto* edit = static_cast<CEditWidget*>(GetWidget());
    if (!edit)
        return;
    if (m_pKey) {
        if (!m_bKeyPassed) {
            m_bKeyPassed = true;
            edit->DefaultKey(m_pKey);
        }
        return;
    }
    QKeyEvent key(QEvent::KeyPress, qtKey, Qt::NoModifier, nChar ? QString(QChar(char16_t(nChar))) : QString());
    edit->DefaultKey(&key);
}

void CEdit::OnKeyDown(UINT nChar, UINT, UINT)
{
    // Keys that type a character are typed by WM_CHAR.
    if (!m_pKey || m_pKey->text().isEmpty())
        PassKey(QtKeyFromVirtualKey(nChar), 0);
}

void CEdit::OnChar(UINT nChar, UINT, UINT)
{
    const bool bControl = nChar < 0x20 || nChar == 0x7F;
    if ((GetStyle() & ES_NUMBER) && !bControl && !(nChar >= '0' && nChar <= '9'))
        return;
    const int qtKey = nChar == VK_BACK ? Qt::Key_Backspace : nChar == VK_RETURN ? Qt::Key_Return
                      : nChar == VK_ESCAPE ? Qt::Key_Escape : Qt::Key_unknown;
    PassKey(qtKey, nChar);
}

void CEdit::OnSetFocus(CWnd*)
{
    Notify(EN_SETFOCUS);
}

void CEdit::OnKillFocus(CWnd*)
{
    Notify(EN_KILLFOCUS);
}

void CEdit::Notify(UINT nCode)
{
    if (CWnd* pParent = GetParent())
        pParent->Dispatch(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), int(nCode)), reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

void CEdit::SetSel(int nStart, int nEnd, bool)
{
    auto* edit = qobject_cast<QLineEdit*>(GetWidget());
    if (!edit)
        return;
    if (nStart < 0) {
        edit->deselect();
        return;
    }
    const int length = int(edit->text().size());
    if (nEnd < 0 || nEnd > length)
        nEnd = length;
    nStart = std::min(nStart, length);
    if (nStart == nEnd)
        edit->setCursorPosition(nStart);
    else
        edit->setSelection(nStart, nEnd - nStart);
}

void CEdit::GetSel(int& nStart, int& nEnd) const
{
    nStart = nEnd = 0;
    const auto* edit = qobject_cast<const QLineEdit*>(GetWidget());
    if (!edit)
        return;
    if (edit->hasSelectedText()) {
        nStart = edit->selectionStart();
        nEnd = nStart + int(edit->selectedText().size());
    } else {
        nStart = nEnd = edit->cursorPosition();
    }
}

void CEdit::SetReadOnly(bool bReadOnly)
{
    if (auto* edit = qobject_cast<QLineEdit*>(GetWidget()))
        edit->setReadOnly(bReadOnly);
}

bool CEdit::IsReadOnly() const
{
    const auto* edit = qobject_cast<const QLineEdit*>(GetWidget());
    return edit && edit->isReadOnly();
}
