#pragma once
// The common dialogs as replaceable services: message boxes, the open-file dialog and the
// folder picker. The default implementations are Qt's; tests install their own that record
// the question and give scripted answers. The wait cursor is here too.

#include "Types.h"

#include <string>
#include <vector>

class CWnd;

class IMessageBoxService
{
public:
    virtual ~IMessageBoxService() = default;
    // MB_ buttons and icon in nType; the result is the pressed button's id (IDOK, IDYES ...).
    virtual int MessageBox(CWnd* pOwner, const std::wstring& text, const std::wstring& caption, UINT nType) = 0;
};

// Open-file dialog flags that the program passes.
enum : DWORD {
    OFN_READONLY = 0x1, OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4, OFN_ALLOWMULTISELECT = 0x200,
    OFN_FILEMUSTEXIST = 0x1000,
};

struct CFileDialogRequest
{
    bool bOpen = true;
    std::wstring title;
    std::wstring filter;      // "Name|*.ext|Other|*.a;*.b||"
    std::wstring defaultExt;  // without the dot, may be empty
    std::wstring initialPath; // a folder or a file
    DWORD flags = 0;
};

class IFileDialogService
{
public:
    virtual ~IFileDialogService() = default;
    // The chosen paths (one unless OFN_ALLOWMULTISELECT); false when cancelled.
    virtual bool GetFileNames(CWnd* pOwner, const CFileDialogRequest& request, std::vector<std::wstring>& paths) = 0;
};

// Result codes of the folder picker.
using HRESULT = LONG;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = HRESULT(0x80004005);
constexpr DWORD ERROR_CANCELLED = 1223;
constexpr HRESULT HRESULT_FROM_WIN32(DWORD code)
{
    return code == 0 ? S_OK : HRESULT((code & 0xFFFF) | 0x80070000);
}

class IFolderPickerService
{
public:
    virtual ~IFolderPickerService() = default;
    // S_OK with the chosen folder's path, which is left alone otherwise:
    // HRESULT_FROM_WIN32(ERROR_CANCELLED) when the user cancelled, another code on failure.
    virtual HRESULT PickFolder(CWnd* pOwner, std::wstring& path) = 0;
};

// The installed services are not owned; nullptr puts the default one back.
void AfxSetMessageBoxService(IMessageBoxService* pService);
void AfxSetFileDialogService(IFileDialogService* pService);
void AfxSetFolderPickerService(IFolderPickerService* pService);
IMessageBoxService& AfxGetMessageBoxService();
IFileDialogService& AfxGetFileDialogService();
IFolderPickerService& AfxGetFolderPickerService();

// A message box over the application's main window with the application's name as caption.
int AfxMessageBox(const std::wstring& text, UINT nType = MB_OK);

// "Name|*.a;*.b|...||" as Qt's filter list "Name (*.a *.b);;...".
std::wstring ConvertFileFilter(const std::wstring& filter);

// The framework's file dialog on the service.
class CFileDialog
{
public:
    CFileDialog(bool bOpenFileDialog, const std::wstring& defaultExt = std::wstring(),
                const std::wstring& fileName = std::wstring(), DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                const std::wstring& filter = std::wstring(), CWnd* pParentWnd = nullptr);
    int DoModal();
    std::wstring GetPathName() const { return m_paths.empty() ? std::wstring() : m_paths.front(); }
    const std::vector<std::wstring>& GetPathNames() const { return m_paths; }
    // The folder of the chosen files.
    std::wstring GetFolderPath() const;
    // The chosen files as the dialog's name buffer lists them after the folder: the bare
    // names when several were chosen, the full path when one was.
    std::vector<std::wstring> GetBufferNames() const;

    CFileDialogRequest m_request;

private:
    CWnd* m_pParent;
    std::vector<std::wstring> m_paths;
};

// The wait cursor while the object lives.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
