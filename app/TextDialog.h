#pragma once
// The save prompt at exit: "Yes" gives IDYES, "No" IDNO, "Cancel" and Escape IDCANCEL.

#include "Dialog.h"

class CTextDialog : public CDialog
{
public:
    explicit CTextDialog(CWnd* pParent = nullptr);

protected:
    void OnOK() override;
};
