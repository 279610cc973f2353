#pragma once
// The "Filter Options" dialog: the FIR band-pass switch with its two corners and the start,
// linear and exponential parameters of the time gain, edited in the open project's settings.
// OK checks the five values against their ranges and stores them; Cancel puts back the whole
// settings record as it was when the project was bound (the FIR switch changes at once when
// clicked). After OK the caller reads which filter group changed: a FIR change needs the
// matrix computed again, a time-gain change only a new rendering. OK and Cancel act only
// from their own focused buttons.

#include "Dialog.h"
#include "NumericEdit.h"

#include "ProjectSettings.h"

#include <array>

class CProject;
class CStatic;

class CFilterOptionDlg : public CDialog
{
public:
    CFilterOptionDlg();

    // Binds the project (not owned) and takes its settings as the undo copy; once the
    // dialog is initialised the edits show the project's values.
    void LoadSettings(CProject* pProject);

    // Results of an OK.
    bool m_bFirChanged = false;
    bool m_bTimeGainChanged = false;

    // The edit of a value, by its id (187 .. 191).
    CNumericEdit* GetValueEdit(UINT nID);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    // One of the five values: its edit and label, its range and its name in messages.
    struct CValue
    {
        UINT nID;
        int nMin;
        int nMax;
        const wchar_t* pszName;
        CNumericEdit edit;
        CStatic* pLabel = nullptr;
    };

    CValue& Value(UINT nID);
    // The field of the project's processing parameters that a value edits.
    int GetField(UINT nID) const;
    void SetField(UINT nID, int value);
    // The check box and the FIR controls follow the project's FIR switch.
    void UpdateFirEnabling();
    void OnFirClicked();
    // False, after the message, when the value of the edit lies outside its range.
    bool CheckValue(CValue& value);

    CProject* m_pProject = nullptr;
    CProjectSettings m_saved;
    bool m_bBound = false;
    bool m_bInitialized = false;
    std::array<CValue, 5> m_values;
};
