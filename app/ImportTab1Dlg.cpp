#include "ImportTab1Dlg.h"

#include "ResourceIds.h"
#include "Services.h"

#include "FileIo.h"
#include "ProfileHeader.h"
#include "ProjectCreation.h"

#include <filesystem>
#include <system_error>

bool IsSameFolder(const std::wstring& a, const std::wstring& b)
{
    if (a == b)
        return true;
    std::error_code ec;
    return std::filesystem::equivalent(NativePath(a), NativePath(b), ec) && !ec;
}

CImportTab1Dlg::CImportTab1Dlg() : CDialog(IDD_IMPORT_PAGE)
{
    AttachDlgItem(IDC_PROFILE_LIST, m_list);
    MapCommand(IDC_PROFILE_LOAD, [this] { OnLoadProfile(); });
    MapCommand(IDC_PROFILE_REMOVE, [this] { OnRemove(); });
    MapCommand(IDC_PROFILE_UP, [this] { OnMoveUp(); });
    MapCommand(IDC_PROFILE_DOWN, [this] { OnMoveDown(); });
}

bool CImportTab1Dlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, L"Profile", LVCFMT_LEFT);
    m_list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
    const std::pair<int, UINT> icons[] = {{IDC_PROFILE_LOAD, IDI_PROFILE_LOAD},
                                          {IDC_PROFILE_REMOVE, IDI_PROFILE_REMOVE},
                                          {IDC_PROFILE_UP, IDI_PROFILE_UP},
                                          {IDC_PROFILE_DOWN, IDI_PROFILE_DOWN}};
    for (const auto& [nID, nIcon] : icons)
        if (auto* pButton = dynamic_cast<CButton*>(GetDlgItem(nID)))
            pButton->SetIcon(AfxFindIcon(nIcon));
    return true;
}

const std::vector<std::wstring>& CImportTab1Dlg::GetProfiles()
{
    m_profiles.clear();
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        m_profiles.push_back(m_list.GetItemText(i, 0));
    return m_profiles;
}

std::wstring CImportTab1Dlg::GetLoadedFolder() const
{
    return m_list.GetItemCount() > 0 ? m_strLoadedFolder : std::wstring();
}

void CImportTab1Dlg::OnLoadProfile()
{
    if (m_strImportFolder.empty()) {
        MessageBox(L"Import folder must be set first.", std::wstring(), MB_OK);
        return;
    }
    CFileDialog dialog(true, L"rad", std::wstring(), OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                       L"2D GPR files (*.rd3)|*.rd3|All Files (*.*)|*.*||", this);
    dialog.m_request.title = L"Load Profile";
    dialog.m_request.initialPath = m_strImportFolder;
    if (dialog.DoModal() != IDOK)
        return;

    // The project is made from the import folder: profiles elsewhere would not be found.
    const std::wstring folder = dialog.GetFolderPath();
    const std::wstring listFolder = GetLoadedFolder().empty() ? m_strImportFolder : GetLoadedFolder();
    if (!IsSameFolder(folder, m_strImportFolder) || !IsSameFolder(folder, listFolder)) {
        MessageBox(L"Profiles must be loaded from the import folder " + m_strImportFolder + L".", std::wstring(),
                   MB_OK);
        return;
    }
    for (const std::wstring& name : dialog.GetBufferNames()) {
        CProfileHeader header;
        if (!header.Load(folder, GetFileTitleNoExt(name))) {
            MessageBox(L"Error: Bad format of " + name + L"\nUnable to load file.", std::wstring(), MB_OK);
            return;
        }
        if (m_list.GetItemCount() == 0)
            m_strLoadedFolder = folder;
        m_list.InsertItem(m_list.GetItemCount(), name);
    }
}

void CImportTab1Dlg::OnRemove()
{
    for (int i = m_list.GetItemCount() - 1; i >= 0; --i)
        if (m_list.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED)
            m_list.DeleteItem(i);
}

void CImportTab1Dlg::OnMoveUp()
{
    MoveSelected(-1);
}

void CImportTab1Dlg::OnMoveDown()
{
    MoveSelected(1);
}

void CImportTab1Dlg::MoveSelected(int nStep)
{
    const int nItem = m_list.GetNextItem(-1, LVNI_SELECTED);
    const int nTarget = nItem + nStep;
    if (nItem < 0 || nTarget < 0 || nTarget >= m_list.GetItemCount())
        return;
    const std::wstring text = m_list.GetItemText(nItem, 0);
    m_list.DeleteItem(nItem);
    m_list.InsertItem(nTarget, text);
    m_list.SetItemState(nTarget, LVIS_SELECTED, LVIS_SELECTED);
}
