#pragma once
// The "Colours" page of the settings dialog: chooses the current palette among the named ones
// and edits the user-defined one in its palette editor (CPaletteDraw). The configuration
// changes only in Apply.

#include "Button.h"
#include "ComboBox.h"
#include "Dialog.h"

#include "Palettes.h"

#include <memory>

class CConfigTab2Dlg : public CDialog
{
public:
    class CPaletteDraw;

    CConfigTab2Dlg();
    ~CConfigTab2Dlg() override;

    // Builds the editor in the place of its frame and fills the page from the configuration.
    void LoadSettings();
    // Stores the palette choice or the edited user palette and the all-projects switch into
    // the configuration; true when a colour or the palette choice changed.
    bool Apply();

    CPaletteDraw& GetEditor() { return *m_pEditor; }
    bool IsModified() const { return m_bModified; }

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;

private:
    void OnInterpolate();
    void OnPaletteChosen();
    // Shows "User defined" in the list; the program's choice tells nobody.
    void SelectUserDefined();

    std::unique_ptr<CPaletteDraw> m_pEditor;
    TPaletteTable m_userColors{}; // the user palette while another one is shown
    CComboBox m_palettes;
    CButton m_paletteAll;
    bool m_bModified = false;
    // 1 after a left button down on the page, 2 otherwise.
    int m_nMouseState = 2;
    CPoint m_ptDown;
};
