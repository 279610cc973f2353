#pragma once
// The common dialogs as replaceable services: message boxes and the open-file dialog. The
// default implementations are Qt's; tests install their own that record the question and
// give scripted answers. The wait cursor is here too.

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

// The installed services are not owned; nullptr puts the default one back.
void AfxSetMessageBoxService(IMessageBoxService* pService);
void AfxSetFileDialogService(IFileDialogService* pService);
IMessageBoxService& AfxGetMessageBoxService();
IFileDialogService& AfxGetFileDialogService();

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
