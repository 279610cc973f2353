#include "ComboBox.h"

#include "QtConvert.h"
#include "WndHost.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace {
constexpr int kDataRole = Qt::UserRole;

QComboBox* ComboOf(const CWnd* pWnd)
{
    return static_cast<QComboBox*>(pWnd->GetWidget());
}
} // namespace

QWidget* CComboBox::CreateWidget(const CREATESTRUCT&, QWidget* pParentWidget)
{
    auto* combo = new QComboBox(pParentWidget);
    combo->setEditable(false);
    // Only the user's choice is reported; the program's changes block the signal.
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo] {
        if (CComboBox* pCombo = ControlOf<CComboBox>(combo); pCombo && pCombo->GetParent())
            pCombo->GetParent()->Dispatch(WM_COMMAND, MAKEWPARAM(pCombo->GetDlgCtrlID(), CBN_SELCHANGE),
                                          reinterpret_cast<LPARAM>(pCombo->GetSafeHwnd()));
    });
    return combo;
}

int CComboBox::AddString(const std::wstring& text)
{
    QComboBox* combo = ComboOf(this);
    if (!combo)
        return CB_ERR;
    const QString item = ToQString(text);
    int index = combo->count();
    if (GetStyle() & CBS_SORT) {
        index = 0;
        while (index < combo->count() && QString::compare(combo->itemText(index), item, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    const QSignalBlocker blocker(combo);
    const int selected = combo->currentIndex();
    combo->insertItem(index, item);
    // Qt selects the first item put into an empty list; the list selects nothing by itself.
    if (selected < 0)
        combo->setCurrentIndex(-1);
    return index;
}

int CComboBox::GetCount() const
{
    const QComboBox* combo = ComboOf(this);
    return combo ? combo->count() : 0;
}

int CComboBox::GetCurSel() const
{
    const QComboBox* combo = ComboOf(this);
    return combo && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect)
{
    QComboBox* combo = ComboOf(this);
    if (!combo)
        return CB_ERR;
    const bool bInList = nSelect >= 0 && nSelect < combo->count();
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(bInList ? nSelect : -1);
    return bInList ? nSelect : CB_ERR;
}

std::wstring CComboBox::GetLBText(int nIndex) const
{
    const QComboBox* combo = ComboOf(this);
    return combo && nIndex >= 0 && nIndex < combo->count() ? FromQString(combo->itemText(nIndex)) : std::wstring();
}

void CComboBox::SetItemDataPtr(int nIndex, void* pData)
{
    QComboBox* combo = ComboOf(this);
    if (combo && nIndex >= 0 && nIndex < combo->count())
        combo->setItemData(nIndex, QVariant::fromValue(pData), kDataRole);
}

void* CComboBox::GetItemDataPtr(int nIndex) const
{
    const QComboBox* combo = ComboOf(this);
    return combo && nIndex >= 0 && nIndex < combo->count() ? combo->itemData(nIndex, kDataRole).value<void*>()
                                                           : nullptr;
}
