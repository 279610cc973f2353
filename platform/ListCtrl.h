#pragma once
// The list view in report style.

#include "Wnd.h"

#include <vector>

class CImageList;
class CListWidget;

// List view styles.
enum : DWORD { LVS_REPORT = 0x1, LVS_SINGLESEL = 0x4, LVS_SHOWSELALWAYS = 0x8, LVS_NOCOLUMNHEADER = 0x4000 };
// Extended styles.
enum : DWORD { LVS_EX_SUBITEMIMAGES = 0x2, LVS_EX_CHECKBOXES = 0x4, LVS_EX_FULLROWSELECT = 0x20 };
// Item states. The state image in bits 12 to 15 is a row's check box: 1 unchecked, 2 checked.
enum : UINT { LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2, LVIS_STATEIMAGEMASK = 0xF000 };
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT nIndex)
{
    return nIndex << 12;
}
// What LVN_ITEMCHANGED reports as changed: the state.
enum : UINT { LVIF_STATE = 0x8 };
enum : int { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2 };
// SetColumnWidth: the last column fills the rest of the list, another fits its heading and texts.
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;
// GetNextItem: the next row, or the next selected one.
enum : int { LVNI_ALL = 0, LVNI_SELECTED = 2 };
enum : int { LVSIL_SMALL = 1 };
// List view notification of WM_NOTIFY: the state of one row changed.
constexpr UINT LVN_ITEMCHANGED = UINT(-101);

struct NMLISTVIEW
{
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = LVIF_STATE;
};

// Rows of texts under column headings (LVS_NOCOLUMNHEADER hides them). Rows are selected whole;
// LVS_SINGLESEL allows one selected row, else the user selects several with Shift and Ctrl.
// LVS_EX_CHECKBOXES gives every row a check box before its first text, which a click toggles
// without selecting the row; LVS_EX_SUBITEMIMAGES lets the columns after the first show images
// of the small image list. Each row's state is its LVIS_ bits. When the user changes states,
// the parent gets one LVN_ITEMCHANGED per row with the old and the new state, rows that lose a
// state before rows that gain one; what the program does notifies nobody. A label edited in
// place (EditLabel) is not taken over: the row keeps its text.
class CListCtrl : public CWnd
{
public:
    DWORD GetExtendedStyle() const { return m_dwExStyle; }
    void SetExtendedStyle(DWORD dwExStyle);
    // The index the column went to; -1 when it failed.
    int InsertColumn(int nCol, const std::wstring& heading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    bool SetColumnWidth(int nCol, int cx);
    int GetColumnWidth(int nCol) const;
    // The list before; the list is not owned and must outlive its use here.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;

    // The index the row went to; -1 when it failed.
    int InsertItem(int nItem, const std::wstring& text);
    bool DeleteItem(int nItem);
    bool DeleteAllItems();
    int GetItemCount() const;
    bool SetItemText(int nItem, int nSubItem, const std::wstring& text);
    std::wstring GetItemText(int nItem, int nSubItem) const;
    // The image of the small image list in a row's column; -1 for none.
    bool SetItemImage(int nItem, int nSubItem, int nImage);
    int GetItemImage(int nItem, int nSubItem) const;

    // nItem -1: every row.
    bool SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    bool SetCheck(int nItem, bool bCheck = true);
    bool GetCheck(int nItem) const;
    // The first row after nItem (-1: from the start) that the flags ask for; -1 when none.
    int GetNextItem(int nItem, int nFlags) const;
    UINT GetSelectedCount() const;
    // Opens the editor over the row's first text.
    bool EditLabel(int nItem);

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    friend class CListWidget;
    friend class CListDelegate;
    // The program changes the list while one lives; the states are taken again at its end.
    class CSilence;

    CListWidget* List() const;
    std::vector<UINT> CurrentStates() const;
    // Notifies the parent of what the user changed since the states were last taken.
    void ReportUserChanges();

    DWORD m_dwExStyle = 0;
    CImageList* m_pSmallImages = nullptr;
    std::vector<int> m_formats; // LVCFMT_ of each column
    std::vector<UINT> m_states; // the rows' states as last taken
    int m_nSilent = 0;
};
