#include "Button.h"

#include "QtConvert.h"

#include <QGroupBox>
#include <QPushButton>

QWidget* CButton::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    if ((cs.style & 0xF) == BS_GROUPBOX)
        return new QGroupBox(ToQString(cs.lpszName), pParentWidget);
    auto* button = new QPushButton(ToQString(cs.lpszName), pParentWidget);
    // Return belongs to the dialog, which decides what it presses.
    button->setAutoDefault(false);
    button->setDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [button] {
        if (auto* pButton = dynamic_cast<CButton*>(CWnd::FromWidget(button)))
            pButton->Click();
    });
    return button;
}

void CButton::Click()
{
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->Dispatch(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(GetSafeHwnd()));
}
