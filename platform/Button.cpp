#include "Button.h"

#include "QtConvert.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>

QWidget* CButton::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    const QString text = ToQString(cs.lpszName);
    QAbstractButton* button = nullptr;
    const DWORD type = cs.style & BS_TYPEMASK;
    const bool bPushLike = (cs.style & BS_PUSHLIKE) && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ||
                                                         type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
    switch (bPushLike ? DWORD(BS_PUSHBUTTON) : type) {
    case BS_GROUPBOX: return new QGroupBox(text, pParentWidget);
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX: button = new QCheckBox(text, pParentWidget); break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        auto* radio = new QRadioButton(text, pParentWidget);
        // Groups follow WS_GROUP, not Qt's one group per parent.
        radio->setAutoExclusive(false);
        button = radio;
        break;
    }
    default: {
        auto* push = new QPushButton(text, pParentWidget);
        // Return belongs to the dialog, which decides what it presses.
        push->setAutoDefault(false);
        push->setDefault(false);
        push->setCheckable(bPushLike);
        button = push;
        break;
    }
    }
    QObject::connect(button, &QAbstractButton::clicked, button, [button] {
        auto* pButton = dynamic_cast<CButton*>(CWnd::FromWidget(button));
        if (!pButton)
            return;
        // Qt has toggled the state already; the button's kind decides what it becomes.
        if (button->isCheckable()) {
            const QSignalBlocker blocker(button);
            button->setChecked(!button->isChecked());
        }
        pButton->Click();
    });
    return button;
}

bool CButton::IsRadio() const
{
    return GetButtonStyle() == BS_RADIOBUTTON || GetButtonStyle() == BS_AUTORADIOBUTTON;
}

void CButton::Click()
{
    if (GetButtonStyle() == BS_AUTOCHECKBOX) {
        SetCheck(GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    } else if (GetButtonStyle() == BS_AUTORADIOBUTTON) {
        SetCheck(BST_CHECKED);
        ClearGroup();
    }
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->Dispatch(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

int CButton::GetCheck() const
{
    const auto* button = qobject_cast<const QAbstractButton*>(GetWidget());
    return button && button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck)
{
    auto* button = qobject_cast<QAbstractButton*>(GetWidget());
    if (!button || !button->isCheckable())
        return;
    const QSignalBlocker blocker(button);
    button->setChecked(nCheck == BST_CHECKED);
}

void CButton::ClearGroup()
{
    const CWnd* pParent = GetParent();
    if (!pParent)
        return;
    // The group is the run of children from the last WS_GROUP mark up to this button to the
    // next mark after it.
    const std::vector<CWnd*>& children = pParent->GetChildren();
    const auto self = std::find(children.begin(), children.end(), this);
    if (self == children.end())
        return;
    auto first = self;
    while (first != children.begin() && !((*first)->GetStyle() & WS_GROUP))
        --first;
    for (auto it = first; it != children.end(); ++it) {
        if (it > self && ((*it)->GetStyle() & WS_GROUP))
            break;
        auto* pButton = dynamic_cast<CButton*>(*it);
        if (pButton && pButton != this && pButton->IsRadio())
            pButton->SetCheck(BST_UNCHECKED);
    }
}

void CWnd::CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck)
{
    for (CWnd* pChild : GetChildren()) {
        const int nID = pChild->GetDlgCtrlID();
        if (nID < nIDFirst || nID > nIDLast)
            continue;
        if (auto* pButton = dynamic_cast<CButton*>(pChild))
            pButton->SetCheck(nID == nIDCheck ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CButton::SetIcon(HICON hIcon)
{
    m_hIcon = hIcon;
    auto* button = qobject_cast<QAbstractButton*>(GetWidget());
    if (!button)
        return;
    button->setIcon(hIcon ? QIcon(QString::fromUtf8(hIcon->path)) : QIcon());
    const int side = std::clamp(std::min(button->width(), button->height()) - 8, 16, 32);
    button->setIconSize(QSize(side, side));
}
