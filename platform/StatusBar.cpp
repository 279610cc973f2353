#include "StatusBar.h"

#include "QtConvert.h"
#include "Resources.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <algorithm>

namespace {
// A pane as an update handler sees it.
class CStatusCmdUI : public CCmdUI
{
public:
    CStatusCmdUI(UINT nID, CStatusBar* pBar, int nIndex) : CCmdUI(nID), m_pBar(pBar), m_nIndex(nIndex) {}
    void Enable(bool bOn) override
    {
        CCmdUI::Enable(bOn);
        const UINT style = m_pBar->GetPaneStyle(m_nIndex);
        m_pBar->SetPaneStyle(m_nIndex, bOn ? style & ~SBPS_DISABLED : style | SBPS_DISABLED);
    }
    void SetText(const std::wstring& text) override { m_pBar->SetPaneText(m_nIndex, text); }

private:
    CStatusBar* m_pBar;
    int m_nIndex;
};

// Room for the pane's frame and the label's margins beside the text.
constexpr int kPaneMargin = 8;
} // namespace

QWidget* CStatusBar::CreateWidget(const CREATESTRUCT&, QWidget* pParentWidget)
{
    auto* bar = new QStatusBar(pParentWidget);
    bar->setObjectName(QStringLiteral("statusbar"));
    return bar;
}

bool CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !CWnd::Create(std::wstring(), dwStyle | WS_CHILD, CRect(), pParentWnd, nID))
        return false;
    auto* bar = static_cast<QStatusBar*>(GetWidget());
    // The main window shows the prompts of its menus and toolbar buttons in its status bar.
    if (auto* window = qobject_cast<QMainWindow*>(pParentWnd->GetWidget()))
        window->setStatusBar(bar);
    bar->setVisible((dwStyle & WS_VISIBLE) != 0);
    return true;
}

void CStatusBar::Clear()
{
    for (CPane& pane : m_panes)
        delete pane.pLabel;
    m_panes.clear();
}

bool CStatusBar::SetIndicators(const UINT* pIDArray, int nIDCount)
{
    auto* bar = static_cast<QStatusBar*>(GetWidget());
    if (!bar || nIDCount < 0 || (nIDCount > 0 && !pIDArray))
        return false;
    Clear();
    bool bAllFound = true;
    for (int i = 0; i < nIDCount; ++i) {
        const std::wstring text = AfxLoadString(pIDArray[i]);
        if (text.empty())
            bAllFound = false;
        auto* label = new QLabel(bar);
        label->setTextFormat(Qt::PlainText);
        bar->addWidget(label);
        m_panes.push_back({pIDArray[i], SBPS_NORMAL, QFontMetrics(label->font()).horizontalAdvance(ToQString(text)),
                           text, label});
        ApplyPane(m_panes.back());
    }
    return bAllFound;
}

void CStatusBar::ApplyPane(const CPane& pane) const
{
    const QString text = pane.nStyle & SBPS_DISABLED ? QString() : ToQString(pane.text);
    if (pane.pLabel->text() != text)
        pane.pLabel->setText(text);
    const int width = pane.cxText + kPaneMargin;
    if (pane.nStyle & SBPS_STRETCH) {
        pane.pLabel->setMinimumWidth(width);
        pane.pLabel->setMaximumWidth(QWIDGETSIZE_MAX);
    } else {
        pane.pLabel->setFixedWidth(width);
    }
}

int CStatusBar::CommandToIndex(UINT nID) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].nID == nID)
            return int(i);
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[size_t(nIndex)].nID : 0;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = nStyle = 0;
        cxWidth = 0;
        return;
    }
    const CPane& pane = m_panes[size_t(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    CPane& pane = m_panes[size_t(nIndex)];
    const bool bStretchChanged = ((pane.nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = std::max(cxWidth, 0);
    if (bStretchChanged) {
        // The bar takes a pane's stretch factor only as the pane is added, and a pane taken
        // out and put back in the middle hides the ones after it: all go in again in order.
        auto* bar = static_cast<QStatusBar*>(GetWidget());
        for (const CPane& other : m_panes)
            bar->removeWidget(other.pLabel);
        for (const CPane& other : m_panes) {
            bar->addWidget(other.pLabel, other.nStyle & SBPS_STRETCH ? 1 : 0);
            other.pLabel->show();
        }
    }
    ApplyPane(pane);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[size_t(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= GetCount() || m_panes[size_t(nIndex)].nStyle == nStyle)
        return;
    m_panes[size_t(nIndex)].nStyle = nStyle;
    ApplyPane(m_panes[size_t(nIndex)]);
}

bool CStatusBar::SetPaneText(int nIndex, const std::wstring& text, bool)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return false;
    CPane& pane = m_panes[size_t(nIndex)];
    if (pane.text != text) {
        pane.text = text;
        ApplyPane(pane);
    }
    return true;
}

std::wstring CStatusBar::GetPaneText(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[size_t(nIndex)].text : std::wstring();
}

bool CStatusBar::IsPaneShown(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() && !m_panes[size_t(nIndex)].pLabel->isHidden();
}

int CStatusBar::GetPaneWidth(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[size_t(nIndex)].pLabel->width() : 0;
}

std::wstring CStatusBar::GetMessageText() const
{
    const auto* bar = static_cast<const QStatusBar*>(GetWidget());
    return bar ? FromQString(bar->currentMessage()) : std::wstring();
}

void CStatusBar::OnUpdateCmdUI(CCmdTarget* pTarget, bool)
{
    // A pane without an update handler keeps its state.
    for (int i = 0; i < GetCount(); ++i) {
        CStatusCmdUI state(m_panes[size_t(i)].nID, this, i);
        state.DoUpdate(pTarget, false);
    }
}
