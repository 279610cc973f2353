#pragma once
// For the tests of the dialogs that work on the open project: the program with the generated
// project open and a listener among the frame's children, and the user's presses and slider
// moves.

#include "AppFixture.h"
#include "Wnd.h"

#include <utility>
#include <vector>

class CDialog;
class CExtSliderCtrl;

// A child window that records, in order, the data changes and cursor moves broadcast to its
// parent's descendants.
class CNoticeListener : public CWnd
{
public:
    // The data changes alone, and their codes.
    std::vector<LPARAM> Changes() const;
    std::vector<WORD> Codes() const;

    std::vector<std::pair<UINT, LPARAM>> m_notes; // message, lParam

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// As the user presses a button: it takes the focus, then is clicked.
void Press(CDialog& dialog, int nID);
// Return or Escape typed into a window.
void PressKey(CWnd& wnd, int key);
// The user's move of a float slider to a value.
void MoveSlider(CExtSliderCtrl& slider, float fValue);

class OpenProjectFixture : public AppFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    CGeneratedProject m_project;
    CNoticeListener m_frameListener;
};
