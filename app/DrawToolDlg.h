#pragma once
// The drawing tool window (template 168): tool buttons for select and move, line, rectangle
// and circle, an opacity strip for the blend alpha of the drawing objects, a preview of the
// current colour that opens the colour dialog, and "Objects", which opens the object list.
// It edits the drawing-object manager and tells the frame: WM_DRAWING_EVENT (168, code 8 with
// the previous tool) after a tool change, WM_VALUE_CHANGED (156, 0) posted while the strip is
// dragged (the frame reads GetOpacity). Drawing events from the frame go on to its own
// children and to the object list. Closing it (close box, Enter, Escape) closes the list too;
// both places are remembered, and WM_TOOL_CLOSED (156) is posted to the frame once the window
// is gone, which then deletes the object.

#include "Dialog.h"
#include "LevelStrip.h"
#include "ResourceIds.h"

#include <memory>

class CButton;
class CDrawObjectListDlg;

class CDrawToolDlg : public CDialog
{
public:
    enum : UINT { IDD = IDD_DRAWTOOL };

    explicit CDrawToolDlg(CWnd* pFrame);
    ~CDrawToolDlg() override;

    // The strip's value, 0..255.
    int GetOpacity() const { return m_strip.GetValue(); }
    const CLevelStrip& GetStrip() const { return m_strip; }
    const CRect& GetPreviewRect() const { return m_rcPreview; }
    // Null while the list is closed.
    CDrawObjectListDlg* GetObjectList() const { return m_pObjectList.get(); }
    // Where the tool's and the list's drawing events go.
    CWnd* GetFrame() const { return FromHandle(m_hFrame); }

protected:
    bool OnInitDialog() override;
    void OnOK() override { CloseTool(); }
    void OnCancel() override { CloseTool(); }
    // Return presses "Objects" when it holds the focus, and closes the window from the tool
    // buttons, which are no push buttons.
    void OnReturnKey() override;
    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // A child's rectangle in client coordinates.
    CRect GetItemRect(int nID) const;
    void OnToolButton(int nID);
    void OnObjects();
    void ChooseColor();
    void CloseTool();
    LRESULT OnDrawingEvent(WPARAM wParam, LPARAM lParam);
    LRESULT OnToolClosed();

    CWnd* m_pFrame;
    HWND m_hFrame = nullptr; // a frame gone meanwhile is told nothing
    CLevelStrip m_strip;
    CRect m_rcPreview;
    bool m_bButtonDown = false;
    std::unique_ptr<CDrawObjectListDlg> m_pObjectList;
};
