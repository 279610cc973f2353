#pragma once
// The single-document template: it makes the one document, the frame and its view on the
// first open and reuses them afterwards. Replacing the open document asks it SaveModified
// first; a failed open leaves the document untitled (it has emptied itself); a successful
// one names the document, adds it to the recent-file list and runs the views' initial update.

#include "CmdTarget.h"

#include <functional>
#include <memory>
#include <string>

class CDocument;
class CFrameWnd;
class CView;

class CDocTemplate : public CCmdTarget
{
public:
    CDocTemplate(UINT nIDResource, std::function<CDocument*()> newDocument, std::function<CFrameWnd*()> newFrame,
                 std::function<CView*()> newView);
    ~CDocTemplate() override;

    // An empty path makes a new, untitled document.
    CDocument* OpenDocumentFile(const std::wstring& path, bool bMakeVisible = true);
    // True when the last OpenDocumentFile stopped before opening, because the open document
    // was kept (its save prompt cancelled or its save failed).
    bool WasOpenAbandoned() const { return m_bOpenAbandoned; }
    CDocument* GetDocument() const { return m_pDocument.get(); }
    UINT GetResourceID() const { return m_nIDResource; }
    void ActivateFrame();

private:
    CFrameWnd* FindFrame() const;

    UINT m_nIDResource;
    std::function<CDocument*()> m_newDocument;
    std::function<CFrameWnd*()> m_newFrame;
    std::function<CView*()> m_newView;
    std::unique_ptr<CDocument> m_pDocument;
    bool m_bOpenAbandoned = false;
};

// A template that binds document, frame and view classes.
template <typename TDoc, typename TFrame, typename TView>
CDocTemplate* MakeSingleDocTemplate(UINT nIDResource)
{
    return new CDocTemplate(nIDResource, [] { return new TDoc; }, [] { return new TFrame; },
                            [] { return new TView; });
}
