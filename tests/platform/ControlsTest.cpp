// The standard controls: what the user does is notified, what the program does is not; Return
// stays with an edit box; template items make the right controls.

#include "Controls.h"
#include "Dialog.h"
#include "GuiTestSupport.h"
#include "Resources.h"

#include <QLabel>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <vector>

namespace {
constexpr UINT IDD_CONTROLS = 501;
constexpr int IDC_EDIT = 1001;
constexpr int IDC_TRACKBAR = 1002;

const CResourceSet& TestResources()
{
    using K = TDialogControl;
    static const CResourceSet s_set{{}, {}, {{IDD_CONTROLS, L"Controls", 120, 60, L"MS Shell Dlg", 8,
                                              {{K::Edit, L"start", IDC_EDIT, 4, 4, 60, 12, WS_BORDER | ES_READONLY},
                                               {K::Trackbar, L"", IDC_TRACKBAR, 70, 4, 15, 50, TBS_VERT},
                                               {K::DefPushButton, L"OK", IDOK, 4, 40, 30, 14}}}},
                                    {}, {}, {}};
    return s_set;
}

struct CNote
{
    UINT message;
    UINT code;
    int pos; // scroll messages
    bool operator==(const CNote& o) const { return message == o.message && code == o.code && pos == o.pos; }
};

// A shown window that records the notifications of its controls.
class CNotedWnd : public CWnd
{
public:
    CNotedWnd()
    {
        for (UINT message : {UINT(WM_HSCROLL), UINT(WM_VSCROLL)})
            MapMessage(message, [this, message](WPARAM wParam, LPARAM) {
                m_notes.push_back({message, GetScrollParamCode(wParam), GetScrollParamPos(wParam)});
                return LRESULT(0);
            });
        EXPECT_TRUE(Create(L"controls", WS_OVERLAPPEDWINDOW, CRect(40, 40, 440, 240), nullptr, 1));
        ShowWindow(SW_SHOW);
    }
    bool OnCommand(WPARAM wParam, LPARAM) override
    {
        m_notes.push_back({WM_COMMAND, HIWORD(wParam), LOWORD(wParam)});
        return true;
    }
    std::vector<CNote> Take()
    {
        std::vector<CNote> notes;
        notes.swap(m_notes);
        return notes;
    }
    std::vector<CNote> m_notes;
};

class CRecordingDialog : public CDialog
{
public:
    CRecordingDialog() : CDialog(IDD_CONTROLS)
    {
        MapMessage(WM_VSCROLL, [this](WPARAM wParam, LPARAM) {
            m_scrolls.push_back({WM_VSCROLL, GetScrollParamCode(wParam), GetScrollParamPos(wParam)});
            return LRESULT(0);
        });
    }
    int m_nOK = 0;
    int m_nCancel = 0;
    std::vector<CNote> m_scrolls;

protected:
    void OnOK() override { ++m_nOK; }
    void OnCancel() override { ++m_nCancel; }
};

class CKeepAllEdit : public CEdit
{
protected:
    UINT OnGetDlgCode() override { return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS; }
};

class ControlsTest : public testing::Test
{
protected:
    void SetUp() override { AfxSetResourceSet(&TestResources()); }
    void TearDown() override { AfxSetResourceSet(nullptr); }
};
} // namespace

TEST_F(ControlsTest, EditNotifiesTypingOnlyAndKeepsReturn)
{
    CNotedWnd parent;
    CEdit edit;
    ASSERT_TRUE(edit.Create(L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER, CRect(5, 5, 105, 25), &parent, 7));
    edit.SetWindowText(L"12");
    EXPECT_TRUE(parent.Take().empty());
    edit.SetSel(2, 2);
    QTest::keyClicks(edit.GetWidget(), QStringLiteral("3x4"));
    EXPECT_EQ(edit.GetWindowText(), L"1234"); // digits only
    const std::vector<CNote> typed = parent.Take();
    ASSERT_EQ(typed.size(), 2u);
    EXPECT_EQ(typed[0], (CNote{WM_COMMAND, EN_CHANGE, 7}));
    QTest::keyClick(edit.GetWidget(), Qt::Key_Backspace);
    EXPECT_EQ(edit.GetWindowText(), L"123");
    // Characters sent by the program are typed the same way.
    edit.SendMessage(WM_CHAR, '9', 0);
    edit.SendMessage(WM_CHAR, 'z', 0);
    EXPECT_EQ(edit.GetWindowText(), L"1239");

    CRecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_CONTROLS, &parent));
    dialog.ShowWindow(SW_SHOW);
    auto* pEdit = dynamic_cast<CEdit*>(dialog.GetDlgItem(IDC_EDIT));
    ASSERT_NE(pEdit, nullptr);
    EXPECT_TRUE(pEdit->IsReadOnly());
    EXPECT_EQ(pEdit->GetWindowText(), L"start");
    QTest::keyClick(pEdit->GetWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.m_nOK, 0);
    QTest::keyClick(pEdit->GetWidget(), Qt::Key_Escape);
    EXPECT_EQ(dialog.m_nCancel, 1);

    CKeepAllEdit keepAll;
    ASSERT_TRUE(keepAll.Create(L"", WS_CHILD | WS_VISIBLE, CRect(5, 60, 100, 80), &dialog, 9));
    QTest::keyClick(keepAll.GetWidget(), Qt::Key_Escape);
    QTest::keyClick(keepAll.GetWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.m_nCancel, 1);
    EXPECT_EQ(dialog.m_nOK, 0);
    dialog.DestroyWindow();
}

TEST_F(ControlsTest, EditFocusLossToAPopupIsNoKillFocus)
{
    CNotedWnd parent;
    CEdit edit;
    ASSERT_TRUE(edit.Create(L"", WS_CHILD | WS_VISIBLE, CRect(5, 5, 105, 25), &parent, 7));
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::MenuBarFocusReason, Qt::MouseFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QCoreApplication::sendEvent(edit.GetWidget(), &out);
    }
    EXPECT_EQ(parent.Take(), (std::vector<CNote>{{WM_COMMAND, EN_KILLFOCUS, 7}}));
}

TEST_F(ControlsTest, SpinStepsItsBuddyAndReportsEveryStep)
{
    CNotedWnd parent;
    CEdit buddy;
    CSpinButtonCtrl spin;
    ASSERT_TRUE(buddy.Create(L"", WS_CHILD | WS_VISIBLE, CRect(5, 5, 60, 25), &parent, 3));
    const DWORD spinStyle = WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS;
    ASSERT_TRUE(spin.Create(L"", spinStyle, CRect(60, 5, 76, 25), &parent, 4));
    spin.SetBuddy(&buddy);
    spin.SetRange(-2, 70000); // beyond 16 bits
    EXPECT_EQ(spin.SetPos(-5), 0);
    EXPECT_EQ(buddy.GetWindowText(), L"-2");
    spin.SetPos(70001);
    EXPECT_EQ(spin.GetPos(), 70000);
    spin.SetPos(40000);
    EXPECT_EQ(buddy.GetWindowText(), L"40000");
    EXPECT_EQ(spin.GetPos(), 40000);
    EXPECT_TRUE(parent.Take().empty());

    auto* up = spin.GetWidget()->findChild<QToolButton*>(QStringLiteral("up"));
    auto* down = spin.GetWidget()->findChild<QToolButton*>(QStringLiteral("down"));
    ASSERT_TRUE(up && down);
    buddy.SetWindowText(L"10"); // typed meanwhile
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(buddy.GetWindowText(), L"11");
    EXPECT_EQ(parent.Take(), (std::vector<CNote>{{WM_VSCROLL, SB_THUMBPOSITION, 11}, {WM_VSCROLL, SB_ENDSCROLL, 11}}));
    QTest::keyClick(buddy.GetWidget(), Qt::Key_Down);
    EXPECT_EQ(buddy.GetWindowText(), L"10");
    EXPECT_EQ(parent.Take(), (std::vector<CNote>{{WM_VSCROLL, SB_THUMBPOSITION, 10}}));

    // At the end of the range the step is still reported.
    spin.SetPos(-2);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(spin.GetPos(), -2);
    EXPECT_EQ(parent.Take().front(), (CNote{WM_VSCROLL, SB_THUMBPOSITION, -2}));

    struct
    {
        const wchar_t* text;
        bool bError;
        int pos;
    } const reads[] = {{L"7", false, 7}, {L"", false, 0}, {L" -1", false, -1}, {L"12a", true, -1},
                       {L"-", true, -1}, {L"-3", true, -1}, {L"99999", true, -1}, {L"65536", false, 65536}};
    for (const auto& r : reads) {
        spin.SetPos(-1);
        buddy.SetWindowText(r.text);
        bool bError = false;
        EXPECT_EQ(spin.GetPos(&bError), r.pos) << r.text;
        EXPECT_EQ(bError, r.bError) << r.text;
    }
}

TEST_F(ControlsTest, TrackbarReportsTheUsersMovesOnly)
{
    CNotedWnd parent;
    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(L"", WS_CHILD | WS_VISIBLE, CRect(5, 5, 205, 35), &parent, 5));
    slider.SetRange(0, 100);
    slider.SetPos(40);
    slider.SetPos(400);
    EXPECT_EQ(slider.GetPos(), 100);
    slider.SetPos(40);
    EXPECT_TRUE(parent.Take().empty());

    QWidget* widget = slider.GetWidget();
    QTest::keyClick(widget, Qt::Key_Right);
    EXPECT_EQ(parent.Take(), (std::vector<CNote>{{WM_HSCROLL, TB_LINEDOWN, 41}, {WM_HSCROLL, TB_ENDTRACK, 41}}));
    // The code follows the direction of the move.
    QTest::keyClick(widget, Qt::Key_PageDown);
    EXPECT_LT(slider.GetPos(), 41);
    EXPECT_EQ(parent.Take().front(), (CNote{WM_HSCROLL, TB_PAGEUP, slider.GetPos()}));
    QTest::keyClick(widget, Qt::Key_End);
    EXPECT_EQ(parent.Take().front(), (CNote{WM_HSCROLL, TB_BOTTOM, 100}));

    // A drag of the thumb.
    slider.SetPos(0);
    auto* qslider = static_cast<QSlider*>(widget);
    QStyleOptionSlider option;
    option.initFrom(qslider);
    option.orientation = Qt::Horizontal;
    option.minimum = 0;
    option.maximum = 100;
    option.sliderPosition = 0;
    option.subControls = QStyle::SC_All;
    const QRect handle = qslider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, qslider);
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, handle.center());
    QTest::mouseMove(widget, handle.center() + QPoint(60, 0));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, handle.center() + QPoint(60, 0));
    const std::vector<CNote> drag = parent.Take();
    ASSERT_GE(drag.size(), 3u);
    const int end = slider.GetPos();
    EXPECT_GT(end, 0);
    EXPECT_EQ(drag[drag.size() - 3], (CNote{WM_HSCROLL, TB_THUMBTRACK, end}));
    EXPECT_EQ(drag[drag.size() - 2], (CNote{WM_HSCROLL, TB_THUMBPOSITION, end}));
    EXPECT_EQ(drag.back(), (CNote{WM_HSCROLL, TB_ENDTRACK, end}));
}

TEST_F(ControlsTest, VerticalTrackbarFromATemplateHasItsMinimumAtTheTop)
{
    CNotedWnd parent;
    CRecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_CONTROLS, &parent));
    auto* pSlider = dynamic_cast<CSliderCtrl*>(dialog.GetDlgItem(IDC_TRACKBAR));
    ASSERT_NE(pSlider, nullptr);
    EXPECT_TRUE(static_cast<QSlider*>(pSlider->GetWidget())->invertedAppearance());
    // Up moves toward the top, the minimum.
    pSlider->SetPos(50);
    QTest::keyClick(pSlider->GetWidget(), Qt::Key_Up);
    EXPECT_EQ(dialog.m_scrolls, (std::vector<CNote>{{WM_VSCROLL, TB_LINEUP, 49}, {WM_VSCROLL, TB_ENDTRACK, 49}}));
}

TEST_F(ControlsTest, TrackbarTicksFollowTheirStyles)
{
    CNotedWnd parent;
    struct
    {
        DWORD style;
        QSlider::TickPosition position;
        int interval; // 0: one per step
    } const cases[] = {
        {0, QSlider::TicksBelow, 50},                      // the first and the last
        {TBS_BOTH, QSlider::TicksBothSides, 50},
        {TBS_BOTH | TBS_NOTICKS, QSlider::NoTicks, 0},
        {TBS_TOP | TBS_AUTOTICKS, QSlider::TicksAbove, 0},
        {TBS_VERT | TBS_BOTH | TBS_AUTOTICKS, QSlider::TicksBothSides, 0},
    };
    for (const auto& c : cases) {
        CSliderCtrl slider;
        ASSERT_TRUE(slider.Create(L"", WS_CHILD | WS_VISIBLE | c.style, CRect(5, 5, 205, 35), &parent, 5));
        slider.SetRange(10, 60);
        const auto* qslider = static_cast<const QSlider*>(slider.GetWidget());
        EXPECT_EQ(qslider->tickPosition(), c.position) << c.style;
        EXPECT_EQ(qslider->tickInterval(), c.interval) << c.style;
        // Clearing the ticks leaves the first and the last.
        slider.ClearTics();
        EXPECT_EQ(qslider->tickPosition(), c.position) << c.style;
        if (c.position != QSlider::NoTicks) {
            EXPECT_EQ(qslider->tickInterval(), 50) << c.style;
        }
    }
}

TEST_F(ControlsTest, StaticTextsAlignByTheirStyleAndOnlyPlainLeftTextWraps)
{
    struct
    {
        DWORD style;
        Qt::Alignment alignment;
        bool bWraps;
    } const cases[] = {
        {SS_LEFT, Qt::AlignLeft, true},
        {SS_LEFTNOWORDWRAP, Qt::AlignLeft, false},
        {SS_CENTER, Qt::AlignHCenter, false},
        {SS_RIGHT, Qt::AlignRight, false},
    };
    CNotedWnd parent;
    for (const auto& c : cases) {
        CStatic text;
        ASSERT_TRUE(text.Create(L"two words", WS_CHILD | WS_VISIBLE | c.style, CRect(0, 0, 20, 40), &parent, 7));
        const auto* label = qobject_cast<const QLabel*>(text.GetWidget());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, c.alignment) << c.style;
        EXPECT_EQ(label->wordWrap(), c.bWraps) << c.style;
    }
}
