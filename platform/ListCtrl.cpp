#include "ListCtrl.h"

#include "ImageList.h"
#include "QtConvert.h"
#include "WndHost.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>

namespace {
constexpr int kImageRole = Qt::UserRole; // the row's image index in a column

Qt::Alignment AlignmentOf(int nFormat)
{
    const int align = nFormat & 0x3;
    return (align == LVCFMT_CENTER ? Qt::AlignHCenter : align == LVCFMT_RIGHT ? Qt::AlignRight : Qt::AlignLeft) |
           Qt::AlignVCenter;
}
} // namespace

// Draws the images of the list's image list and never writes an edited label back.
class CListDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void InitOption(QStyleOptionViewItem* pOption, const QModelIndex& index) const { initStyleOption(pOption, index); }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

protected:
    void initStyleOption(QStyleOptionViewItem* pOption, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(pOption, index);
        const CListCtrl* pList = ControlOf<CListCtrl>(qobject_cast<const QWidget*>(parent()));
        if (!pList || !pList->m_pSmallImages || !index.data(kImageRole).isValid())
            return;
        if (index.column() > 0 && !(pList->m_dwExStyle & LVS_EX_SUBITEMIMAGES))
            return;
        if (const QImage* image = pList->m_pSmallImages->GetImage(index.data(kImageRole).toInt())) {
            pOption->icon = QIcon(QPixmap::fromImage(*image));
            pOption->decorationSize = image->size();
            pOption->features |= QStyleOptionViewItem::HasDecoration;
        }
    }
};

// The list view's widget. A press on a row's check box toggles it on release and leaves the
// selection alone. What one mouse or key event changes is reported once it is handled whole.
class CListWidget : public QTreeWidget
{
public:
    explicit CListWidget(QWidget* pParent) : QTreeWidget(pParent), m_pDelegate(new CListDelegate(this))
    {
        setItemDelegate(m_pDelegate);
    }
    bool Edit(const QModelIndex& index) { return edit(index, AllEditTriggers, nullptr); }
    bool InEvent() const { return m_nEventDepth > 0; }

protected:
    bool event(QEvent* pEvent) override { return Handle(pEvent, [&] { return QTreeWidget::event(pEvent); }); }
    bool viewportEvent(QEvent* pEvent) override
    {
        return Handle(pEvent, [&] { return QTreeWidget::viewportEvent(pEvent); });
    }
    void mousePressEvent(QMouseEvent* pEvent) override
    {
        m_nCheckRow = CheckBoxRowAt(pEvent);
        if (m_nCheckRow < 0)
            QTreeWidget::mousePressEvent(pEvent);
    }
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override
    {
        // The second click of a double click is one more click on the box.
        m_nCheckRow = CheckBoxRowAt(pEvent);
        if (m_nCheckRow < 0)
            QTreeWidget::mouseDoubleClickEvent(pEvent);
    }
    void mouseMoveEvent(QMouseEvent* pEvent) override
    {
        if (m_nCheckRow < 0)
            QTreeWidget::mouseMoveEvent(pEvent);
    }
    void mouseReleaseEvent(QMouseEvent* pEvent) override
    {
        const int row = m_nCheckRow;
        m_nCheckRow = -1;
        if (row < 0) {
            QTreeWidget::mouseReleaseEvent(pEvent);
            return;
        }
        if (CheckBoxRowAt(pEvent) == row)
            if (QTreeWidgetItem* item = topLevelItem(row))
                item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }

private:
    template <typename THandler>
    bool Handle(const QEvent* pEvent, THandler handler)
    {
        const QEvent::Type type = pEvent->type();
        ++m_nEventDepth;
        return HandleThenIfAlive(this, handler, [this, type] {
            if (--m_nEventDepth == 0 && type != QEvent::Paint)
                if (CListCtrl* pList = ControlOf<CListCtrl>(this))
                    pList->ReportUserChanges();
        });
    }

    int CheckBoxRowAt(const QMouseEvent* pEvent) const
    {
        if (pEvent->button() != Qt::LeftButton)
            return -1;
        const QPoint point = pEvent->position().toPoint();
        const QModelIndex index = indexAt(point);
        if (!index.isValid() || index.column() != 0 || !index.data(Qt::CheckStateRole).isValid())
            return -1;
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(index);
        m_pDelegate->InitOption(&option, index);
        const QRect box = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
        return box.contains(point) ? index.row() : -1;
    }

    CListDelegate* m_pDelegate;
    int m_nCheckRow = -1;
    int m_nEventDepth = 0;
};

class CListCtrl::CSilence
{
public:
    explicit CSilence(CListCtrl& list) : m_list(list) { ++m_list.m_nSilent; }
    ~CSilence()
    {
        if (--m_list.m_nSilent == 0)
            m_list.m_states = m_list.CurrentStates();
    }
    CSilence(const CSilence&) = delete;
    CSilence& operator=(const CSilence&) = delete;

private:
    CListCtrl& m_list;
};

QWidget* CListCtrl::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* list = new CListWidget(pParentWidget);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode((cs.style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                      : QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setFrameShape((cs.style & WS_BORDER) ? QFrame::Box : QFrame::StyledPanel);
    list->setColumnCount(0);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->header()->setVisible((cs.style & LVS_NOCOLUMNHEADER) == 0);
    auto report = [list] {
        if (CListCtrl* pList = ControlOf<CListCtrl>(list); pList && !list->InEvent())
            pList->ReportUserChanges();
    };
    QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, list, report);
    QObject::connect(list->selectionModel(), &QItemSelectionModel::currentChanged, list, report);
    QObject::connect(list, &QTreeWidget::itemChanged, list, report);
    return list;
}

CListWidget* CListCtrl::List() const
{
    return static_cast<CListWidget*>(GetWidget());
}

std::vector<UINT> CListCtrl::CurrentStates() const
{
    std::vector<UINT> states;
    const CListWidget* list = List();
    if (!list)
        return states;
    states.reserve(size_t(list->topLevelItemCount()));
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        states.push_back(GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK));
    return states;
}

void CListCtrl::ReportUserChanges()
{
    if (m_nSilent > 0)
        return;
    const HWND hSelf = GetSafeHwnd();
    // One row at a time against the states as taken now: a handler may change the list.
    for (;;) {
        const std::vector<UINT> now = CurrentStates();
        if (now.size() != m_states.size()) {
            m_states = now;
            return;
        }
        int row = -1;
        for (int pass = 0; pass < 2 && row < 0; ++pass)
            for (size_t i = 0; i < now.size() && row < 0; ++i) {
                const bool bLoses = (m_states[i] & ~now[i] & (LVIS_SELECTED | LVIS_FOCUSED)) != 0;
                if (now[i] != m_states[i] && (pass == 1 || bLoses))
                    row = int(i);
            }
        if (row < 0)
            return;
        NMLISTVIEW change;
        change.hdr.hwndFrom = hSelf;
        change.hdr.idFrom = UINT(GetDlgCtrlID());
        change.hdr.code = LVN_ITEMCHANGED;
        change.iItem = row;
        change.uOldState = m_states[size_t(row)];
        change.uNewState = now[size_t(row)];
        m_states[size_t(row)] = now[size_t(row)];
        CWnd* pParent = GetParent();
        if (!pParent)
            return;
        pParent->Dispatch(WM_NOTIFY, WPARAM(change.hdr.idFrom), reinterpret_cast<LPARAM>(&change));
        if (FromHandle(hSelf) != this)
            return;
    }
}

void CListCtrl::SetExtendedStyle(DWORD dwExStyle)
{
    CListWidget* list = List();
    if (!list)
        return;
    const CSilence silence(*this);
    m_dwExStyle = dwExStyle;
    const bool bChecks = (dwExStyle & LVS_EX_CHECKBOXES) != 0;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        if (bChecks && !item->data(0, Qt::CheckStateRole).isValid())
            item->setCheckState(0, Qt::Unchecked);
        else if (!bChecks)
            item->setData(0, Qt::CheckStateRole, QVariant());
    }
    list->viewport()->update();
}

int CListCtrl::InsertColumn(int nCol, const std::wstring& heading, int nFormat, int nWidth)
{
    CListWidget* list = List();
    const int count = int(m_formats.size());
    if (!list || nCol < 0)
        return -1;
    const CSilence silence(*this);
    nCol = std::min(nCol, count);
    if (count == 0)
        list->setColumnCount(1);
    else
        list->model()->insertColumn(nCol);
    m_formats.insert(m_formats.begin() + nCol, nFormat);
    QTreeWidgetItem* header = list->headerItem();
    header->setText(nCol, ToQString(heading));
    header->setTextAlignment(nCol, AlignmentOf(nFormat));
    if (nWidth >= 0)
        list->setColumnWidth(nCol, nWidth);
    return nCol;
}

bool CListCtrl::SetColumnWidth(int nCol, int cx)
{
    CListWidget* list = List();
    if (!list || nCol < 0 || nCol >= int(m_formats.size()))
        return false;
    if (cx != LVSCW_AUTOSIZE_USEHEADER) {
        list->setColumnWidth(nCol, std::max(0, cx));
        return true;
    }
    list->resizeColumnToContents(nCol);
    if (nCol == int(m_formats.size()) - 1) {
        int rest = list->contentsRect().width();
        if (list->verticalScrollBar()->isVisible())
            rest -= list->verticalScrollBar()->width();
        for (int col = 0; col < nCol; ++col)
            rest -= list->columnWidth(col);
        list->setColumnWidth(nCol, std::max(list->columnWidth(nCol), rest));
    }
    return true;
}

int CListCtrl::GetColumnWidth(int nCol) const
{
    const CListWidget* list = List();
    return list && nCol >= 0 && nCol < int(m_formats.size()) ? list->columnWidth(nCol) : 0;
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    if (nImageListType != LVSIL_SMALL)
        return nullptr;
    CImageList* pPrevious = m_pSmallImages;
    m_pSmallImages = pImageList;
    if (CListWidget* list = List())
        list->viewport()->update();
    return pPrevious;
}

CImageList* CListCtrl::GetImageList(int nImageListType) const
{
    return nImageListType == LVSIL_SMALL ? m_pSmallImages : nullptr;
}

int CListCtrl::InsertItem(int nItem, const std::wstring& text)
{
    CListWidget* list = List();
    if (!list || nItem < 0 || m_formats.empty())
        return -1;
    const CSilence silence(*this);
    nItem = std::min(nItem, list->topLevelItemCount());
    auto* item = new QTreeWidgetItem;
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
    for (size_t col = 0; col < m_formats.size(); ++col)
        item->setTextAlignment(int(col), AlignmentOf(m_formats[col]));
    item->setText(0, ToQString(text));
    if (m_dwExStyle & LVS_EX_CHECKBOXES)
        item->setCheckState(0, Qt::Unchecked);
    list->insertTopLevelItem(nItem, item);
    return nItem;
}

bool CListCtrl::DeleteItem(int nItem)
{
    CListWidget* list = List();
    if (!list || nItem < 0 || nItem >= list->topLevelItemCount())
        return false;
    const CSilence silence(*this);
    delete list->takeTopLevelItem(nItem);
    return true;
}

bool CListCtrl::DeleteAllItems()
{
    CListWidget* list = List();
    if (!list)
        return false;
    const CSilence silence(*this);
    list->clear();
    return true;
}

int CListCtrl::GetItemCount() const
{
    const CListWidget* list = List();
    return list ? list->topLevelItemCount() : 0;
}

bool CListCtrl::SetItemText(int nItem, int nSubItem, const std::wstring& text)
{
    CListWidget* list = List();
    QTreeWidgetItem* item = list ? list->topLevelItem(nItem) : nullptr;
    if (!item || nSubItem < 0 || nSubItem >= int(m_formats.size()))
        return false;
    const CSilence silence(*this);
    item->setText(nSubItem, ToQString(text));
    return true;
}

std::wstring CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    const CListWidget* list = List();
    const QTreeWidgetItem* item = list ? list->topLevelItem(nItem) : nullptr;
    return item && nSubItem >= 0 ? FromQString(item->text(nSubItem)) : std::wstring();
}

bool CListCtrl::SetItemImage(int nItem, int nSubItem, int nImage)
{
    CListWidget* list = List();
    QTreeWidgetItem* item = list ? list->topLevelItem(nItem) : nullptr;
    if (!item || nSubItem < 0 || nSubItem >= int(m_formats.size()))
        return false;
    const CSilence silence(*this);
    item->setData(nSubItem, kImageRole, nImage >= 0 ? QVariant(nImage) : QVariant());
    return true;
}

int CListCtrl::GetItemImage(int nItem, int nSubItem) const
{
    const CListWidget* list = List();
    const QTreeWidgetItem* item = list ? list->topLevelItem(nItem) : nullptr;
    const QVariant image = item && nSubItem >= 0 ? item->data(nSubItem, kImageRole) : QVariant();
    return image.isValid() ? image.toInt() : -1;
}

bool CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    CListWidget* list = List();
    if (!list || nItem < -1 || nItem >= list->topLevelItemCount())
        return false;
    const CSilence silence(*this);
    if (nItem == -1) {
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            SetItemState(row, nState, nMask);
        return true;
    }
    QTreeWidgetItem* item = list->topLevelItem(nItem);
    if (nMask & LVIS_SELECTED) {
        const bool bSelect = (nState & LVIS_SELECTED) != 0;
        // One selected row at most in a single-selection list.
        if (bSelect && list->selectionMode() == QAbstractItemView::SingleSelection)
            list->clearSelection();
        item->setSelected(bSelect);
    }
    if (nMask & LVIS_FOCUSED) {
        if (nState & LVIS_FOCUSED)
            list->selectionModel()->setCurrentIndex(list->model()->index(nItem, 0), QItemSelectionModel::NoUpdate);
        else if (list->currentItem() == item)
            list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    if ((nMask & LVIS_STATEIMAGEMASK) && (m_dwExStyle & LVS_EX_CHECKBOXES))
        item->setCheckState(0, (nState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2) ? Qt::Checked : Qt::Unchecked);
    return true;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const
{
    const CListWidget* list = List();
    const QTreeWidgetItem* item = list ? list->topLevelItem(nItem) : nullptr;
    if (!item)
        return 0;
    UINT state = 0;
    if (item->isSelected())
        state |= LVIS_SELECTED;
    if (list->currentItem() == item)
        state |= LVIS_FOCUSED;
    if (m_dwExStyle & LVS_EX_CHECKBOXES)
        state |= INDEXTOSTATEIMAGEMASK(item->checkState(0) == Qt::Checked ? 2 : 1);
    return state & nMask;
}

bool CListCtrl::SetCheck(int nItem, bool bCheck)
{
    return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(bCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
}

bool CListCtrl::GetCheck(int nItem) const
{
    return GetItemState(nItem, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const
{
    for (int row = std::max(nItem + 1, 0); row < GetItemCount(); ++row)
        if (!(nFlags & LVNI_SELECTED) || GetItemState(row, LVIS_SELECTED))
            return row;
    return -1;
}

UINT CListCtrl::GetSelectedCount() const
{
    UINT count = 0;
    for (int row = 0; row < GetItemCount(); ++row)
        if (GetItemState(row, LVIS_SELECTED))
            ++count;
    return count;
}

bool CListCtrl::EditLabel(int nItem)
{
    CListWidget* list = List();
    if (!list || nItem < 0 || nItem >= list->topLevelItemCount())
        return false;
    return list->Edit(list->model()->index(nItem, 0));
}
