// The float slider: value and trackbar positions map onto each other, every change of the
// value is reported with the float's 32 bits; and the plain typed-value box.

#include "EncapEdit.h"
#include "ExtSliderCtrl.h"

#include "GuiTestSupport.h"
#include "RecordingWnd.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {
constexpr UINT kID = 124;

class ExtSliderCtrlTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_parent.CreateShown()); }

    void Create(int orientation)
    {
        ASSERT_TRUE(m_slider.Create(&m_parent, CRect(10, 10, 110, 210), orientation, true, kID));
        m_parent.m_messages.clear();
    }
    // The values sent to the parent since the last call.
    std::vector<float> Reports()
    {
        std::vector<float> values;
        for (const CRecordedMessage& m : m_parent.Take(WM_VALUE_CHANGED)) {
            EXPECT_EQ(m.wParam, kID);
            EXPECT_EQ(uint64_t(m.lParam) >> 32, 0u); // only the float's 32 bits
            values.push_back(ParamToFloat(m.lParam));
        }
        return values;
    }
    void Scroll(UINT code, int pos)
    {
        m_slider.SendMessage(WM_VSCROLL, MakeScrollParam(code, pos), 0);
    }
    std::wstring Box() { return m_slider.GetEdit().GetWindowText(); }

    CRecordingWnd m_parent;
    CExtSliderCtrl m_slider;
};
} // namespace

TEST_F(ExtSliderCtrlTest, FreshVerticalControlShowsZeroAtTheBottom)
{
    ASSERT_TRUE(m_slider.Create(&m_parent, CRect(10, 10, 110, 210), CExtSliderCtrl::ORIENT_VERTICAL, false, kID));
    EXPECT_EQ(Reports(), std::vector<float>{0.0f}); // creation reports the first value
    EXPECT_EQ(Box(), L"0");
    EXPECT_EQ(m_slider.GetSliderPos(), 10000);
    EXPECT_EQ(m_slider.GetTopLabel().GetWindowText(), L"1000");
    EXPECT_EQ(m_slider.GetBottomLabel().GetWindowText(), L"0");
    m_slider.SetReversed();
    EXPECT_EQ(m_slider.GetTopLabel().GetWindowText(), L"0");
    EXPECT_EQ(m_slider.GetSliderPos(), 0);
    EXPECT_EQ(Reports(), std::vector<float>{0.0f});
    m_slider.SetReversed(); // cannot be turned back
    EXPECT_FALSE(m_slider.m_bReversed);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ExtSliderCtrlTest, PositionsAndValuesMapOntoEachOther)
{
    struct
    {
        float min, max, step;
        bool bReversed;
        int pos;      // scrolled to
        float value;  // then shown
        const wchar_t* shown;
        float set;    // a value set by the program
        int setPos;   // the trackbar's position for it
    } const cases[] = {
        {0, 1000, 0, false, 1250, 125, L"125.00", 300, 3000},
        {0, 1000, 0, true, 1250, 875, L"875.00", 300, 7000},
        {0, 1000, -1, false, 1250, 125, L"125.00", 300, 3000}, // a step below 0 is no step
        {0, 1000, std::numeric_limits<float>::quiet_NaN(), false, 1250, 125, L"125.00", 300, 3000},
        {10, 20, 0.5f, false, 3, 11.5f, L"11.50", 19, 18},
        {10, 20, 0.5f, true, 3, 18.5f, L"18.50", 19, 2},
        {-1, 1, 0, false, 2500, -0.5f, L"-0.50", 0.25f, 6250},
        {5, 5, 1, false, 0, 5, L"5.00", 7, 0}, // an empty range has one place
    };
    for (const auto& c : cases) {
        CExtSliderCtrl slider;
        ASSERT_TRUE(slider.Create(&m_parent, CRect(10, 10, 110, 210), CExtSliderCtrl::ORIENT_VERTICAL, false, kID));
        if (!c.bReversed)
            slider.SetReversed();
        slider.m_nPrecision = 2;
        slider.SetStep(c.step);
        slider.SetRange(c.min, c.max);
        m_parent.m_messages.clear();
        slider.SendMessage(WM_VSCROLL, MakeScrollParam(TB_THUMBTRACK, c.pos), 0);
        EXPECT_FLOAT_EQ(slider.m_fValue, c.value) << c.min << ".." << c.max << " at " << c.pos;
        EXPECT_EQ(slider.GetEdit().GetWindowText(), c.shown);
        EXPECT_EQ(Reports(), std::vector<float>{slider.m_fValue});
        slider.m_fValue = c.set;
        slider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
        EXPECT_EQ(slider.GetSliderPos(), c.setPos) << c.min << ".." << c.max << " set " << c.set;
    }
}

TEST_F(ExtSliderCtrlTest, TrackbarReportsOnlyWhenTheThumbMoved)
{
    Create(CExtSliderCtrl::ORIENT_VERTICAL);
    m_slider.SetReversed();
    Reports();
    Scroll(TB_THUMBTRACK, 500);
    Scroll(TB_THUMBPOSITION, 500);
    Scroll(TB_ENDTRACK, 0); // reads the trackbar, which the scroll messages did not move
    EXPECT_EQ(Reports(), (std::vector<float>{50.0f, 0.0f}));
    EXPECT_EQ(Box(), L"0");

    // The user's key on the trackbar.
    m_slider.GetTrackbar().SetPos(100);
    QTest::keyClick(m_slider.GetTrackbar().GetWidget(), Qt::Key_Down);
    const std::vector<float> stepped = Reports();
    ASSERT_EQ(stepped.size(), 1u);
    EXPECT_FLOAT_EQ(stepped[0], 10.1f);
    EXPECT_EQ(Box(), L"10");
}

TEST_F(ExtSliderCtrlTest, RangeClampsTheValueAndCentresTheBand)
{
    Create(CExtSliderCtrl::ORIENT_VERTICAL);
    int from = 0, to = 0;
    m_slider.SetRange(0.0f, 1000.0f);
    m_slider.GetTrackbar().GetSelection(from, to);
    EXPECT_EQ(from, 2000);
    EXPECT_EQ(to, 8000);
    Reports();

    m_slider.m_nPrecision = 1;
    m_slider.m_fValue = 1500.0f;
    m_slider.SetRange(0.0f, 800.0f);
    EXPECT_EQ(m_slider.m_fValue, 800.0f);
    EXPECT_EQ(Box(), L"800.0");
    EXPECT_EQ(Reports(), std::vector<float>{800.0f});

    // Within 0.0001 of a bound is not clamped.
    m_slider.m_fValue = 800.00005f;
    m_slider.SetRange(0.0f, 800.0f);
    EXPECT_EQ(m_slider.m_fValue, 800.00005f);
    EXPECT_EQ(Reports(), std::vector<float>{800.00005f});

    m_slider.m_bSilent = true;
    m_slider.m_fValue = -3.0f;
    m_slider.SetRange(0.0f, 100.0f);
    EXPECT_EQ(m_slider.m_fValue, 0.0f);
    EXPECT_TRUE(Reports().empty());

    m_slider.m_nPrecision = 3;
    m_slider.m_fValue = 12.5f;
    m_slider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    EXPECT_EQ(Box(), L"12.500");
    EXPECT_EQ(m_slider.GetTopLabel().GetWindowText(), L"100.0");
}

TEST_F(ExtSliderCtrlTest, HorizontalCaptionLabelModeLeavesRoomForTheCaption)
{
    Create(CExtSliderCtrl::ORIENT_HORIZONTAL);
    EXPECT_FALSE(m_slider.GetTopLabel().IsWindowVisible());
    m_slider.m_bCaptionInFrame = false;
    m_slider.m_bEditBeside = false;
    m_slider.m_bCaptionBeside = true;
    m_slider.SetCaption(L"Profile");
    EXPECT_EQ(m_slider.GetCaptionLabel().GetWindowText(), L"Profile");
    EXPECT_EQ(m_slider.GetFrame().GetWindowText(), L"");
    m_slider.MoveWindow(0, 0, 300, 60);
    CRect caption, track;
    m_slider.GetCaptionLabel().GetWindowRect(&caption);
    m_slider.GetTrackbar().GetWindowRect(&track);
    EXPECT_EQ(track.left - caption.right, 1);
    CPoint corner(300 - 9, 0);
    m_slider.ClientToScreen(&corner);
    EXPECT_EQ(track.right, corner.x);
}

TEST(EncapEditTest, ModeDecidesWhatIsTypedAndEnterOrLeavingReports)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateShown());
    CEncapEdit edit;
    edit.m_iMode = CEncapEdit::MODE_DECIMAL;
    ASSERT_TRUE(edit.Create(L"", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(5, 5, 80, 23), &parent, 304));
    QTest::keyClicks(edit.GetWidget(), QStringLiteral("a-7.5"));
    EXPECT_EQ(edit.GetWindowText(), L"7.5");
    QTest::keyClick(edit.GetWidget(), Qt::Key_Backspace);
    EXPECT_EQ(edit.GetWindowText(), L"7.");
    EXPECT_TRUE(parent.Take(WM_VALUE_CHANGED).empty());
    QTest::keyClick(edit.GetWidget(), Qt::Key_Return);
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(edit.GetWidget(), &out);
    QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(edit.GetWidget(), &toMenu);
    ProcessEvents();
    const std::vector<CRecordedMessage> reports = parent.Take(WM_VALUE_CHANGED);
    ASSERT_EQ(reports.size(), 2u);
    for (const CRecordedMessage& m : reports) {
        EXPECT_EQ(m.wParam, 304u);
        EXPECT_EQ(m.lParam, 0);
    }

    edit.m_iMode = CEncapEdit::MODE_DIGITS;
    QTest::keyClicks(edit.GetWidget(), QStringLiteral(".3"));
    EXPECT_EQ(edit.GetWindowText(), L"7.3");
    edit.m_iMode = 5;
    QTest::keyClicks(edit.GetWidget(), QStringLiteral("1"));
    EXPECT_EQ(edit.GetWindowText(), L"7.3");
}
