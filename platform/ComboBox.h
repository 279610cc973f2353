#pragma once
// The combo box as a drop-down list.

#include "Wnd.h"

// Combo box styles.
enum : DWORD { CBS_DROPDOWNLIST = 0x3, CBS_SORT = 0x100 };
// Combo box notification of WM_COMMAND.
enum : UINT { CBN_SELCHANGE = 1 };
// The index of no item, and the answer of a call that failed.
constexpr int CB_ERR = -1;

// A drop-down list of texts, each with a pointer of the program's. With CBS_SORT an added text
// goes to its place in case-blind order, after equal ones. The user's choice notifies the
// parent with CBN_SELCHANGE; SetCurSel and the other calls notify nobody.
class CComboBox : public CWnd
{
public:
    // The index the text went to.
    int AddString(const std::wstring& text);
    int GetCount() const;
    // CB_ERR when nothing is selected.
    int GetCurSel() const;
    // CB_ERR, and nothing selected, for an index outside the list.
    int SetCurSel(int nSelect);
    // Empty for an index outside the list.
    std::wstring GetLBText(int nIndex) const;
    void SetItemDataPtr(int nIndex, void* pData);
    // Null for an index outside the list.
    void* GetItemDataPtr(int nIndex) const;

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
};
