#pragma once
// The framework's dialog, built from a template of res/ (dialog units become pixels with the
// fixed base units: 1.5 pixels across, 1.625 down) with its controls as child windows. DoModal
// runs it in a nested loop until EndDialog. What Return, Escape and the close box do is the
// dialog's choice: by default Return presses the focused push button or else the default
// button, Escape and the close box cancel. Create makes a modeless dialog, which its owner
// shows and which lives until it is destroyed. A new dialog is centred over its owner's
// window (over the screen without one) and kept on the screen; one that has a place of its
// own moves there after creation. A template with WS_CHILD makes a page: a child window of
// its parent without caption, whose Return and Escape go to the dialog it sits in. The
// controls' WM_NOTIFY reach the handlers given to MapNotify.

#include "Wnd.h"

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class CFont;

// Dialog units to pixels.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Modeless: the window from the template, owned by pParentWnd (else the constructor's parent,
    // else the main window), initialised and not yet shown.
    bool Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    UINT GetTemplateID() const { return m_nIDTemplate; }
    // Over the given window's top-level window, else over the screen.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    // Tests answer modal dialogs here: the hook runs once the dialog is initialised and before
    // it waits for the user; a dialog it ends returns at once. An empty hook removes it.
    static void SetModalHook(std::function<void(CDialog&)> hook);

    // True while the control nID holds the dialog's keyboard focus: dialogs whose OK and Cancel
    // act only from their own buttons ask it in OnOK and OnCancel.
    bool HasFocus(int nID) const;

protected:
    // The template's item nID is made as this object, a member of the dialog of the item's
    // control class or one derived from it, instead of an object of the layer's own. Called
    // before the dialog is created.
    void AttachDlgItem(int nID, CWnd& control);
    // ON_NOTIFY: the handler of one notification code of the control nID; it returns the
    // notification's result.
    void MapNotify(int nID, UINT nCode, std::function<LRESULT(NMHDR*)> handler);

    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnReturnKey();
    virtual void OnEscapeKey();
    void OnClose() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    CWnd* DefaultOwner() const;
    QWidget* FocusWidget() const;
    bool CreateFromTemplate(CWnd* pOwner);
    bool CreateItem(const CDialogItem& item);
    void PressButton(int nID);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    int m_nDefaultID = IDOK;
    int m_nResult = IDCANCEL;
    bool m_bEnded = false;
    bool m_bInLoop = false;
    std::unique_ptr<CFont> m_pFont;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    std::map<int, CWnd*> m_attached;
    std::map<std::pair<int, UINT>, std::function<LRESULT(NMHDR*)>> m_notifyMap;
};
