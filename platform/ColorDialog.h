#pragma once
// The framework's colour dialog on a replaceable service: Qt's colour chooser by default
// (which keeps its custom colours for the run), a scripted answer in tests.

#include "Types.h"

class CWnd;

class IColorDialogService
{
public:
    virtual ~IColorDialogService() = default;
    // Starts at the initial colour; false when cancelled, else the chosen colour in color.
    virtual bool ChooseColor(CWnd* pOwner, COLORREF initial, COLORREF& color) = 0;
};

// The installed service is not owned; nullptr puts the default one back.
void AfxSetColorDialogService(IColorDialogService* pService);
IColorDialogService& AfxGetColorDialogService();

class CColorDialog
{
public:
    // Black (0) is also the colour of a dialog given no start colour.
    explicit CColorDialog(COLORREF clrInit = 0, CWnd* pParentWnd = nullptr);
    // IDOK or IDCANCEL; the colour changes only on IDOK.
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_color; }

private:
    CWnd* m_pParent;
    COLORREF m_color;
};
