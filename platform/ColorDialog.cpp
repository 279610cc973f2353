#include "ColorDialog.h"

#include "QtConvert.h"
#include "WinApp.h"
#include "Wnd.h"

#include <QColorDialog>

namespace {
class CQtColorDialogService : public IColorDialogService
{
public:
    bool ChooseColor(CWnd* pOwner, COLORREF initial, COLORREF& color) override
    {
        QColorDialog dialog(ToQColor(initial), pOwner ? pOwner->GetWidget() : nullptr);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        color = FromQRgb(dialog.selectedColor().rgb());
        return true;
    }
};

CQtColorDialogService s_defaultColorDialogs;
IColorDialogService* s_pColorDialogs = &s_defaultColorDialogs;
} // namespace

void AfxSetColorDialogService(IColorDialogService* pService)
{
    s_pColorDialogs = pService ? pService : &s_defaultColorDialogs;
}

IColorDialogService& AfxGetColorDialogService()
{
    return *s_pColorDialogs;
}

CColorDialog::CColorDialog(COLORREF clrInit, CWnd* pParentWnd) : m_pParent(pParentWnd), m_color(clrInit & 0xFFFFFF)
{
}

INT_PTR CColorDialog::DoModal()
{
    CWnd* pOwner = m_pParent;
    if (!pOwner && AfxGetApp())
        pOwner = AfxGetApp()->GetMainWnd();
    COLORREF chosen = m_color;
    if (!s_pColorDialogs->ChooseColor(pOwner, m_color, chosen))
        return IDCANCEL;
    m_color = chosen & 0xFFFFFF;
    return IDOK;
}
