#pragma once
// The "Projects" page of the settings dialog: the unit system, and whether it holds for all
// projects instead of each project's own.

#include "Button.h"
#include "ComboBox.h"
#include "Dialog.h"

class CConfigTab3Dlg : public CDialog
{
public:
    CConfigTab3Dlg();

    // Fills the page from the configuration.
    void LoadSettings();
    // Stores the page into the configuration; true when the unit system or the all-projects
    // switch changed.
    bool Apply();

private:
    CButton m_unitsAll;
    CComboBox m_units;
    int m_nSelected = CB_ERR; // the combo item chosen last
};
