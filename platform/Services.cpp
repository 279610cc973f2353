#include "Services.h"

#include "QtConvert.h"
#include "WinApp.h"
#include "Wnd.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
class CQtMessageBoxService : public IMessageBoxService
{
public:
    int MessageBox(CWnd* pOwner, const std::wstring& text, const std::wstring& caption, UINT nType) override
    {
        QMessageBox box(pOwner ? pOwner->GetWidget() : nullptr);
        box.setWindowTitle(ToQString(caption));
        box.setText(ToQString(text));
        switch (nType & MB_ICONMASK) {
        case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
        case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
        case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
        case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
        default: break;
        }
        struct CButtonSpec
        {
            const char* text;
            int id;
            QMessageBox::ButtonRole role;
        };
        static const CButtonSpec kOk[] = {{"OK", IDOK, QMessageBox::AcceptRole}};
        static const CButtonSpec kOkCancel[] = {{"OK", IDOK, QMessageBox::AcceptRole},
                                                {"Cancel", IDCANCEL, QMessageBox::RejectRole}};
        static const CButtonSpec kYesNoCancel[] = {{"&Yes", IDYES, QMessageBox::YesRole},
                                                   {"&No", IDNO, QMessageBox::NoRole},
                                                   {"Cancel", IDCANCEL, QMessageBox::RejectRole}};
        static const CButtonSpec kYesNo[] = {{"&Yes", IDYES, QMessageBox::YesRole}, {"&No", IDNO, QMessageBox::NoRole}};
        const CButtonSpec* first = kOk;
        size_t count = 1;
        switch (nType & MB_TYPEMASK) {
        case MB_OKCANCEL: first = kOkCancel; count = 2; break;
        case MB_YESNOCANCEL: first = kYesNoCancel; count = 3; break;
        case MB_YESNO: first = kYesNo; count = 2; break;
        default: break;
        }
        std::vector<std::pair<QAbstractButton*, int>> ids;
        for (size_t i = 0; i < count; ++i)
            ids.emplace_back(box.addButton(QString::fromUtf8(first[i].text), first[i].role), first[i].id);
        box.setDefaultButton(static_cast<QPushButton*>(ids.front().first));
        // Escape answers Cancel where there is one, else the only button (OK).
        if ((nType & MB_TYPEMASK) != MB_YESNO)
            box.setEscapeButton(ids.back().first);
        box.exec();
        for (const auto& [button, id] : ids)
            if (box.clickedButton() == button)
                return id;
        return (nType & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
    }
};

class CQtFileDialogService : public IFileDialogService
{
public:
    bool GetFileNames(CWnd* pOwner, const CFileDialogRequest& request, std::vector<std::wstring>& paths) override
    {
        QFileDialog dialog(pOwner ? pOwner->GetWidget() : nullptr, ToQString(request.title),
                           ToQString(request.initialPath), ToQString(ConvertFileFilter(request.filter)));
        dialog.setAcceptMode(request.bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        if (request.bOpen)
            dialog.setFileMode((request.flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                                      : QFileDialog::ExistingFile);
        if (!request.defaultExt.empty())
            dialog.setDefaultSuffix(ToQString(request.defaultExt));
        if (!request.bOpen && !(request.flags & OFN_OVERWRITEPROMPT))
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        paths.clear();
        for (const QString& file : dialog.selectedFiles())
            paths.push_back(FromQString(file));
        return !paths.empty();
    }
};

class CQtFolderPickerService : public IFolderPickerService
{
public:
    HRESULT PickFolder(CWnd* pOwner, std::wstring& path) override
    {
        QFileDialog dialog(pOwner ? pOwner->GetWidget() : nullptr);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (dialog.exec() != QDialog::Accepted)
            return HRESULT_FROM_WIN32(ERROR_CANCELLED);
        const QStringList folders = dialog.selectedFiles();
        if (folders.isEmpty() || folders.front().isEmpty())
            return E_FAIL;
        path = FromQString(folders.front());
        return S_OK;
    }
};

CQtMessageBoxService s_defaultMessageBoxes;
CQtFileDialogService s_defaultFileDialogs;
CQtFolderPickerService s_defaultFolderPickers;
IMessageBoxService* s_pMessageBoxes = &s_defaultMessageBoxes;
IFileDialogService* s_pFileDialogs = &s_defaultFileDialogs;
IFolderPickerService* s_pFolderPickers = &s_defaultFolderPickers;

// Where the folder part of a path ends; both separators count.
size_t FolderEnd(const std::wstring& path)
{
    return path.find_last_of(L"/\\");
}
} // namespace

void AfxSetMessageBoxService(IMessageBoxService* pService)
{
    s_pMessageBoxes = pService ? pService : &s_defaultMessageBoxes;
}

void AfxSetFileDialogService(IFileDialogService* pService)
{
    s_pFileDialogs = pService ? pService : &s_defaultFileDialogs;
}

IMessageBoxService& AfxGetMessageBoxService()
{
    return *s_pMessageBoxes;
}

IFileDialogService& AfxGetFileDialogService()
{
    return *s_pFileDialogs;
}

void AfxSetFolderPickerService(IFolderPickerService* pService)
{
    s_pFolderPickers = pService ? pService : &s_defaultFolderPickers;
}

IFolderPickerService& AfxGetFolderPickerService()
{
    return *s_pFolderPickers;
}

int AfxMessageBox(const std::wstring& text, UINT nType)
{
    CWinApp* pApp = AfxGetApp();
    CWnd* pOwner = pApp ? pApp->GetMainWnd() : nullptr;
    return s_pMessageBoxes->MessageBox(pOwner, text, pApp ? pApp->m_strAppName : std::wstring(), nType);
}

std::wstring ConvertFileFilter(const std::wstring& filter)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t bar = filter.find(L'|'); bar != std::wstring::npos; bar = filter.find(L'|', start)) {
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::wstring result;
    for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        std::wstring patterns = parts[i + 1];
        for (wchar_t& c : patterns)
            if (c == L';')
                c = L' ';
        std::wstring entry = parts[i];
        // A name that already shows its patterns keeps them once.
        const std::wstring shown = L"(" + patterns + L")";
        if (entry.size() < shown.size() || entry.compare(entry.size() - shown.size(), shown.size(), shown) != 0)
            entry += L" " + shown;
        if (!result.empty())
            result += L";;";
        result += entry;
    }
    return result;
}

CFileDialog::CFileDialog(bool bOpenFileDialog, const std::wstring& defaultExt, const std::wstring& fileName,
                         DWORD dwFlags, const std::wstring& filter, CWnd* pParentWnd)
    : m_pParent(pParentWnd)
{
    m_request.bOpen = bOpenFileDialog;
    m_request.defaultExt = defaultExt;
    m_request.initialPath = fileName;
    m_request.flags = dwFlags;
    m_request.filter = filter;
}

int CFileDialog::DoModal()
{
    CWnd* pOwner = m_pParent;
    if (!pOwner && AfxGetApp())
        pOwner = AfxGetApp()->GetMainWnd();
    return s_pFileDialogs->GetFileNames(pOwner, m_request, m_paths) ? IDOK : IDCANCEL;
}

std::wstring CFileDialog::GetFolderPath() const
{
    const std::wstring first = GetPathName();
    const size_t end = FolderEnd(first);
    if (end == std::wstring::npos)
        return std::wstring();
    return first.substr(0, end == 0 ? 1 : end);
}

std::vector<std::wstring> CFileDialog::GetBufferNames() const
{
    if (m_paths.size() < 2)
        return m_paths;
    std::vector<std::wstring> names;
    for (const std::wstring& path : m_paths) {
        const size_t end = FolderEnd(path);
        names.push_back(end == std::wstring::npos ? path : path.substr(end + 1));
    }
    return names;
}

CWaitCursor::CWaitCursor()
{
    if (QCoreApplication::instance())
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    if (QCoreApplication::instance())
        QApplication::restoreOverrideCursor();
}
