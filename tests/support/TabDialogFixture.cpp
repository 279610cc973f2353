#include "TabDialogFixture.h"

#include "Controls.h"

namespace {
const CResourceSet& TabDialogResources()
{
    using K = TDialogControl;
    static const CResourceSet s_set{{},
                                    {},
                                    {{IDD_TABS, L"Tabs", 200, 150, L"MS Shell Dlg", 8,
                                      {{K::TabControl, L"", IDC_TABS, 7, 7, 186, 110},
                                       {K::DefPushButton, L"OK", IDOK, 143, 128, 50, 14}}},
                                     {IDD_TAB_PAGE, L"", 100, 60, L"MS Shell Dlg", 8, {}, WS_CHILD}},
                                    {},
                                    {},
                                    {}};
    return s_set;
}
} // namespace

void TabDialogFixture::SetUp()
{
    AfxSetResourceSet(&TabDialogResources());
}

void TabDialogFixture::TearDown()
{
    AfxSetResourceSet(nullptr);
}
