#pragma once
// The section control of the processing dialogs: its view is a profile view, which shows one
// gridded profile line processed on the fly. The control makes the profile view and puts it
// in its base's place; the base's own section view waits aside until the control goes, so
// that each view is deleted by whoever made it.

#include "ProfileDataSideView.h"
#include "SideViewCtrl.h"

#include <memory>

class CProfileSideViewCtrl : public CSideViewCtrl
{
public:
    CProfileSideViewCtrl();
    ~CProfileSideViewCtrl() override;

    // The profile line shown, limited to the lines there are; a negative one shows an empty
    // section. A new line renders at the next paint.
    void SetProfileLine(int nLine);

    // The owning dialogs set its display mode and gain factor directly.
    CProfileDataSideView& GetProfileView() { return *m_pProfileView; }

private:
    CProfileDataSideView* m_pProfileView = nullptr; // in the base's place while the control lives
    std::unique_ptr<CDataSideView> m_pBaseView;
};
