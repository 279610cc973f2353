#pragma once
// Scripted answers for the windowing tests: message boxes, the open-file dialog, the folder
// picker, the colour dialog, printing and modal dialogs record what they were asked and
// answer from a script while the object lives.

#include "ColorDialog.h"
#include "Dialog.h"
#include "PrintService.h"
#include "Services.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CScriptedMessageBoxes : public IMessageBoxService
{
public:
    CScriptedMessageBoxes() { AfxSetMessageBoxService(this); }
    ~CScriptedMessageBoxes() override { AfxSetMessageBoxService(nullptr); }
    // Without a scripted answer a box answers IDOK, or IDCANCEL when it has a Cancel button.
    int MessageBox(CWnd* pOwner, const std::wstring& text, const std::wstring& caption, UINT nType) override;
    bool Contains(const std::wstring& text) const;

    std::deque<int> m_answers;
    std::vector<std::wstring> m_texts;
    std::vector<std::wstring> m_captions;
    std::vector<UINT> m_types;
    std::vector<CWnd*> m_owners;
};

class CScriptedFileDialog : public IFileDialogService
{
public:
    CScriptedFileDialog() { AfxSetFileDialogService(this); }
    ~CScriptedFileDialog() override { AfxSetFileDialogService(nullptr); }
    // Several files chosen at once from m_paths, else the one of m_path; cancelled when both
    // are empty.
    bool GetFileNames(CWnd* pOwner, const CFileDialogRequest& request, std::vector<std::wstring>& paths) override;

    std::wstring m_path;
    std::vector<std::wstring> m_paths;
    std::vector<CFileDialogRequest> m_requests;
};

class CScriptedFolderPicker : public IFolderPickerService
{
public:
    CScriptedFolderPicker() { AfxSetFolderPickerService(this); }
    ~CScriptedFolderPicker() override { AfxSetFolderPickerService(nullptr); }
    // The next scripted code and path (the path only with S_OK); cancelled without one.
    HRESULT PickFolder(CWnd* pOwner, std::wstring& path) override;

    std::deque<std::pair<HRESULT, std::wstring>> m_answers;
    int m_nCalls = 0;
};

class CScriptedColorDialog : public IColorDialogService
{
public:
    CScriptedColorDialog() { AfxSetColorDialogService(this); }
    ~CScriptedColorDialog() override { AfxSetColorDialogService(nullptr); }
    // The next scripted colour; cancelled without one.
    bool ChooseColor(CWnd* pOwner, COLORREF initial, COLORREF& color) override;

    std::deque<COLORREF> m_answers;
    std::vector<COLORREF> m_initials; // the start colour of each dialog
};

// Prints into a PDF file instead of asking, and previews through Qt's preview engine,
// requesting the pages m_nPreviewRequests times as a preview does when it is changed.
class CScriptedPrinting : public IPrintService
{
public:
    CScriptedPrinting() { AfxSetPrintService(this); }
    ~CScriptedPrinting() override { AfxSetPrintService(nullptr); }
    // Cancelled when m_pdfPath is empty; else the printer writes that file and the pages are
    // m_nFromPage .. m_nToPage (0: all).
    bool PrintDialog(CWnd* pOwner, QPrinter& printer, CPrintInfo& info) override;
    // Cancelled without m_setup, which otherwise changes the printer.
    bool PageSetup(CWnd* pOwner, QPrinter& printer) override;
    void Preview(CWnd* pOwner, QPrinter& printer, const std::function<void(QPrinter&)>& render) override;

    std::wstring m_pdfPath;
    UINT m_nFromPage = 0;
    UINT m_nToPage = 0;
    std::function<void(QPrinter&)> m_setup;
    int m_nPreviewRequests = 2;
    int m_nPrintDialogs = 0;
    int m_nPageSetups = 0;
    std::vector<std::pair<UINT, UINT>> m_offeredRanges; // min and max page of each print dialog
    int m_nPreviewPages = 0;                            // pages of the last preview
};

// Answers every modal dialog by pressing a button (or with a key, or the close box).
class CModalAnswer
{
public:
    enum TKind { PRESS_BUTTON, KEY_RETURN, KEY_ESCAPE, CLOSE_BOX };
    explicit CModalAnswer(int nButtonID, TKind kind = PRESS_BUTTON);
    ~CModalAnswer();

    std::vector<UINT> m_shown; // template ids of the dialogs answered
};

// Qt's pending events, the queued messages among them.
void ProcessEvents();
