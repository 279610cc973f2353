#include "ToolBar.h"

#include "QtConvert.h"
#include "Resources.h"

#include "MessageLog.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QPixmap>
#include <QToolBar>

namespace {
// A button as an update handler sees it.
class CToolCmdUI : public CCmdUI
{
public:
    CToolCmdUI(UINT nID, QAction* pAction) : CCmdUI(nID), m_pAction(pAction) {}
    void Enable(bool bOn) override
    {
        CCmdUI::Enable(bOn);
        m_pAction->setEnabled(bOn);
    }
    void SetCheck(int nCheck) override
    {
        CCmdUI::SetCheck(nCheck);
        // A plain button shows the state pressed, as a check button does.
        if (nCheck && !m_pAction->isCheckable())
            m_pAction->setCheckable(true);
        m_pAction->setChecked(nCheck != 0);
    }

private:
    QAction* m_pAction;
};

// The prompt before the line feed of a command's string, and the tool tip after it.
std::wstring PromptPart(const std::wstring& text, bool bToolTip)
{
    const size_t lf = text.find(L'\n');
    if (bToolTip)
        return lf == std::wstring::npos ? std::wstring() : text.substr(lf + 1);
    return text.substr(0, lf);
}
} // namespace

QWidget* CToolBar::CreateWidget(const CREATESTRUCT&, QWidget* pParentWidget)
{
    auto* bar = new QToolBar(pParentWidget);
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    // Qt's own context menu would offer to hide the bar behind the View menu's back.
    bar->toggleViewAction()->setVisible(false);
    return bar;
}

bool CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !CWnd::Create(std::wstring(), dwStyle | WS_CHILD, CRect(), pParentWnd, nID))
        return false;
    auto* bar = static_cast<QToolBar*>(GetWidget());
    if (auto* window = qobject_cast<QMainWindow*>(pParentWnd->GetWidget()))
        window->addToolBar(Qt::TopToolBarArea, bar);
    bar->setVisible((dwStyle & WS_VISIBLE) != 0);
    return true;
}

void CToolBar::Clear()
{
    for (CButton& button : m_buttons)
        delete button.pAction;
    m_buttons.clear();
    if (auto* bar = static_cast<QToolBar*>(GetWidget()))
        bar->clear();
}

bool CToolBar::LoadToolBar(UINT nIDResource)
{
    auto* bar = static_cast<QToolBar*>(GetWidget());
    const CToolBarResource* resource = AfxFindToolBar(nIDResource);
    if (!bar || !resource || resource->cx <= 0 || resource->cy <= 0)
        return false;
    const QImage strip(QString::fromUtf8(resource->path));
    if (strip.isNull()) {
        g_messageLog.Log(LOG_ERROR, "CToolBar::LoadToolBar: no images for toolbar %u.", nIDResource);
        return false;
    }
    Clear();
    m_cxImage = resource->cx;
    m_cyImage = resource->cy;
    bar->setIconSize(QSize(m_cxImage, m_cyImage));
    int image = 0;
    for (UINT nID : resource->buttons) {
        if (nID == 0) {
            m_buttons.push_back({0, TBBS_SEPARATOR, bar->addSeparator(), QImage()});
            continue;
        }
        // A strip too short for its buttons leaves the last ones blank.
        QImage tile = strip.copy(image++ * m_cxImage, 0, m_cxImage, m_cyImage);
        QAction* action = bar->addAction(QIcon(QPixmap::fromImage(tile)), QString());
        const std::wstring text = AfxLoadString(nID);
        action->setToolTip(ToQString(PromptPart(text, true)));
        action->setStatusTip(ToQString(PromptPart(text, false)));
        action->setData(nID);
        QObject::connect(action, &QAction::triggered, action, [hBar = GetSafeHwnd(), nID] {
            if (auto* pBar = dynamic_cast<CToolBar*>(FromHandle(hBar)))
                pBar->PressButton(nID);
        });
        m_buttons.push_back({nID, TBBS_BUTTON, action, tile});
    }
    return true;
}

int CToolBar::CommandToIndex(UINT nID) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].nID == nID && !(m_buttons[i].nStyle & TBBS_SEPARATOR))
            return int(i);
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_buttons[size_t(nIndex)].nID : 0;
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_buttons[size_t(nIndex)].nStyle : 0;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= GetCount() || (m_buttons[size_t(nIndex)].nStyle & TBBS_SEPARATOR))
        return;
    CButton& button = m_buttons[size_t(nIndex)];
    button.nStyle = nStyle & ~TBBS_SEPARATOR;
    button.pAction->setCheckable((nStyle & TBBS_CHECKBOX) != 0);
}

bool CToolBar::SetButtonImage(int nIndex, HICON hIcon)
{
    if (!hIcon || nIndex < 0 || nIndex >= GetCount() || (m_buttons[size_t(nIndex)].nStyle & TBBS_SEPARATOR))
        return false;
    QImage image(QString::fromUtf8(hIcon->path));
    if (image.isNull())
        return false;
    if (image.width() != m_cxImage || image.height() != m_cyImage)
        image = image.scaled(m_cxImage, m_cyImage, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    CButton& button = m_buttons[size_t(nIndex)];
    if (button.image == image)
        return true;
    button.image = image;
    button.pAction->setIcon(QIcon(QPixmap::fromImage(image)));
    return true;
}

QImage CToolBar::GetButtonImage(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_buttons[size_t(nIndex)].image : QImage();
}

QAction* CToolBar::FindAction(UINT nID) const
{
    const int index = CommandToIndex(nID);
    return index < 0 ? nullptr : m_buttons[size_t(index)].pAction;
}

bool CToolBar::EnableButton(UINT nID, bool bEnable)
{
    QAction* action = FindAction(nID);
    if (action)
        action->setEnabled(bEnable);
    return action != nullptr;
}

bool CToolBar::CheckButton(UINT nID, bool bCheck)
{
    QAction* action = FindAction(nID);
    if (!action)
        return false;
    CToolCmdUI(nID, action).SetCheck(bCheck ? 1 : 0);
    return true;
}

bool CToolBar::IsButtonEnabled(UINT nID) const
{
    const QAction* action = FindAction(nID);
    return action && action->isEnabled();
}

bool CToolBar::IsButtonChecked(UINT nID) const
{
    const QAction* action = FindAction(nID);
    return action && action->isChecked();
}

std::wstring CToolBar::GetButtonToolTip(UINT nID) const
{
    const QAction* action = FindAction(nID);
    return action ? FromQString(action->toolTip()) : std::wstring();
}

std::wstring CToolBar::GetButtonStatusPrompt(UINT nID) const
{
    const QAction* action = FindAction(nID);
    return action ? FromQString(action->statusTip()) : std::wstring();
}

void CToolBar::PressButton(UINT nID)
{
    QAction* action = FindAction(nID);
    if (!action || !action->isEnabled())
        return;
    // The frame asks the command's update handler once more before it runs it.
    if (CWnd* pFrame = GetParent())
        pFrame->Dispatch(WM_COMMAND, MAKEWPARAM(int(nID), BN_CLICKED), 0);
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* pTarget, bool bDisableIfNoHndler)
{
    for (const CButton& button : m_buttons) {
        if (button.nStyle & TBBS_SEPARATOR)
            continue;
        CToolCmdUI state(button.nID, button.pAction);
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}
