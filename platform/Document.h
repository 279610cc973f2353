#pragma once
// The framework's document: the data of the single-document program, its path and title,
// the modified flag and its views. The open, save and close roads are virtual operations
// that the program's document overrides; File > Save comes here through command routing.

#include "CmdTarget.h"

#include <string>
#include <vector>

class CDocTemplate;
class CView;

class CDocument : public CCmdTarget
{
public:
    CDocument();
    ~CDocument() override;

    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::wstring& path);
    virtual bool OnSaveDocument(const std::wstring& path);
    // Empties the document; the single document and its frame stay.
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    // Before the document is replaced or closed: false keeps it.
    virtual bool SaveModified();
    virtual void SetModifiedFlag(bool bModified = true) { m_bModified = bModified; }
    bool IsModified() const { return m_bModified; }

    void SetPathName(const std::wstring& path, bool bAddToMRU = true);
    const std::wstring& GetPathName() const { return m_strPathName; }
    // Untitled again, as after File > New.
    void ClearPathName();
    void SetTitle(const std::wstring& title);
    const std::wstring& GetTitle() const { return m_strTitle; }

    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, void* pHint = nullptr);
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    void SetDocTemplate(CDocTemplate* pTemplate) { m_pDocTemplate = pTemplate; }

protected:
    // File > Save: the document saved under its path; the framework's own clears the
    // modified flag on success.
    virtual bool DoFileSave();

private:
    std::wstring m_strPathName;
    std::wstring m_strTitle;
    bool m_bModified = false;
    std::vector<CView*> m_views;
    CDocTemplate* m_pDocTemplate = nullptr;
};
