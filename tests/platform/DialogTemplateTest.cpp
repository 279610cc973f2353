// Dialog templates beyond the plain dialog: a sizing frame with its minimum tracking size,
// minimise and maximise boxes, hidden items, items made as the dialog's own objects, pages
// without caption, OK and Cancel that act only from their focused buttons, and the texts that
// do not fit their controls.

#include "Controls.h"
#include "CutTexts.h"
#include "Dialog.h"
#include "GuiTestSupport.h"
#include "Resources.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
constexpr UINT IDD_SIZED = 510;
constexpr UINT IDD_FIXED = 511;
constexpr UINT IDD_PAGE = 512;
constexpr UINT IDD_FOCUSED = 513;
constexpr UINT IDD_TEXTS = 514;
constexpr int IDC_HIDDEN = 1001;
constexpr int IDC_LIST = 1002;
constexpr int IDC_EDIT = 1003;
constexpr int IDC_PAGE_BUTTON = 1004;

const CResourceSet& TestResources()
{
    using K = TDialogControl;
    static const CResourceSet s_set{
        {},
        {},
        {{IDD_SIZED, L"Sized", 200, 100, L"MS Shell Dlg", 8,
          {{K::GroupBox, L"Hidden", IDC_HIDDEN, 4, 4, 80, 40, 0, WS_VISIBLE},
           {K::ComboBox, L"", IDC_LIST, 90, 4, 80, 60, CBS_DROPDOWNLIST | CBS_SORT},
           {K::DefPushButton, L"OK", IDOK, 90, 80, 40, 14}},
          WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
         {IDD_FIXED, L"Fixed", 100, 40, L"MS Shell Dlg", 8, {{K::DefPushButton, L"OK", IDOK, 4, 20, 30, 14}}},
         {IDD_PAGE, L"", 80, 40, L"MS Shell Dlg", 8,
          {{K::PushButton, L"Page", IDC_PAGE_BUTTON, 4, 4, 40, 14}}, WS_CHILD},
         {IDD_FOCUSED, L"Focused", 150, 60, L"MS Shell Dlg", 8,
          {{K::Edit, L"", IDC_EDIT, 4, 4, 60, 12, WS_BORDER | WS_TABSTOP},
           {K::DefPushButton, L"OK", IDOK, 40, 40, 40, 14},
           {K::PushButton, L"Cancel", IDCANCEL, 90, 40, 40, 14}}},
         // Ids 2xyy: x 1 where the text is cut, 0 where it fits.
         {IDD_TEXTS, L"Texts", 300, 200, L"MS Shell Dlg", 8,
          {{K::AutoRadioButton, L"X-Profiles", 2101, 4, 4, 40, 10, WS_GROUP},
           {K::AutoRadioButton, L"X-Profiles", 2001, 4, 16, 60, 10},
           {K::AutoCheckBox, L"Enable FIR filter", 2102, 4, 28, 67, 10},
           {K::AutoCheckBox, L"Enable FIR filter", 2002, 4, 40, 75, 10},
           {K::PushButton, L"Restore zero level", 2103, 4, 52, 50, 14},
           {K::PushButton, L"Restore zero level", 2003, 4, 68, 80, 14},
           {K::GroupBox, L"Drawing object options:", 2104, 100, 4, 60, 30},
           {K::GroupBox, L"Drawing object options:", 2004, 100, 40, 90, 30},
           {K::LText, L"Exponential", 2105, 100, 80, 30, 9},
           {K::LText, L"Use current units for all projects", 2106, 100, 92, 60, 9},
           {K::LText, L"Use current units for all projects", 2005, 100, 104, 60, 18},
           {K::RText, L"Exponential gain:", 2107, 100, 126, 40, 8},
           {K::RText, L"Exponential gain:", 2006, 100, 136, 70, 8},
           {K::CText, L"", 2007, 100, 146, 1, 1},
           {K::GroupBox, L"Bkgr Removal", 2008, 200, 4, 10, 10, 0, WS_VISIBLE}}}},
        {},
        {},
        {}};
    return s_set;
}

// A combo box class of a dialog's own.
class COwnCombo : public CComboBox
{
};

// Tells its minimum tracking size through a mapped handler and takes the combo as its own.
class CSizedDialog : public CDialog
{
public:
    CSizedDialog() : CDialog(IDD_SIZED)
    {
        MapMessage(WM_GETMINMAXINFO, [](WPARAM, LPARAM lParam) {
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = CPoint(120, 90);
            return LRESULT(0);
        });
    }
    void Attach(CWnd& control) { AttachDlgItem(IDC_LIST, control); }
};

// OK and Cancel as the dialogs that act on them only from their own buttons.
class CFocusedDialog : public CDialog
{
public:
    CFocusedDialog() : CDialog(IDD_FOCUSED) {}
    int m_nOK = 0;
    int m_nCancel = 0;
    bool m_bEndIgnored = false; // a modal run ends with 0 where the press is ignored

protected:
    void OnOK() override { Act(IDOK, m_nOK); }
    void OnCancel() override { Act(IDCANCEL, m_nCancel); }

private:
    void Act(int nButton, int& nCount)
    {
        if (HasFocus(nButton)) {
            ++nCount;
            EndDialog(nButton);
        } else if (m_bEndIgnored) {
            EndDialog(0);
        }
    }
};

// Shows icon 143 on its first button, as the dialogs with pop-up buttons do.
class CIconDialog : public CDialog
{
public:
    CIconDialog() : CDialog(IDD_FIXED) {}

protected:
    bool OnInitDialog() override
    {
        static_cast<CButton*>(GetDlgItem(IDOK))->SetIcon(AfxFindIcon(143));
        return true;
    }
};

class DialogTemplateTest : public testing::Test
{
protected:
    void SetUp() override { AfxSetResourceSet(&TestResources()); }
    void TearDown() override { AfxSetResourceSet(nullptr); }
};
} // namespace

TEST_F(DialogTemplateTest, SizingFrameTakesTheMinimumTrackingSize)
{
    struct
    {
        UINT nTemplate;
        QSize minimum;
        QSize maximum;
        bool bBoxes;
    } const cases[] = {
        {IDD_SIZED, QSize(120, 90), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), true},
        {IDD_FIXED, QSize(150, 65), QSize(150, 65), false},
    };
    for (const auto& c : cases) {
        CSizedDialog dialog; // its handler does not matter to a dialog without sizing frame
        ASSERT_TRUE(dialog.Create(c.nTemplate));
        const QWidget* widget = dialog.GetWidget();
        EXPECT_EQ(widget->minimumSize(), c.minimum) << c.nTemplate;
        EXPECT_EQ(widget->maximumSize(), c.maximum) << c.nTemplate;
        EXPECT_EQ(widget->windowFlags().testFlag(Qt::WindowMinimizeButtonHint), c.bBoxes);
        EXPECT_EQ(widget->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), c.bBoxes);
        EXPECT_FALSE(dialog.IsWindowVisible());
    }
}

TEST_F(DialogTemplateTest, HiddenItemsAndItemsOfTheDialogsOwnClass)
{
    COwnCombo combo;
    CSizedDialog dialog;
    dialog.Attach(combo);
    ASSERT_TRUE(dialog.Create(IDD_SIZED));
    dialog.ShowWindow(SW_SHOW);
    ASSERT_NE(dialog.GetDlgItem(IDC_HIDDEN), nullptr);
    EXPECT_FALSE(dialog.GetDlgItem(IDC_HIDDEN)->IsWindowVisible());
    EXPECT_TRUE(dialog.GetDlgItem(IDOK)->IsWindowVisible());
    // The item is the dialog's object, with the template's place and styles.
    EXPECT_EQ(dialog.GetDlgItem(IDC_LIST), &combo);
    EXPECT_TRUE(combo.IsWindowVisible());
    EXPECT_EQ(combo.GetStyle() & CBS_SORT, DWORD(CBS_SORT));
    CRect rect;
    combo.GetWindowRect(&rect);
    CPoint topLeft = rect.TopLeft();
    dialog.ScreenToClient(&topLeft);
    EXPECT_EQ(topLeft, CPoint(135, 7));
    dialog.DestroyWindow();
    EXPECT_EQ(combo.GetSafeHwnd(), nullptr);
    // And again on the next creation.
    ASSERT_TRUE(dialog.Create(IDD_SIZED));
    EXPECT_EQ(dialog.GetDlgItem(IDC_LIST), &combo);
    dialog.DestroyWindow();

    // An object of another class cannot stand for the item: the dialog is not made.
    CEdit edit;
    CSizedDialog wrong;
    wrong.Attach(edit);
    EXPECT_FALSE(wrong.Create(IDD_SIZED));
    EXPECT_EQ(wrong.GetSafeHwnd(), nullptr);
    EXPECT_EQ(wrong.DoModal(), -1);
}

TEST_F(DialogTemplateTest, PageIsAChildWithoutCaptionAndLeavesReturnToItsDialog)
{
    CFocusedDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_FOCUSED));
    dialog.ShowWindow(SW_SHOW);
    CDialog page(IDD_PAGE);
    ASSERT_TRUE(page.Create(IDD_PAGE, &dialog));
    EXPECT_FALSE(page.IsTopLevel());
    EXPECT_EQ(page.GetParent(), &dialog);
    EXPECT_FALSE(page.GetWidget()->isWindow());
    EXPECT_FALSE(page.IsWindowVisible()); // no WS_VISIBLE in its template
    EXPECT_EQ(page.GetWidget()->size(), QSize(120, 65));
    // A page can take any size its dialog gives it.
    page.MoveWindow(10, 10, 200, 100);
    EXPECT_EQ(page.GetWidget()->size(), QSize(200, 100));
    EXPECT_EQ(page.DoModal(), -1);

    page.ShowWindow(SW_SHOW);
    CWnd* pCancel = dialog.GetDlgItem(IDCANCEL);
    pCancel->SetFocus();
    QTest::keyClick(page.GetDlgItem(IDC_PAGE_BUTTON)->GetWidget(), Qt::Key_Escape);
    EXPECT_EQ(dialog.m_nCancel, 1);
    EXPECT_TRUE(page.GetSafeHwnd());
    dialog.DestroyWindow();
}

TEST_F(DialogTemplateTest, OkAndCancelActOnlyFromTheirFocusedButtons)
{
    enum TAction { CLICK_OK, CLICK_CANCEL, RETURN_KEY, ESCAPE_KEY, CLOSE_BOX };
    struct
    {
        int nFocus; // the control that holds the focus before
        TAction action;
        int nOK;
        int nCancel;
    } const cases[] = {
        {IDC_EDIT, CLICK_OK, 1, 0},     // a click gives the button the focus
        {IDC_EDIT, CLICK_CANCEL, 0, 1},
        {IDOK, RETURN_KEY, 1, 0},
        {IDCANCEL, RETURN_KEY, 0, 1},   // Return presses the focused button
        {IDC_EDIT, RETURN_KEY, 0, 0},   // stays with the edit box
        {IDCANCEL, ESCAPE_KEY, 0, 1},
        {IDOK, ESCAPE_KEY, 0, 0},
        {IDC_EDIT, ESCAPE_KEY, 0, 0},
        {IDCANCEL, CLOSE_BOX, 0, 1},
        {IDOK, CLOSE_BOX, 0, 0},
    };
    for (const auto& c : cases) {
        CFocusedDialog dialog;
        ASSERT_TRUE(dialog.Create(IDD_FOCUSED));
        dialog.ShowWindow(SW_SHOW);
        dialog.GetDlgItem(c.nFocus)->SetFocus();
        QWidget* focus = dialog.GetDlgItem(c.nFocus)->GetWidget();
        switch (c.action) {
        case CLICK_OK: QTest::mouseClick(dialog.GetDlgItem(IDOK)->GetWidget(), Qt::LeftButton); break;
        case CLICK_CANCEL: QTest::mouseClick(dialog.GetDlgItem(IDCANCEL)->GetWidget(), Qt::LeftButton); break;
        case RETURN_KEY: QTest::keyClick(focus, Qt::Key_Return); break;
        case ESCAPE_KEY: QTest::keyClick(focus, Qt::Key_Escape); break;
        case CLOSE_BOX: {
            QCloseEvent close;
            QCoreApplication::sendEvent(dialog.GetWidget(), &close);
            break;
        }
        }
        EXPECT_EQ(dialog.m_nOK, c.nOK) << c.nFocus << " " << int(c.action);
        EXPECT_EQ(dialog.m_nCancel, c.nCancel) << c.nFocus << " " << int(c.action);
        dialog.DestroyWindow();
    }
}

TEST_F(DialogTemplateTest, ScriptedAnswersReachFocusedButtonsAsTheUsersDo)
{
    struct
    {
        int nButton;
        CModalAnswer::TKind kind;
        INT_PTR result;
    } const cases[] = {
        {IDCANCEL, CModalAnswer::PRESS_BUTTON, IDCANCEL},
        {IDOK, CModalAnswer::PRESS_BUTTON, IDOK},
        {0, CModalAnswer::KEY_RETURN, IDOK}, // the default button holds the focus at first
    };
    for (const auto& c : cases) {
        CModalAnswer answer(c.nButton, c.kind);
        CFocusedDialog dialog;
        dialog.m_bEndIgnored = true;
        EXPECT_EQ(dialog.DoModal(), c.result) << c.nButton;
    }
}

// Each kind of text control whose text does not fit is listed once, by its id; texts that
// fit, a left-aligned text on as many lines as its height holds, an empty text and a hidden
// control are not.
TEST_F(DialogTemplateTest, CutTextsAreListedByTheirControls)
{
    CDialog dialog(IDD_TEXTS);
    ASSERT_TRUE(dialog.Create(IDD_TEXTS));
    std::vector<int> listed;
    for (const std::string& line : CutTexts(dialog))
        for (int nID = 2000; nID < 2200; ++nID)
            if (line.find(" " + std::to_string(nID) + " \"") != std::string::npos)
                listed.push_back(nID);
    EXPECT_EQ(listed, (std::vector<int>{2101, 2102, 2103, 2104, 2105, 2106, 2107}));
    dialog.DestroyWindow();
}

TEST_F(DialogTemplateTest, IconPushButtonShowsItsIcon)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("contrast.png"));
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(path));
    const std::string pathText = path.toStdString();
    CResourceSet resources = TestResources();
    resources.icons = {{143, pathText.c_str()}};
    AfxSetResourceSet(&resources);

    CIconDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_FIXED));
    auto* pButton = static_cast<CButton*>(dialog.GetDlgItem(IDOK));
    EXPECT_EQ(pButton->GetIcon(), AfxFindIcon(143));
    const auto* button = static_cast<const QAbstractButton*>(pButton->GetWidget());
    ASSERT_FALSE(button->icon().isNull());
    // As large as the 23-pixel button holds.
    EXPECT_EQ(button->iconSize(), QSize(16, 16));
    EXPECT_EQ(button->icon().pixmap(16, 16).toImage().pixel(8, 8), QColor(Qt::blue).rgb());
    pButton->SetIcon(nullptr);
    EXPECT_TRUE(button->icon().isNull());
    EXPECT_EQ(pButton->GetIcon(), nullptr);
    dialog.DestroyWindow();
}
