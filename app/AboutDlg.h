#pragma once
// The About box: the program's name and version.

#include "Dialog.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();

protected:
    bool OnInitDialog() override;
};
