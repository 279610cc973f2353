#pragma once
// A page of the import dialog: the ordered list of the profiles of one direction, with
// buttons that load profiles from the import folder, remove the selected ones and move the
// first selected one up or down.

#include "Controls.h"
#include "Dialog.h"

#include <string>
#include <vector>

class CImportTab1Dlg : public CDialog
{
public:
    // Page types.
    enum : int { PAGE_HORIZONTAL = 10, PAGE_VERTICAL = 11 };

    CImportTab1Dlg();

    // The list's texts in list order.
    const std::vector<std::wstring>& GetProfiles();
    // The folder the listed profiles were loaded from; empty while the list is empty.
    std::wstring GetLoadedFolder() const;
    CListCtrl& GetList() { return m_list; }

    void OnLoadProfile();
    void OnRemove();
    void OnMoveUp();
    void OnMoveDown();

    int m_iPageType = -1;
    std::wstring m_strImportFolder;

protected:
    bool OnInitDialog() override;

private:
    // Moves the first selected item by one place, up (-1) or down (1).
    void MoveSelected(int nStep);

    CListCtrl m_list;
    std::vector<std::wstring> m_profiles;
    std::wstring m_strLoadedFolder;
};

// True when both name the same folder (both existing), or the same text.
bool IsSameFolder(const std::wstring& a, const std::wstring& b);
