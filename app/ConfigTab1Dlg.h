#pragma once
// The "Window" page of the settings dialog: the pane layout, whether the main window reopens
// with its last size and place, and whether the mouse wheel moves the depth.

#include "Button.h"
#include "Dialog.h"

class CConfigTab1Dlg : public CDialog
{
public:
    CConfigTab1Dlg();

    // Fills the page from the configuration.
    void LoadSettings();
    // Stores the page into the configuration; true when the layout changed (the two check
    // boxes do not count).
    bool Apply();

    // 0 simple, 1 wide, 2 projection; 3 before loading.
    int GetLayout() const { return m_nLayout; }
    bool IsLoaded() const { return m_bLoaded; }

private:
    CButton m_simple;
    CButton m_wide;
    CButton m_projection;
    CButton m_rememberWindow;
    CButton m_useMouseWheel;
    int m_nLayout = 3;
    bool m_bLoaded = false;
};
