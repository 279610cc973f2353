// The tab control: tabs over a display area for page dialogs, and the user's change of tab
// told first to the control itself and then to its parent.

#include "Controls.h"
#include "Dialog.h"
#include "GuiTestSupport.h"
#include "TabDialogFixture.h"

#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// A tab control that shows the page of the selected tab, as the dialogs' own tab control does.
class CPagedTabs : public CTabCtrl
{
public:
    std::vector<CWnd*> m_pages;
    std::vector<std::string>* m_pLog = nullptr;
    bool m_bKeep = false;

    void ShowSelectedPage()
    {
        CRect area;
        GetClientRect(&area);
        AdjustRect(false, &area);
        CRect place;
        GetWindowRect(&place);
        CPoint origin = place.TopLeft();
        GetParent()->ScreenToClient(&origin);
        area.OffsetRect(origin.x, origin.y);
        for (size_t i = 0; i < m_pages.size(); ++i) {
            m_pages[i]->MoveWindow(&area);
            m_pages[i]->ShowWindow(int(i) == GetCurSel() ? SW_SHOW : SW_HIDE);
        }
    }

protected:
    bool OnNotifyReflect(NMHDR* pNMHDR, LRESULT* pResult) override
    {
        if (pNMHDR->code != TCN_SELCHANGE)
            return false;
        m_pLog->push_back("reflected " + std::to_string(GetCurSel()));
        ShowSelectedPage();
        *pResult = 0;
        return m_bKeep;
    }
};

class CTabsDialog : public CDialog
{
public:
    CTabsDialog() : CDialog(IDD_TABS)
    {
        AttachDlgItem(IDC_TABS, m_tabs);
        m_tabs.m_pLog = &m_log;
        MapNotify(IDC_TABS, TCN_SELCHANGE, [this](NMHDR* pNMHDR) {
            m_log.push_back("dialog " + std::to_string(m_tabs.GetCurSel()) + " from " + std::to_string(pNMHDR->idFrom));
            return LRESULT(0);
        });
    }
    CPagedTabs m_tabs;
    std::vector<std::string> m_log;

protected:
    bool OnInitDialog() override
    {
        for (CDialog* pPage : {&m_first, &m_second}) {
            pPage->Create(IDD_TAB_PAGE, this);
            m_tabs.m_pages.push_back(pPage);
        }
        m_tabs.InsertItem(0, L"Window");
        m_tabs.InsertItem(1, L"Projects");
        m_tabs.InsertItem(1, L"Colours");
        m_tabs.SetCurSel(0);
        m_tabs.ShowSelectedPage();
        return true;
    }

private:
    CDialog m_first{IDD_TAB_PAGE};
    CDialog m_second{IDD_TAB_PAGE};
};

class TabCtrlTest : public TabDialogFixture
{
};
} // namespace

TEST_F(TabCtrlTest, TabsKeepTheirOrderAndTheProgramsSelectionIsSilent)
{
    CTabsDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TABS));
    dialog.ShowWindow(SW_SHOW);
    auto* bar = dialog.m_tabs.GetWidget()->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(dialog.m_tabs.GetItemCount(), 3);
    EXPECT_EQ(bar->tabText(1).toStdString(), "Colours");
    EXPECT_EQ(dialog.m_tabs.SetCurSel(2), 0);
    EXPECT_EQ(dialog.m_tabs.GetCurSel(), 2);
    EXPECT_EQ(dialog.m_tabs.SetCurSel(3), -1);
    EXPECT_EQ(dialog.m_tabs.GetCurSel(), 2);
    EXPECT_TRUE(dialog.m_log.empty());

    // The display area lies inside the control, below the tabs; the other way back again.
    CRect client;
    dialog.m_tabs.GetClientRect(&client);
    CRect area = client;
    dialog.m_tabs.AdjustRect(false, &area);
    EXPECT_GT(area.top, bar->height() / 2);
    EXPECT_GE(area.left, 0);
    EXPECT_LE(area.right, client.right);
    EXPECT_LE(area.bottom, client.bottom);
    EXPECT_FALSE(area.IsRectEmpty());
    dialog.m_tabs.AdjustRect(true, &area);
    EXPECT_EQ(area, client);
    dialog.DestroyWindow();
}

TEST_F(TabCtrlTest, UsersTabChangeGoesToTheControlThenToTheParent)
{
    for (const bool bKeep : {false, true}) {
        CTabsDialog dialog;
        dialog.m_tabs.m_bKeep = bKeep;
        ASSERT_TRUE(dialog.Create(IDD_TABS));
        dialog.ShowWindow(SW_SHOW);
        CWnd* pFirst = dialog.m_tabs.m_pages[0];
        CWnd* pSecond = dialog.m_tabs.m_pages[1];
        EXPECT_TRUE(pFirst->IsWindowVisible());
        EXPECT_FALSE(pSecond->IsWindowVisible());

        auto* bar = dialog.m_tabs.GetWidget()->findChild<QTabBar*>();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
        std::vector<std::string> expected = {"reflected 1"};
        if (!bKeep)
            expected.push_back("dialog 1 from 1001");
        EXPECT_EQ(dialog.m_log, expected);
        EXPECT_FALSE(pFirst->IsWindowVisible());
        EXPECT_TRUE(pSecond->IsWindowVisible());
        // The page covers the display area and lies over the control.
        CRect page, tabs;
        pSecond->GetWindowRect(&page);
        dialog.m_tabs.GetWindowRect(&tabs);
        EXPECT_GT(page.top, tabs.top);
        EXPECT_LE(page.bottom, tabs.bottom);
        dialog.DestroyWindow();
    }
}
