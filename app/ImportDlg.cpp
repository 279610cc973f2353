#include "ImportDlg.h"

#include "ResourceIds.h"

#include "Cfg.h"
#include "FileIo.h"
#include "MessageLog.h"
#include "ProjectCreation.h"
#include "Values.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool ParseProfileDistance(const std::wstring& text, double& value)
{
    const std::string ansi = ToAnsi(text);
    const size_t first = ansi.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    const size_t last = ansi.find_last_not_of(" \t");
    const char* begin = ansi.data() + first;
    const char* end = ansi.data() + last + 1;
    double parsed = 0.0;
    const auto result = std::from_chars(begin, end, parsed);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

CImportDlg::CImportDlg(CWnd* pParent) : CDialog(IDD_IMPORT, pParent)
{
    AttachDlgItem(IDC_IMPORT_TABS, m_tabs);
    MapCommand(IDC_IMPORT_BROWSE_SOURCE, [this] { OnBrowseImportFolder(); });
    MapCommand(IDC_IMPORT_BROWSE_PROJECT, [this] { OnBrowseProjectFolder(); });
}

std::wstring CImportDlg::GetLastImportFolder()
{
    return g_cfg.m_importSrcFolder;
}

std::wstring CImportDlg::GetLastProjectFolder()
{
    return g_cfg.m_importProjectFolder;
}

bool CImportDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const std::pair<CImportTab1Dlg*, int> pages[] = {{&m_pageVertical, CImportTab1Dlg::PAGE_VERTICAL},
                                                     {&m_pageHorizontal, CImportTab1Dlg::PAGE_HORIZONTAL}};
    for (const auto& [pPage, nType] : pages) {
        pPage->Create(IDD_IMPORT_PAGE, this);
        pPage->m_iPageType = nType;
        pPage->m_strImportFolder = GetLastImportFolder();
        m_tabs.AddPage(pPage, AfxLoadString(nType == CImportTab1Dlg::PAGE_VERTICAL ? IDS_VERTICAL : IDS_HORIZONTAL));
    }
    SetItemText(IDC_IMPORT_PROJECT_FOLDER, GetLastProjectFolder());
    SetItemText(IDC_IMPORT_SOURCE, GetLastImportFolder());
    for (int nID : {IDC_IMPORT_BROWSE_SOURCE, IDC_IMPORT_BROWSE_PROJECT})
        if (auto* pButton = dynamic_cast<CButton*>(GetDlgItem(nID)))
            pButton->SetIcon(AfxFindIcon(IDI_BROWSE_FOLDER));
    return true;
}

HRESULT CImportDlg::BrowseFolder(std::wstring& path)
{
    return AfxGetFolderPickerService().PickFolder(this, path);
}

void CImportDlg::OnBrowseImportFolder()
{
    std::wstring folder;
    if (BrowseFolder(folder) != S_OK)
        return;
    SetItemText(IDC_IMPORT_SOURCE, folder);
    for (CImportTab1Dlg* pPage : {&m_pageVertical, &m_pageHorizontal})
        pPage->m_strImportFolder = folder;
}

void CImportDlg::OnBrowseProjectFolder()
{
    std::wstring folder;
    if (BrowseFolder(folder) == S_OK)
        SetItemText(IDC_IMPORT_PROJECT_FOLDER, folder);
}

CImportTab1Dlg* CImportDlg::FindPage(int nPageType)
{
    for (CImportTab1Dlg* pPage : {&m_pageVertical, &m_pageHorizontal})
        if (pPage->m_iPageType == nPageType)
            return pPage;
    return nullptr;
}

std::wstring CImportDlg::ItemText(int nID) const
{
    const CWnd* pItem = GetDlgItem(nID);
    return pItem ? pItem->GetWindowText() : std::wstring();
}

void CImportDlg::SetItemText(int nID, const std::wstring& text)
{
    if (CWnd* pItem = GetDlgItem(nID))
        pItem->SetWindowText(text);
}

void CImportDlg::Tell(const std::wstring& text)
{
    MessageBox(text, std::wstring(), MB_OK);
}

void CImportDlg::OnOK()
{
    const std::wstring projectFolder = ItemText(IDC_IMPORT_PROJECT_FOLDER);
    const std::wstring projectName = ItemText(IDC_IMPORT_NAME);
    const std::wstring importFolder = ItemText(IDC_IMPORT_SOURCE);
    if (projectFolder.empty() || projectName.empty()) {
        Tell(L"Project folder and project name must be set.");
        return;
    }
    if (IsUnsafeProjectName(projectName)) {
        Tell(L"The project name must not contain a path separator, a control character or \"..\".");
        return;
    }
    const std::wstring directory = GetImportedProjectFolder(projectFolder, projectName);
    const std::wstring baseName = GetImportedProjectBaseName(projectName);

    const std::wstring distanceText = ItemText(IDC_IMPORT_DISTANCE);
    if (distanceText.empty()) {
        Tell(L"Profile distance must be set");
        return;
    }
    double distance = 0.0;
    if (!ParseProfileDistance(distanceText, distance) || distance <= 0.0) {
        Tell(L"Profile distance must be a valid number");
        return;
    }

    std::vector<std::wstring> vertical;
    std::vector<std::wstring> horizontal;
    const std::pair<int, std::vector<std::wstring>*> lists[] = {{CImportTab1Dlg::PAGE_VERTICAL, &vertical},
                                                                {CImportTab1Dlg::PAGE_HORIZONTAL, &horizontal}};
    for (const auto& [nType, pList] : lists) {
        CImportTab1Dlg* pPage = FindPage(nType);
        if (!pPage)
            continue;
        const std::wstring loadedFrom = pPage->GetLoadedFolder();
        if (!loadedFrom.empty() && !IsSameFolder(loadedFrom, importFolder)) {
            Tell(L"Profiles must be loaded from the import folder " + importFolder + L".");
            return;
        }
        *pList = pPage->GetProfiles();
    }

    const fs::path nativeDirectory(NativePath(directory));
    std::error_code ec;
    if (fs::exists(nativeDirectory, ec)) {
        if (MessageBox(directory + L" exist.\nFiles can be overwritten.\nDo you want to continue?", L"Warning",
                       MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return;
    } else if (!fs::create_directories(nativeDirectory, ec) || ec) {
        g_messageLog.Log(LOG_ERROR, "CImportDlg::OnOK(): cannot create %s: %s", nativeDirectory.string().c_str(),
                         ec.message().c_str());
        Tell(L"Unable to create the project folder " + directory + L".\n" + FromAnsi(ec.message()));
        return;
    }

    if (vertical.size() < 2 && horizontal.size() < 2) {
        Tell(L"Must select atleast two profiles in one direction.");
        return;
    }

    std::wstring error;
    const int result = Create3DProject(error, importFolder, directory, baseName, vertical, horizontal, distance);
    if (result != CREATE_OK) {
        Tell(error.empty() ? L"The project could not be created." : error);
        return;
    }
    if (!error.empty())
        MessageBox(error, L"Warning", MB_OK | MB_ICONEXCLAMATION);
    g_cfg.m_importProjectFolder = projectFolder;
    g_cfg.m_importSrcFolder = importFolder;
    EndDialog(IDOK);
}
