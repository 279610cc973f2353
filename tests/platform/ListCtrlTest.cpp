// The list view in report style: columns, check boxes, images, selection, in-place label edits,
// and LVN_ITEMCHANGED for what the user changes, never for what the program does.

#include "ListCtrl.h"
#include "GuiTestSupport.h"
#include "ImageList.h"
#include "WinApp.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {
struct CChange
{
    int item;
    UINT oldState;
    UINT newState;
    bool operator==(const CChange& o) const { return item == o.item && oldState == o.oldState && newState == o.newState; }
};

constexpr UINT UNCHECKED = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT CHECKED = INDEXTOSTATEIMAGEMASK(2);
constexpr UINT SEL_FOC = LVIS_SELECTED | LVIS_FOCUSED;

// Records the list's notifications and runs what the test asks on each.
class CListParent : public CWnd
{
public:
    CListParent()
    {
        MapMessage(WM_NOTIFY, [this](WPARAM wParam, LPARAM lParam) {
            const auto* pChange = reinterpret_cast<NMLISTVIEW*>(lParam);
            EXPECT_EQ(pChange->hdr.code, LVN_ITEMCHANGED);
            EXPECT_EQ(wParam, 170u);
            EXPECT_EQ(pChange->uChanged, UINT(LVIF_STATE));
            m_changes.push_back({pChange->iItem, pChange->uOldState, pChange->uNewState});
            if (m_onChange)
                m_onChange(*pChange);
            return LRESULT(0);
        });
        EXPECT_TRUE(Create(L"list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 440, 340), nullptr, 1));
    }
    std::vector<CChange> Take()
    {
        std::vector<CChange> changes;
        changes.swap(m_changes);
        return changes;
    }
    std::vector<CChange> m_changes;
    std::function<void(const NMLISTVIEW&)> m_onChange;
};

// A report list of three rows with check boxes, as the object list has it.
class ListCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_list.Create(L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS,
                                  CRect(5, 5, 305, 205), &m_parent, 170));
        m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES);
        m_list.InsertColumn(0, L"Visible", LVCFMT_CENTER, 43);
        m_list.InsertColumn(1, L"Color", LVCFMT_CENTER, 43);
        m_list.InsertColumn(2, L"Comment", LVCFMT_CENTER, 200);
        for (int i = 0; i < 3; ++i)
            m_list.InsertItem(i, L"");
    }
    QTreeWidget* Tree() { return static_cast<QTreeWidget*>(m_list.GetWidget()); }
    QPoint RowPoint(int row, int column = 2) { return Tree()->visualRect(Tree()->model()->index(row, column)).center(); }
    QPoint CheckBoxPoint(int row)
    {
        QStyleOptionViewItem option;
        option.initFrom(Tree());
        option.rect = Tree()->visualRect(Tree()->model()->index(row, 0));
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        // Left-aligned in the cell, whatever the text's alignment.
        const int size = Tree()->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, Tree());
        const QRect box = Tree()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, Tree());
        return box.isValid() ? box.center() : option.rect.topLeft() + QPoint(size / 2 + 2, option.rect.height() / 2);
    }

    CListParent m_parent;
    CListCtrl m_list;
};
} // namespace

TEST_F(ListCtrlTest, ProgramsChangesNotifyNobody)
{
    m_list.SetCheck(1);
    m_list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    m_list.InsertItem(0, L"new");
    m_list.DeleteItem(1); // the selected one
    m_list.SetItemText(1, 2, L"comment");
    EXPECT_TRUE(m_parent.Take().empty());

    ASSERT_EQ(m_list.GetItemCount(), 3);
    EXPECT_EQ(m_list.GetItemText(0, 0), L"new");
    EXPECT_EQ(m_list.GetItemText(1, 2), L"comment");
    EXPECT_TRUE(m_list.GetCheck(1));
    EXPECT_FALSE(m_list.GetCheck(0));
    EXPECT_EQ(m_list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), UINT(LVIS_FOCUSED));
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), -1);
    m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(m_list.GetNextItem(0, LVNI_SELECTED), 2);
    EXPECT_EQ(m_list.GetSelectedCount(), 2u);
    EXPECT_EQ(m_list.GetNextItem(0, LVNI_ALL), 1);
    EXPECT_TRUE(m_list.DeleteAllItems());
    EXPECT_EQ(m_list.GetItemCount(), 0);
    EXPECT_TRUE(m_parent.Take().empty());
}

TEST_F(ListCtrlTest, UsersClicksReportOldAndNewStatesRowByRow)
{
    m_parent.ShowWindow(SW_SHOW);
    QWidget* viewport = Tree()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, RowPoint(0));
    EXPECT_EQ(m_parent.Take(), (std::vector<CChange>{{0, UNCHECKED, UNCHECKED | SEL_FOC}}));
    // Another row: the row that loses its state first.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, RowPoint(2));
    EXPECT_EQ(m_parent.Take(),
              (std::vector<CChange>{{0, UNCHECKED | SEL_FOC, UNCHECKED}, {2, UNCHECKED, UNCHECKED | SEL_FOC}}));
    // Several rows with Ctrl.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, RowPoint(1));
    EXPECT_EQ(m_parent.Take(), (std::vector<CChange>{{2, UNCHECKED | SEL_FOC, UNCHECKED | LVIS_SELECTED},
                                                     {1, UNCHECKED, UNCHECKED | SEL_FOC}}));
    EXPECT_EQ(m_list.GetSelectedCount(), 2u);

    // The check box toggles and leaves the selection as it is.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, CheckBoxPoint(0));
    EXPECT_EQ(m_parent.Take(), (std::vector<CChange>{{0, UNCHECKED, CHECKED}}));
    EXPECT_TRUE(m_list.GetCheck(0));
    EXPECT_EQ(m_list.GetSelectedCount(), 2u);
}

TEST_F(ListCtrlTest, HandlerThatSetsTheBoxBackIsNotToldAgain)
{
    m_parent.ShowWindow(SW_SHOW);
    int calls = 0;
    m_parent.m_onChange = [this, &calls](const NMLISTVIEW& change) {
        ++calls;
        m_list.SetCheck(change.iItem, (change.uOldState & LVIS_STATEIMAGEMASK) == CHECKED);
    };
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, CheckBoxPoint(1));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(m_list.GetCheck(1));
    EXPECT_EQ(m_parent.Take(), (std::vector<CChange>{{1, UNCHECKED, CHECKED}}));
}

// The parent ends the list from the notification of a click: the widget goes once the click is
// over, and neither the rest of the click nor the deferred delete reads a freed object.
TEST_F(ListCtrlTest, ParentMayEndTheListFromItsNotification)
{
    m_parent.ShowWindow(SW_SHOW);
    for (const bool bDeleteObject : {false, true}) {
        SCOPED_TRACE(bDeleteObject ? "object deleted" : "window destroyed");
        auto pList = std::make_unique<CListCtrl>();
        ASSERT_TRUE(pList->Create(L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(5, 210, 205, 290), &m_parent, 170));
        pList->InsertColumn(0, L"Profile");
        pList->InsertItem(0, L"LINE1.rd3");
        auto* tree = static_cast<QTreeWidget*>(pList->GetWidget());
        const QPointer<QWidget> widget(tree);
        m_parent.m_onChange = [&](const NMLISTVIEW&) {
            if (bDeleteObject)
                pList.reset();
            else
                pList->DestroyWindow();
        };
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                          tree->visualRect(tree->model()->index(0, 0)).center());
        EXPECT_EQ(m_parent.Take().size(), 1u);
        EXPECT_TRUE(!pList || !pList->GetSafeHwnd());
        AfxFlushDeletedWindows();
        EXPECT_TRUE(widget.isNull());
        m_parent.m_onChange = nullptr;
    }
}

TEST_F(ListCtrlTest, SingleSelectionHiddenHeaderAndFilledLastColumn)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER,
                            CRect(5, 210, 205, 290), &m_parent, 1044));
    EXPECT_EQ(list.InsertItem(0, L"refused"), -1); // no column yet
    EXPECT_EQ(list.InsertColumn(0, L"Profile"), 0);
    EXPECT_TRUE(list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER));
    const auto* tree = static_cast<QTreeWidget*>(list.GetWidget());
    EXPECT_TRUE(tree->header()->isHidden());
    EXPECT_EQ(list.GetColumnWidth(0), tree->contentsRect().width());
    EXPECT_EQ(list.InsertItem(5, L"LINE1.rd3"), 0); // at the end
    EXPECT_EQ(list.InsertItem(1, L"LINE2.rd3"), 1);
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 1u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_FALSE(list.GetCheck(0)); // no check boxes
    EXPECT_EQ(list.GetItemState(0, LVIS_STATEIMAGEMASK), 0u);
}

TEST_F(ListCtrlTest, ImagesComeFromTheImageListAndEditedLabelsAreNotTakenOver)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 3, 5));
    CBitmap strip, tooSmall;
    strip.CreateBitmap(48, 16);
    strip.GetImage().fill(Qt::red);
    tooSmall.CreateBitmap(8, 16);
    EXPECT_EQ(images.Add(&strip), 0);
    EXPECT_EQ(images.GetImageCount(), 3);
    EXPECT_EQ(images.Add(&tooSmall), -1);
    EXPECT_EQ(images.GetImage(2)->pixel(5, 5), QColor(Qt::red).rgb());
    EXPECT_EQ(images.GetImage(3), nullptr);

    EXPECT_EQ(m_list.SetImageList(&images, LVSIL_SMALL), nullptr);
    EXPECT_EQ(m_list.GetImageList(LVSIL_SMALL), &images);
    EXPECT_TRUE(m_list.SetItemImage(1, 1, 2));
    EXPECT_EQ(m_list.GetItemImage(1, 1), 2);
    EXPECT_EQ(m_list.GetItemImage(1, 0), -1);
    m_parent.ShowWindow(SW_SHOW);
    // The swatch is drawn in the colour column.
    const QImage shot = Tree()->viewport()->grab().toImage();
    const QRect cell = Tree()->visualRect(Tree()->model()->index(1, 1));
    int red = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            red += shot.pixel(x, y) == QColor(Qt::red).rgb();
    EXPECT_GE(red, 16 * 16 / 2);
    EXPECT_EQ(m_list.SetImageList(nullptr, LVSIL_SMALL), &images);
    EXPECT_TRUE(images.Remove(-1));
    EXPECT_EQ(images.GetImageCount(), 0);

    m_list.SetItemText(0, 0, L"label");
    ASSERT_TRUE(m_list.EditLabel(0));
    auto* editor = Tree()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("typed"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(m_list.GetItemText(0, 0), L"label");
    EXPECT_TRUE(m_parent.Take().empty());
}
