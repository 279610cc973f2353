#pragma once
// Scripted answers for the windowing tests: message boxes, the open-file dialog and modal
// dialogs record what they were asked and answer from a script while the object lives.

#include "Dialog.h"
#include "Services.h"

#include <deque>
#include <string>
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
    std::vector<UINT> m_types;
};

class CScriptedFileDialog : public IFileDialogService
{
public:
    CScriptedFileDialog() { AfxSetFileDialogService(this); }
    ~CScriptedFileDialog() override { AfxSetFileDialogService(nullptr); }
    // Cancelled when m_path is empty.
    bool GetFileNames(CWnd* pOwner, const CFileDialogRequest& request, std::vector<std::wstring>& paths) override;

    std::wstring m_path;
    std::vector<CFileDialogRequest> m_requests;
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
