#pragma once
// A bar of the frame window (toolbar, status bar): a child window of the frame that Qt's main
// window places along its edge. The frame shows and hides its bars (View > Toolbar, View >
// Status Bar) and, in the idle update pass, lets each bar bring its items up to date from the
// update handlers of their commands.

#include "Wnd.h"

class CControlBar : public CWnd
{
public:
    // Runs the update handler of each item against pTarget's command routing. With
    // bDisableIfNoHndler an item whose command no handler takes is disabled.
    virtual void OnUpdateCmdUI(CCmdTarget* pTarget, bool bDisableIfNoHndler) = 0;
    // Shown within its frame, whether or not the frame itself is shown.
    bool IsVisible() const;
};
