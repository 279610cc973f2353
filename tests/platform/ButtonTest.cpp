// Check boxes and radio buttons: what a user's click does to each kind and whom it tells,
// groups by WS_GROUP, and changes by the program that tell nobody.

#include "Button.h"
#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// A shown window that records the clicks its buttons report.
class CClickLog : public CWnd
{
public:
    std::vector<int> m_clicked;

protected:
    bool OnCommand(WPARAM wParam, LPARAM) override
    {
        if (HIWORD(wParam) == BN_CLICKED)
            m_clicked.push_back(LOWORD(wParam));
        return true;
    }
};

class ButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.Create(L"buttons", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 1));
        // Two radio groups and two check boxes.
        const struct
        {
            int nID;
            DWORD style;
        } items[] = {{11, BS_AUTORADIOBUTTON | WS_GROUP}, {12, BS_AUTORADIOBUTTON}, {13, BS_AUTORADIOBUTTON},
                     {21, BS_AUTORADIOBUTTON | WS_GROUP}, {22, BS_RADIOBUTTON},     {31, BS_AUTOCHECKBOX | WS_GROUP},
                     {32, BS_CHECKBOX}};
        int y = 0;
        for (const auto& item : items) {
            auto& button = m_buttons.emplace_back(std::make_unique<CButton>());
            ASSERT_TRUE(button->Create(L"b", WS_CHILD | WS_VISIBLE | item.style, CRect(0, y, 100, y + 18), &m_parent,
                                       UINT(item.nID)));
            y += 20;
        }
    }

    CButton& Button(int nID) { return *dynamic_cast<CButton*>(m_parent.GetDlgItem(nID)); }
    // On the indicator: the rest of the row is no part of the button.
    void UserClick(int nID) { QTest::mouseClick(Button(nID).GetWidget(), Qt::LeftButton, {}, QPoint(6, 9)); }
    std::vector<int> Checked()
    {
        std::vector<int> checked;
        for (const auto& button : m_buttons)
            if (button->GetCheck() == BST_CHECKED)
                checked.push_back(button->GetDlgCtrlID());
        return checked;
    }

    CClickLog m_parent;
    std::vector<std::unique_ptr<CButton>> m_buttons;
};
} // namespace

TEST_F(ButtonTest, UserClicksChangeTheAutomaticKindsAndAlwaysNotify)
{
    const struct
    {
        int nClicked;
        std::vector<int> checked; // after the click
    } steps[] = {
        {12, {12}},
        {13, {13}},         // the group's other button is cleared
        {21, {13, 21}},     // another group keeps its own
        {13, {13, 21}},     // a checked radio button stays checked
        {22, {13, 21}},     // the plain kind leaves the state to its parent
        {31, {13, 21, 31}},
        {31, {13, 21}},     // an automatic check box toggles
        {32, {13, 21}},
    };
    std::vector<int> clicked;
    for (const auto& step : steps) {
        UserClick(step.nClicked);
        clicked.push_back(step.nClicked);
        EXPECT_EQ(Checked(), step.checked) << step.nClicked;
        EXPECT_EQ(m_parent.m_clicked, clicked) << step.nClicked;
    }
}

TEST_F(ButtonTest, ChangesByTheProgramTellNobody)
{
    Button(22).SetCheck(BST_CHECKED);
    Button(32).SetCheck(BST_CHECKED);
    m_parent.CheckRadioButton(11, 13, 12);
    EXPECT_EQ(Checked(), (std::vector<int>{12, 22, 32}));
    m_parent.CheckRadioButton(11, 13, 11);
    EXPECT_EQ(Checked(), (std::vector<int>{11, 22, 32}));
    // An id outside the range clears them all.
    m_parent.CheckRadioButton(11, 13, 99);
    EXPECT_EQ(Checked(), (std::vector<int>{22, 32}));
    EXPECT_TRUE(m_parent.m_clicked.empty());

    // A push button has no check state.
    CButton push;
    ASSERT_TRUE(push.Create(L"p", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 10, 10), &m_parent, 40));
    push.SetCheck(BST_CHECKED);
    EXPECT_EQ(push.GetCheck(), BST_UNCHECKED);
}

TEST_F(ButtonTest, PushLikeButtonsKeepTheStateOfTheirKind)
{
    // A push-like radio group: a click checks one and clears the other; a push-like check box
    // toggles.
    const struct
    {
        int nID;
        DWORD style;
    } items[] = {{41, BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_GROUP}, {42, BS_AUTORADIOBUTTON | BS_PUSHLIKE},
                 {51, BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_GROUP}};
    int y = 150;
    for (const auto& item : items) {
        auto& button = m_buttons.emplace_back(std::make_unique<CButton>());
        ASSERT_TRUE(button->Create(L"p", WS_CHILD | WS_VISIBLE | item.style, CRect(110, y, 200, y + 18), &m_parent,
                                   UINT(item.nID)));
        y += 20;
    }
    EXPECT_NE(qobject_cast<QPushButton*>(Button(41).GetWidget()), nullptr);
    const struct
    {
        int nClicked;
        std::vector<int> checked;
    } steps[] = {{41, {41}}, {42, {42}}, {42, {42}}, {51, {42, 51}}, {51, {42}}};
    for (const auto& step : steps) {
        UserClick(step.nClicked);
        EXPECT_EQ(Checked(), step.checked) << step.nClicked;
        EXPECT_TRUE(qobject_cast<QAbstractButton*>(Button(step.nClicked).GetWidget())->isChecked() ==
                    (Button(step.nClicked).GetCheck() == BST_CHECKED));
    }
    EXPECT_EQ(m_parent.m_clicked, (std::vector<int>{41, 42, 42, 51, 51}));
}
