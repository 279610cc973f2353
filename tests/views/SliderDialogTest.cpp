// The slider pop-up: every scroll message is reported, the program's SetPos is not, Enter and
// Escape leave it open, and closing it posts exactly one WM_TOOL_CLOSED.

#include "SliderDialog.h"

#include "Controls.h"
#include "GuiTestSupport.h"
#include "QuarvelResources.h"
#include "RecordingWnd.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {
constexpr UINT kNotifyID = 106;

class SliderDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        AfxSetResourceSet(&GetQuarvelResources());
        ASSERT_TRUE(m_parent.CreateShown());
        m_pDialog = std::make_unique<CSliderDialog>(kNotifyID, &m_parent);
        ASSERT_TRUE(m_pDialog->Create(CSliderDialog::IDD, &m_parent));
        m_pDialog->SetWindowText(L"Contrast:");
        ASSERT_NE(m_pDialog->GetSlider(), nullptr);
        m_pDialog->GetSlider()->SetRange(1, 100);
        m_pDialog->SetPos(20);
        m_pDialog->ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        m_pDialog.reset();
        AfxSetResourceSet(nullptr);
    }
    std::wstring Box() { return m_pDialog->GetDlgItem(IDC_SLIDER_VALUE)->GetWindowText(); }

    CRecordingWnd m_parent;
    std::unique_ptr<CSliderDialog> m_pDialog;
};
} // namespace

TEST_F(SliderDialogTest, EveryScrollMessageIsReportedAndSetPosIsNot)
{
    EXPECT_EQ(Box(), L"20");
    EXPECT_EQ(m_pDialog->GetSlider()->GetPos(), 20);
    EXPECT_TRUE(m_parent.Take(WM_VALUE_CHANGED).empty());

    // A key: the step and its end, both reported, both read from the trackbar.
    QTest::keyClick(m_pDialog->GetSlider()->GetWidget(), Qt::Key_Right);
    EXPECT_EQ(m_pDialog->m_nPos, 21);
    EXPECT_EQ(Box(), L"21");
    const std::vector<CRecordedMessage> stepped = m_parent.Take(WM_VALUE_CHANGED);
    ASSERT_EQ(stepped.size(), 2u);
    for (const CRecordedMessage& m : stepped) {
        EXPECT_EQ(m.wParam, kNotifyID);
        EXPECT_EQ(m.lParam, 0);
    }
    // Dragging: the position comes with the message.
    for (int pos : {30, 40, 50})
        m_pDialog->SendMessage(WM_HSCROLL, MakeScrollParam(TB_THUMBTRACK, pos), 0);
    EXPECT_EQ(m_pDialog->m_nPos, 50);
    EXPECT_EQ(Box(), L"50");
    EXPECT_EQ(m_parent.Take(WM_VALUE_CHANGED).size(), 3u);
}

TEST_F(SliderDialogTest, EnterAndEscapeLeaveItOpen)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(m_pDialog->GetWidget(), key);
        QTest::keyClick(m_pDialog->GetSlider()->GetWidget(), key);
        QTest::keyClick(m_pDialog->GetDlgItem(IDC_SLIDER_VALUE)->GetWidget(), key);
    }
    ProcessEvents();
    ASSERT_NE(m_pDialog->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(m_pDialog->IsWindowVisible());
    EXPECT_TRUE(m_parent.Take(WM_TOOL_CLOSED).empty());
}

TEST_F(SliderDialogTest, CloseBoxPostsOneToolClosedAfterTheWindowIsGone)
{
    m_pDialog->MoveWindow(120, 80, 300, 60);
    QCloseEvent close;
    QCoreApplication::sendEvent(m_pDialog->GetWidget(), &close);
    EXPECT_EQ(m_pDialog->GetSafeHwnd(), nullptr);
    EXPECT_EQ(m_pDialog->GetClosedPos(), CPoint(120, 80));
    EXPECT_TRUE(m_parent.Take(WM_TOOL_CLOSED).empty()); // posted, not sent
    ProcessEvents();
    const std::vector<CRecordedMessage> closed = m_parent.Take(WM_TOOL_CLOSED);
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].wParam, kNotifyID);
    EXPECT_EQ(closed[0].lParam, 0);
}

TEST_F(SliderDialogTest, DeletingTheOpenPopUpTellsNobody)
{
    m_pDialog.reset();
    ProcessEvents();
    EXPECT_TRUE(m_parent.Take(WM_TOOL_CLOSED).empty());
}
