// The drop-down list: sorted texts with the program's pointers, and a selection whose changes
// are reported only when the user makes them.

#include "ComboBox.h"
#include "GuiTestSupport.h"

#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// Records the combo box's notifications.
class CComboParent : public CWnd
{
public:
    CComboParent() { EXPECT_TRUE(Create(L"combo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 340, 240), nullptr, 1)); }
    bool OnCommand(WPARAM wParam, LPARAM) override
    {
        m_notes.push_back({LOWORD(wParam), HIWORD(wParam)});
        return true;
    }
    std::vector<std::pair<int, int>> m_notes; // id, code
};
} // namespace

TEST(ComboBoxTest, SortedListKeepsTextsAndPointers)
{
    CComboParent parent;
    CComboBox combo;
    ASSERT_TRUE(combo.Create(L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT, CRect(5, 5, 205, 30), &parent, 12));
    int values[3] = {};
    struct
    {
        const wchar_t* text;
        int index; // where it goes
    } const adds[] = {{L"SI units", 0}, {L"Imperial units", 0}, {L"imperial units", 1}, {L"Zone", 3}, {L"", 0}};
    for (size_t i = 0; i < std::size(adds); ++i) {
        EXPECT_EQ(combo.AddString(adds[i].text), adds[i].index) << i;
        if (i < 3)
            combo.SetItemDataPtr(adds[i].index, &values[i]);
    }
    const std::vector<std::wstring> order = {L"", L"Imperial units", L"imperial units", L"SI units", L"Zone"};
    ASSERT_EQ(combo.GetCount(), int(order.size()));
    for (int i = 0; i < combo.GetCount(); ++i)
        EXPECT_EQ(combo.GetLBText(i), order[size_t(i)]);
    // The pointers moved with their texts.
    EXPECT_EQ(combo.GetItemDataPtr(3), &values[0]);
    EXPECT_EQ(combo.GetItemDataPtr(1), &values[1]);
    EXPECT_EQ(combo.GetItemDataPtr(2), &values[2]);
    EXPECT_EQ(combo.GetItemDataPtr(4), nullptr);
    EXPECT_EQ(combo.GetItemDataPtr(9), nullptr);
    EXPECT_EQ(combo.GetLBText(-1), L"");
    EXPECT_EQ(combo.GetCurSel(), CB_ERR); // adding selects nothing

    CComboBox unsorted;
    ASSERT_TRUE(unsorted.Create(L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(5, 40, 205, 65), &parent, 13));
    unsorted.AddString(L"b");
    EXPECT_EQ(unsorted.AddString(L"a"), 1);
    EXPECT_TRUE(parent.m_notes.empty());
}

TEST(ComboBoxTest, OnlyTheUsersChoiceIsReported)
{
    CComboParent parent;
    CComboBox combo;
    ASSERT_TRUE(combo.Create(L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT, CRect(5, 5, 205, 30), &parent, 12));
    for (const wchar_t* text : {L"b", L"c", L"a"})
        combo.AddString(text);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    combo.AddString(L"0"); // before the selection: it moves with its item
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.SetCurSel(7), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.SetCurSel(2);
    EXPECT_TRUE(parent.m_notes.empty());

    QTest::keyClick(combo.GetWidget(), Qt::Key_Down);
    EXPECT_EQ(combo.GetCurSel(), 3);
    EXPECT_EQ(parent.m_notes, (std::vector<std::pair<int, int>>{{12, CBN_SELCHANGE}}));
}
