// The numeric edit: spin steps and Enter report changed values only, leaving the box takes
// the value over silently, what the program sets is reported to nobody.

#include "NumericEdit.h"

#include "CutTexts.h"
#include "GdiObjects.h"
#include "GuiTestSupport.h"
#include "QuarvelResources.h"
#include "RecordingWnd.h"
#include "ResourceIds.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QTest>
#include <QToolButton>
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
constexpr UINT kID = 309;

CRect PlaceOf(const CWnd& child, const CWnd& parent)
{
    CRect rect;
    child.GetWindowRect(&rect);
    CPoint topLeft = rect.TopLeft();
    parent.ScreenToClient(&topLeft);
    return CRect(topLeft, rect.Size());
}

class NumericEditTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateShown());
        ASSERT_TRUE(m_numeric.Create(CRect(10, 10, 130, 28), &m_parent, kID));
    }

    QWidget* Box() { return m_numeric.GetEdit().GetWidget(); }
    std::wstring Text() { return m_numeric.GetEdit().GetWindowText(); }
    void Type(const QString& keys) { QTest::keyClicks(Box(), keys); }
    void Enter() { QTest::keyClick(Box(), Qt::Key_Return); }
    void Click(const char* arrow)
    {
        QTest::mouseClick(m_numeric.GetSpin().GetWidget()->findChild<QToolButton*>(QString::fromLatin1(arrow)),
                          Qt::LeftButton);
    }
    // The values posted to the parent since the last call.
    std::vector<int> Reports()
    {
        ProcessEvents();
        std::vector<int> values;
        for (const CRecordedMessage& m : m_parent.Take(WM_VALUE_CHANGED)) {
            EXPECT_EQ(m.wParam, kID);
            values.push_back(int(m.lParam));
        }
        return values;
    }

    CRecordingWnd m_parent;
    CNumericEdit m_numeric;
};
} // namespace

TEST_F(NumericEditTest, FreshControlShowsZeroAndHoldsMinus900To900)
{
    EXPECT_EQ(Text(), L"0");
    m_numeric.SetPos(1000);
    EXPECT_EQ(Text(), L"900");
    EXPECT_TRUE(Reports().empty());
    Click("up"); // held at the end; what the program set was never reported
    EXPECT_EQ(m_numeric.GetPos(), 900);
    EXPECT_EQ(Reports(), (std::vector<int>{900}));
    m_numeric.SetPos(-1000);
    EXPECT_EQ(m_numeric.GetPos(), -900);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(NumericEditTest, SetRangeMovesTheValueIntoItSilently)
{
    m_numeric.SetRange(1, 40);
    EXPECT_EQ(Text(), L"1");
    m_numeric.SetRange(-255, 255);
    m_numeric.SetPos(100);
    m_numeric.SetRange(1, 40);
    EXPECT_EQ(Text(), L"40");
    EXPECT_TRUE(Reports().empty());
}

TEST_F(NumericEditTest, SpinStepsReportChangedValuesOnly)
{
    m_numeric.SetRange(-255, 255);
    Click("down");
    Click("up");
    Click("up");
    EXPECT_EQ(Reports(), (std::vector<int>{-1, 0, 1}));
    m_numeric.SetPos(255);
    Click("up"); // at the end: the value the program set, reported once
    EXPECT_EQ(Reports(), (std::vector<int>{255}));
    Click("up");
    EXPECT_TRUE(Reports().empty());
    Type("7"); // "2557" is beyond the range: the step starts from the last good value
    Click("down");
    EXPECT_EQ(Reports(), (std::vector<int>{254}));
}

TEST_F(NumericEditTest, HoldsTheWholeIntRange)
{
    m_numeric.SetRange(0, 40000);
    m_numeric.SetPos(35000);
    EXPECT_EQ(Text(), L"35000");
    EXPECT_EQ(m_numeric.GetPos(), 35000);
    Click("up");
    EXPECT_EQ(Reports(), (std::vector<int>{35001}));
    m_numeric.SetRange(INT_MIN, INT_MAX);
    m_numeric.SetPos(INT_MAX);
    Click("up"); // held at the end
    EXPECT_EQ(m_numeric.GetPos(), INT_MAX);
    EXPECT_EQ(Reports(), (std::vector<int>{INT_MAX}));
}

TEST_F(NumericEditTest, EnterReportsTheClampedValueOnce)
{
    struct
    {
        int min, max;
        const char* typed; // after the box was emptied
        const wchar_t* shown;
        std::vector<int> reports;
    } const cases[] = {
        {1, 40, "999", L"40", {40}},
        {1, 40, "", L"1", {1}},          // empty reads as 0, below the range
        {-255, 255, "-", L"0", {0}},      // "-" alone is 0
        {-255, 255, "-17", L"-17", {-17}},
        {0, 40, "-5", L"5", {5}},         // no "-" without negative values
        {0, 40, "3a4", L"34", {34}},      // digits only
        {0, 40000, "35000", L"35000", {35000}}, // beyond 16 bits
    };
    for (const auto& c : cases) {
        m_numeric.SetRange(c.min, c.max);
        m_numeric.SetPos(c.min == 1 ? 7 : 8);
        m_numeric.GetEdit().SetWindowText(L"");
        Type(QString::fromLatin1(c.typed));
        Enter();
        EXPECT_EQ(Text(), c.shown) << c.typed;
        EXPECT_EQ(Reports(), c.reports) << c.typed;
        Enter();
        EXPECT_TRUE(Reports().empty()) << c.typed;
    }
}

TEST_F(NumericEditTest, UnreadableTextIsNormalisedAsEnterDoesIt)
{
    const struct
    {
        int min, max;
        const wchar_t* text; // set by the program, so the spin cannot read it
        const wchar_t* shown;
        int pos;
    } cases[] = {
        {1, 40, L"999", L"40", 40},
        {1, 40, L"", L"1", 1},
        {-255, 255, L"-", L"0", 0},
        {-900, 900, L"-5000", L"-900", -900},
    };
    for (const auto& c : cases) {
        m_numeric.SetRange(c.min, c.max);
        m_numeric.SetPos(c.min + 2);
        m_numeric.GetEdit().SetWindowText(c.text);
        EXPECT_EQ(m_numeric.GetPos(), c.pos) << c.text;
        EXPECT_EQ(Text(), c.shown) << c.text;
    }
    // A fresh control limits to its first range as well.
    CNumericEdit fresh;
    ASSERT_TRUE(fresh.Create(CRect(10, 40, 130, 58), &m_parent, kID + 1));
    fresh.GetEdit().SetWindowText(L"5000");
    EXPECT_EQ(fresh.GetPos(), 900);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(NumericEditTest, SetPosIsReportedByTheNextEnter)
{
    m_numeric.SetRange(1, 40);
    m_numeric.SetPos(5);
    EXPECT_TRUE(Reports().empty());
    Enter();
    EXPECT_EQ(Reports(), (std::vector<int>{5}));
    Enter();
    EXPECT_TRUE(Reports().empty());
}

TEST_F(NumericEditTest, LeavingTheBoxTakesTheValueOverSilently)
{
    m_numeric.SetRange(1, 40);
    m_numeric.GetEdit().SetWindowText(L"");
    Type("25");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(Box(), &out);
    EXPECT_TRUE(Reports().empty());
    Enter();
    EXPECT_TRUE(Reports().empty());
    Click("up");
    EXPECT_EQ(Reports(), (std::vector<int>{26}));
}

TEST_F(NumericEditTest, LabelUnitAndSpinShareTheWidth)
{
    // 120 pixels wide: the spin is 16 wide at the right, a unit takes 45 more.
    EXPECT_EQ(PlaceOf(m_numeric.GetEdit(), m_numeric), CRect(0, 0, 104, 18));
    m_numeric.SetLabel(L"Aperture:", 45);
    EXPECT_EQ(PlaceOf(m_numeric.GetEdit(), m_numeric), CRect(50, 0, 104, 18));
    m_numeric.SetUnit(L"samples");
    EXPECT_EQ(PlaceOf(m_numeric.GetEdit(), m_numeric), CRect(50, 0, 59, 18));
    EXPECT_EQ(PlaceOf(m_numeric.GetSpin(), m_numeric), CRect(59, 0, 75, 18));

    // A font sizes label and unit to their texts.
    m_numeric.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 1);
    const CRect edit = PlaceOf(m_numeric.GetEdit(), m_numeric);
    const CRect spin = PlaceOf(m_numeric.GetSpin(), m_numeric);
    EXPECT_GT(edit.left, 5);
    EXPECT_EQ(edit.right, spin.left);
    EXPECT_LT(spin.right, 120 - 5);
}

// Given a font first, as the panels do, label and unit keep the widths asked for unless their
// texts need more.
TEST_F(NumericEditTest, LabelAndUnitAreNeverNarrowerThanTheirTexts)
{
    m_numeric.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 1);
    const QFontMetrics metrics(m_numeric.GetEdit().GetWidget()->font());
    const int textWidth = metrics.horizontalAdvance(QStringLiteral("Aperture:"));
    struct
    {
        int nWidth;
        int nLabelWidth; // what the label takes
    } const cases[] = {{10, textWidth}, {textWidth, textWidth}, {textWidth + 7, textWidth + 7}};
    for (const auto& c : cases) {
        m_numeric.SetLabel(L"Aperture:", c.nWidth);
        EXPECT_EQ(PlaceOf(m_numeric.GetEdit(), m_numeric).left, c.nLabelWidth + 5) << c.nWidth;
    }
    m_numeric.SetUnit(L"samples and more");
    EXPECT_EQ(CutTexts(m_numeric), std::vector<std::string>());
}

TEST_F(NumericEditTest, ReturnAndEscapeInTheBoxLeaveADialogOpen)
{
    class CCountingDialog : public CDialog
    {
    public:
        CCountingDialog() : CDialog(IDD_TEXTDIALOG) {}
        int m_nEnded = 0;

    protected:
        void OnOK() override { ++m_nEnded; }
        void OnCancel() override { ++m_nEnded; }
    };
    AfxSetResourceSet(&GetQuarvelResources());
    CCountingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEXTDIALOG, &m_parent));
    CNumericEdit inDialog;
    ASSERT_TRUE(inDialog.Create(CRect(10, 10, 100, 28), &dialog, 218));
    QTest::keyClick(inDialog.GetEdit().GetWidget(), Qt::Key_Return);
    QTest::keyClick(inDialog.GetEdit().GetWidget(), Qt::Key_Escape);
    EXPECT_EQ(dialog.m_nEnded, 0);
    inDialog.DestroyWindow();
    dialog.DestroyWindow();
    AfxSetResourceSet(nullptr);
}
