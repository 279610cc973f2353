// Dialogs from templates: dialog units, their place, and what Return, Escape and the close
// box do.

#include "Dialog.h"
#include "GuiTestSupport.h"
#include "Resources.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
constexpr UINT IDD_TEST = 500;
constexpr int IDC_OTHER = 1001;

const CResourceSet& TestResources()
{
    static const CResourceSet s_set{{}, {}, {{IDD_TEST, L"Test", 100, 40, L"MS Shell Dlg", 8,
                                              {{TDialogControl::LText, L"Text", -1, 4, 4, 80, 9},
                                               {TDialogControl::PushButton, L"Other", IDC_OTHER, 4, 20, 30, 14},
                                               {TDialogControl::DefPushButton, L"OK", IDOK, 40, 20, 30, 14},
                                               {TDialogControl::PushButton, L"Cancel", IDCANCEL, 70, 20, 30, 14}}}},
                                    {}, {}, {}};
    return s_set;
}

class CTestDialog : public CDialog
{
public:
    explicit CTestDialog(CWnd* pParent = nullptr) : CDialog(IDD_TEST, pParent)
    {
        MapCommand(IDC_OTHER, [this] { EndDialog(IDC_OTHER); }, BN_CLICKED);
    }
};

class DialogTest : public testing::Test
{
protected:
    void SetUp() override { AfxSetResourceSet(&TestResources()); }
    void TearDown() override { AfxSetResourceSet(nullptr); }
};
} // namespace

TEST_F(DialogTest, DialogUnitsUseTheFixedBaseUnits)
{
    EXPECT_EQ(DialogUnitsToPixelsX(100), 150);
    EXPECT_EQ(DialogUnitsToPixelsY(40), 65);
    EXPECT_EQ(DialogUnitsToPixelsX(7), 11);
    EXPECT_EQ(DialogUnitsToPixelsY(8), 13);
    CTestDialog dialog;
    QSize size;
    CDialog::SetModalHook([&size](CDialog& d) {
        size = d.GetWidget()->size();
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    CDialog::SetModalHook(nullptr);
    EXPECT_EQ(size, QSize(150, 65));
}

TEST_F(DialogTest, ReturnEscapeAndCloseBoxTakeTheirButtons)
{
    struct Case
    {
        CModalAnswer::TKind kind;
        int button;
        INT_PTR expected;
    };
    const Case cases[] = {
        {CModalAnswer::PRESS_BUTTON, IDC_OTHER, IDC_OTHER},
        {CModalAnswer::PRESS_BUTTON, IDOK, IDOK},
        {CModalAnswer::KEY_RETURN, 0, IDOK},  // the default button
        {CModalAnswer::KEY_ESCAPE, 0, IDCANCEL},
        {CModalAnswer::CLOSE_BOX, 0, IDCANCEL},
    };
    for (const Case& c : cases) {
        CModalAnswer answer(c.button, c.kind);
        CTestDialog dialog;
        EXPECT_EQ(dialog.DoModal(), c.expected) << int(c.kind);
        EXPECT_EQ(answer.m_shown, std::vector<UINT>{IDD_TEST});
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    }
}

TEST_F(DialogTest, MissingTemplateFails)
{
    CDialog dialog(IDD_TEST + 1);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST_F(DialogTest, OpensCentredOverItsOwnerAndOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct
    {
        bool owner;
        QRect ownerRect;
        QPoint centre;
    } cases[] = {
        {true, QRect(300, 200, 400, 300), QPoint(500, 350)},
        {false, QRect(), screen.center()},
        // Over an owner at the bottom-right corner the dialog stays on the screen.
        {true, QRect(screen.right() - 99, screen.bottom() - 39, 100, 40),
         QPoint(screen.right() + 1 - 75, screen.bottom() + 1 - 33)},
    };
    for (const auto& c : cases) {
        CWnd owner;
        if (c.owner) {
            ASSERT_TRUE(owner.Create(L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 1));
            owner.GetWidget()->setGeometry(c.ownerRect);
        }
        CTestDialog dialog(c.owner ? &owner : nullptr);
        QRect placed;
        CDialog::SetModalHook([&placed](CDialog& d) {
            placed = d.GetWidget()->geometry();
            d.EndDialog(IDOK);
        });
        dialog.DoModal();
        CDialog::SetModalHook(nullptr);
        EXPECT_EQ(placed.size(), QSize(150, 65));
        EXPECT_LE(std::abs(placed.center().x() - c.centre.x()), 1) << placed.x() << "," << placed.y();
        EXPECT_LE(std::abs(placed.center().y() - c.centre.y()), 1) << placed.x() << "," << placed.y();
    }
}
