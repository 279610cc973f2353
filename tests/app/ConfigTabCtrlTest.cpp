// The settings dialogs' tab control: pages added in tab order, only the selected tab's page
// shown over the display area, the user's change of tab handled by the control alone.

#include "ConfigTabCtrl.h"

#include "Controls.h"
#include "Dialog.h"
#include "GuiTestSupport.h"
#include "TabDialogFixture.h"

#include <QTabBar>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {
class CTabsDialog : public CDialog
{
public:
    explicit CTabsDialog(int nPages) : CDialog(IDD_TABS), m_nPages(nPages)
    {
        AttachDlgItem(IDC_TABS, m_tabs);
        MapNotify(IDC_TABS, TCN_SELCHANGE, [this](NMHDR*) {
            ++m_nParentNotices;
            return LRESULT(0);
        });
    }

    CConfigTabCtrl m_tabs;
    std::vector<std::unique_ptr<CDialog>> m_pages;
    int m_nParentNotices = 0;

protected:
    bool OnInitDialog() override
    {
        const wchar_t* captions[] = {L"Window", L"Colours", L"Projects"};
        for (int i = 0; i < m_nPages; ++i) {
            m_pages.push_back(std::make_unique<CDialog>(IDD_TAB_PAGE));
            m_pages.back()->Create(IDD_TAB_PAGE, this);
            m_tabs.AddPage(m_pages.back().get(), captions[i]);
        }
        return true;
    }

private:
    int m_nPages;
};

class ConfigTabCtrlTest : public TabDialogFixture
{
protected:
    // The control's display area in the dialog's coordinates.
    static CRect DisplayArea(CTabsDialog& dialog)
    {
        CRect area;
        dialog.m_tabs.GetClientRect(&area);
        dialog.m_tabs.AdjustRect(false, &area);
        const QPoint at = dialog.m_tabs.GetWidget()->pos();
        area.OffsetRect(at.x(), at.y());
        return area;
    }
};
} // namespace

TEST_F(ConfigTabCtrlTest, PagesGoInTabOrderAndTheFirstStaysSelected)
{
    CTabsDialog dialog(3);
    ASSERT_TRUE(dialog.Create(IDD_TABS));
    dialog.ShowWindow(SW_SHOW);
    const std::vector<std::wstring> captions = {L"Window", L"Colours", L"Projects"};
    EXPECT_EQ(dialog.m_tabs.GetCaptions(), captions);
    auto* bar = dialog.m_tabs.GetWidget()->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->count(), 3);
    EXPECT_EQ(dialog.m_tabs.GetCurSel(), 0);
    const CRect area = DisplayArea(dialog);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bar->tabText(int(i)).toStdWString(), captions[i]);
        EXPECT_EQ(dialog.m_tabs.GetPages()[i], dialog.m_pages[i].get());
        EXPECT_EQ(dialog.m_pages[i]->IsWindowVisible(), i == 0);
        EXPECT_EQ(dialog.m_pages[i]->GetWidget()->geometry(),
                  QRect(area.left, area.top, area.Width(), area.Height()));
    }
    dialog.DestroyWindow();
}

TEST_F(ConfigTabCtrlTest, UsersTabChangeShowsItsPageAboveTheControlAndStaysWithTheControl)
{
    CTabsDialog dialog(3);
    ASSERT_TRUE(dialog.Create(IDD_TABS));
    dialog.ShowWindow(SW_SHOW);
    auto* bar = dialog.m_tabs.GetWidget()->findChild<QTabBar*>();
    for (const int tab : {2, 1, 0}) {
        SCOPED_TRACE(tab);
        bar->setCurrentIndex(tab); // as the user's click does
        EXPECT_EQ(dialog.m_tabs.GetCurSel(), tab);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(dialog.m_pages[size_t(i)]->IsWindowVisible(), i == tab) << i;
        // Above the control in the z-order: after it among the dialog's child widgets.
        const QObjectList& children = dialog.GetWidget()->children();
        EXPECT_GT(children.indexOf(dialog.m_pages[size_t(tab)]->GetWidget()),
                  children.indexOf(dialog.m_tabs.GetWidget()));
    }
    EXPECT_EQ(dialog.m_nParentNotices, 0);
    dialog.DestroyWindow();
}

TEST_F(ConfigTabCtrlTest, NoTabMeansNothingToShow)
{
    CTabsDialog dialog(0);
    ASSERT_TRUE(dialog.Create(IDD_TABS));
    dialog.m_tabs.ShowSelectedPage();
    EXPECT_EQ(dialog.m_tabs.GetCurSel(), -1);
    EXPECT_TRUE(dialog.m_tabs.GetPages().empty());
    dialog.DestroyWindow();
}
